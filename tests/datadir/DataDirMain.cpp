// tovask-datadir DIR: the game with DIR in place of its compiled-in data folder,
// so that tests can hide a file from a copy of the data. The game itself takes
// no arguments; this entry exists only in the test build.
#include <cstdio>

#include "DataLocator.h"

int gameMain(int argc, char** argv);  // the game's main, renamed for this build

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: tovask-datadir DATA_DIR\n");
        return 2;
    }
    developmentDataDir = argv[1];
    return gameMain(1, argv);
}
