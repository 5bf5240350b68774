// Finds data files under three base directories and seven data folders.
#pragma once

#include <string>
#include <vector>

// Name buffers hold at least this many characters; names and paths are at most 254 long.
constexpr int DATA_NAME_SIZE = 256;

// Tried in this order inside every base; the backslash is the data files'
// separator and becomes '/' on this platform.
constexpr const char* DATA_FOLDERS[] = {"",       "textures\\", "models\\", "sound\\",
                                        "maps\\", "scenes\\",   "cfg\\"};

// The third base directory: the data folder found beside the executable at
// start-up, else the compiled-in one (startingDataDir). Tests and tools point
// it elsewhere to see the game without its data; a folder longer than 198
// characters is not searched.
extern const char* developmentDataDir;

// name: a writable buffer of DATA_NAME_SIZE holding the bare file name. On
// success it receives the path found and the result is true; otherwise it is
// unchanged and, when complain is set, "Unable to locate file %s\n" goes to stderr.
bool locateDataFile(char* name, bool complain);
// One base directory, all folders in order; same contract without the message.
bool findInBase(char* name, const char* base);

// The bases locateDataFile searches, in its order: the working directory (""),
// "/.tovask/" and "<developmentDataDir>/", the last left out when it does not
// fit the locator's buffer of 200 (cut short, it could name another folder).
std::vector<std::string> dataBases();
// The path findInBase tries for name in one base and data folder, with '/'
// for '\\'; "" when it would not fit a name buffer.
std::string dataPath(const std::string& base, const char* folder, const std::string& name);
