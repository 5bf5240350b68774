// Command line of tovask-sim: --map INDEX --seconds N --seed S [--stress].
#pragma once

struct SimOptions {
    int map = 0;          // index into the settings' map list
    int seconds = 0;      // game seconds to run, 1 to 3600
    unsigned seed = 0;    // for srand
    bool stress = false;  // every creature fires the fragmenting weapon constantly
};

// False, with a message on stderr, for a missing, repeated-but-bad, unknown
// or out-of-range argument.
bool parseSimOptions(int argc, char** argv, SimOptions& options);
