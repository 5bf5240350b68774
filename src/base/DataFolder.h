// Where the game's data folder lies: beside the running executable, else the compiled-in one.
#pragma once

// Folders where the data may lie relative to the folder of the executable,
// tried in this order: the build tree (build/tovask beside build/data), the
// Debian games layout (games/tovask, share/games/tovask) and the plain
// install layout (bin/tovask, share/tovask). One build thus runs from its
// build tree, from any install prefix and from a copy unpacked anywhere.
constexpr const char* DATA_DIRS_BESIDE_EXECUTABLE[] = {"data", "../share/games/tovask",
                                                       "../share/tovask"};

// Longest data folder path: the locator builds "<folder>/" in a buffer of 200.
constexpr int DATA_DIR_MAX_LENGTH = 198;

// exePath: an absolute path of an executable. Writes into out (outSize
// characters) the first folder of DATA_DIRS_BESIDE_EXECUTABLE that exists, as
// an absolute path without "." or ".." parts, and returns true. Folders whose
// path would be longer than DATA_DIR_MAX_LENGTH or outSize - 1 are skipped;
// false when none is left.
bool findDataDirBeside(const char* exePath, char* out, int outSize);

// The folder the running game takes its data from when no other base has a
// file: the one found beside the executable (through /proc/self/exe, else
// argv[0]), else compiledIn. The result lives as long as the process.
const char* startingDataDir(const char* compiledIn);
