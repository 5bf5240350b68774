// tovask-datadir DIR: the game with DIR in place of its compiled-in data folder,
// so that tests can hide a file from a copy of the data. The game itself takes
// no arguments; this entry exists only in the test build.
#include <cstdio>
#include <cstring>

#include "DataLocator.h"

int gameMain(int argc, char** argv);  // the game's main, renamed for this build

int main(int argc, char** argv) {
    constexpr const char* USAGE =
        "usage: tovask-datadir DATA_DIR\n"
        "The game, with DATA_DIR as its data folder (a test program).\n";
    const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
    if (help || argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
        std::fputs(USAGE, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    developmentDataDir = argv[1];
    return gameMain(1, argv);
}
