// A scratch working folder and an empty third data base, so only the files a
// test or a fuzz input writes are found.
#pragma once

#include "TestFiles.h"

class ScratchData {
public:
    ScratchData();   // switches into work and points the locator's third base at dev
    ~ScratchData();  // restores both

    TempDir work;
    TempDir dev;

private:
    ScopedWorkingDir cwd_{work.path()};
    const char* savedDataDir_;
};
