// Command line of tovask-sim: --map INDEX --seconds N --seed S [--stress]
// [--character INDEX] [--skin INDEX] [--fill OBJECTS] [--report-every SECONDS] [--data DIR],
// or --help.
#pragma once

#include <cstdio>

struct SimOptions {
    int map = 0;        // index into the settings' map list
    int seconds = 0;    // game seconds to run, 1 to 3600
    unsigned seed = 0;  // for srand
    int character = 0;  // the player's character and skin, as picked in the menu
    int skin = 0;
    bool stress = false;            // every creature fires the fragmenting weapon constantly
    int fill = 0;                   // keep at least this many objects in the world (0: off)
    int reportEvery = 0;            // game seconds between soak lines (0: none)
    const char* dataDir = nullptr;  // replaces the compiled-in data folder; null: keep it
    bool help = false;              // --help: print the usage and run nothing
};

// False, with a message on stderr, for a missing, repeated-but-bad, unknown
// or out-of-range argument. True with help set when --help is among them.
bool parseSimOptions(int argc, char** argv, SimOptions& options);
// Every option with what it does.
void printSimUsage(std::FILE* out);
