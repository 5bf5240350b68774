// Command line of tovask-sim: --map INDEX --seconds N --seed S [--stress]
// [--character INDEX] [--skin INDEX] [--fill OBJECTS] [--report-every SECONDS] [--data DIR],
// or --help.
#include "SimOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "World.h"

namespace {

constexpr long MAX_SECONDS = 3600;  // an hour of game time is plenty for any figure
// The locator builds "<dir>/" in a 200-character buffer and appends a folder
// and a name; a longer folder would be cut short and find nothing useful.
constexpr size_t MAX_DATA_DIR = 150;

// The whole text must be a decimal number within [low, high].
bool parseNumber(const char* text, long low, long high, long& value) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = static_cast<long>(parsed);
    return true;
}

}  // namespace

void printSimUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: tovask-sim --map INDEX --seconds N --seed S [--stress]\n"
                 "                  [--character INDEX] [--skin INDEX] [--fill OBJECTS]\n"
                 "                  [--report-every SECONDS] [--data DIR]\n"
                 "       tovask-sim --help\n"
                 "Runs a fight with every creature computer-driven and nothing drawn, and\n"
                 "prints its figures as one JSON line. Indices count from 0.\n"
                 "  --map INDEX            the map, by its place in the list \"maps\"\n"
                 "  --seconds N            game seconds to run, 1 to %ld\n"
                 "  --seed S               seeds the random numbers: the same map, seed and\n"
                 "                         player give the same fight\n"
                 "  --character INDEX      the player's character, by its place in the list\n"
                 "                         \"chars\" (default 0)\n"
                 "  --skin INDEX           the player's skin (default 0)\n"
                 "  --stress               every creature fires the splintering shell nonstop\n"
                 "  --fill OBJECTS         keep at least this many objects in the world, up to %d\n"
                 "  --report-every SECONDS a soak line every SECONDS game seconds\n"
                 "  --data DIR             look in DIR instead of the game's data folder\n",
                 MAX_SECONDS, World::MAX_OBJECTS);
}

bool parseSimOptions(int argc, char** argv, SimOptions& options) {
    bool haveMap = false, haveSeconds = false, haveSeed = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--stress") == 0) {
            options.stress = true;
            continue;
        }
        if (std::strcmp(arg, "--help") == 0) {
            options.help = true;
            return true;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long number = 0;
        if (std::strcmp(arg, "--map") == 0 && parseNumber(value, 0, 1000000, number)) {
            options.map = static_cast<int>(number);
            haveMap = true;
        } else if (std::strcmp(arg, "--seconds") == 0 &&
                   parseNumber(value, 1, MAX_SECONDS, number)) {
            options.seconds = static_cast<int>(number);
            haveSeconds = true;
        } else if (std::strcmp(arg, "--seed") == 0 && parseNumber(value, 0, 4294967295L, number)) {
            options.seed = static_cast<unsigned>(number);
            haveSeed = true;
        } else if (std::strcmp(arg, "--character") == 0 && parseNumber(value, 0, 1000000, number)) {
            options.character = static_cast<int>(number);
        } else if (std::strcmp(arg, "--skin") == 0 && parseNumber(value, 0, 1000000, number)) {
            options.skin = static_cast<int>(number);
        } else if (std::strcmp(arg, "--fill") == 0 &&
                   parseNumber(value, 0, World::MAX_OBJECTS, number)) {
            options.fill = static_cast<int>(number);
        } else if (std::strcmp(arg, "--report-every") == 0 &&
                   parseNumber(value, 1, MAX_SECONDS, number)) {
            options.reportEvery = static_cast<int>(number);
        } else if (std::strcmp(arg, "--data") == 0 && value != nullptr && *value != '\0' &&
                   std::strlen(value) < MAX_DATA_DIR) {
            options.dataDir = value;
        } else {
            std::fprintf(stderr, "tovask-sim: unknown argument or bad value: %s %s\n", arg,
                         value ? value : "");
            printSimUsage(stderr);
            return false;
        }
        ++i;
    }
    if (!haveMap || !haveSeconds || !haveSeed) {
        printSimUsage(stderr);
        return false;
    }
    return true;
}
