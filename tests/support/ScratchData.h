// A scratch working folder and an empty third data base, so only the files a
// test writes are found; and capture of what a call prints.
#pragma once

#include <gtest/gtest.h>

#include <string>

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

struct Output {
    std::string out, err;
};

// Runs call with stdout and stderr captured.
template <typename Call>
Output captureOutput(Call call) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    call();
    Output o;
    o.err = ::testing::internal::GetCapturedStderr();
    o.out = ::testing::internal::GetCapturedStdout();
    return o;
}
