// tovask-sim: runs a fight between computer-driven creatures for a number of game
// seconds without drawing and prints its figures as one JSON line on stdout,
// after the soak lines when they are asked for. Its GL context is off-screen
// (Mesa's OSMesa, linked): no display, no window system, no SDL video.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "CharacterModelSet.h"
#include "Creature.h"
#include "DataLocator.h"
#include "FightObserver.h"
#include "ModelStore.h"
#include "OffscreenGl.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "SimFight.h"
#include "SimOptions.h"
#include "TextureStore.h"

namespace {

// Pixels either way; the fight's models build GL lists and textures, nothing is
// drawn. The aspect of the game's camera comes from it.
constexpr int FRAME_SIZE = 64;

// The game talks on stdout; the JSON line must be the only thing there. The
// game's lines go to a scratch file, where the deaths and revivals are counted.
struct ConsoleCapture {
    FILE* json = nullptr;
    FILE* log = nullptr;

    bool begin() {
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        log = std::tmpfile();
        if (saved < 0 || log == nullptr) return false;
        json = fdopen(saved, "w");
        return json != nullptr && dup2(fileno(log), STDOUT_FILENO) >= 0;
    }

    int countLines(const char* line) {
        std::fflush(stdout);
        std::rewind(log);
        char buffer[512];
        int count = 0;
        while (std::fgets(buffer, sizeof buffer, log))
            if (std::strcmp(buffer, line) == 0) ++count;
        return count;
    }
};

// Resident set size in KiB: the second field of /proc/self/statm, in pages.
long residentKiB() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return -1;
    long sizePages = 0, residentPages = 0;
    const bool read = std::fscanf(statm, "%ld %ld", &sizePages, &residentPages) == 2;
    std::fclose(statm);
    return read ? residentPages * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// One soak line: game seconds, resident memory, both caches and the object table.
void printSoakLine(FILE* out, int gameSeconds, const SimFight& fight) {
    std::fprintf(out, "soak %5d s  rss %7ld KiB  models %3d  textures %3d  objects %4d\n",
                 gameSeconds, residentKiB(), modelStore.count(), textureStore.count(),
                 fight.objectCount);
    std::fflush(out);
}

// A JSON string: quotes, backslashes and control characters escaped.
void printJsonString(FILE* out, const char* text) {
    std::fputc('"', out);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '"' || *p == '\\')
            std::fprintf(out, "\\%c", *p);
        else if (*p < 0x20)
            std::fprintf(out, "\\u%04x", *p);
        else
            std::fputc(*p, out);
    }
    std::fputc('"', out);
}

// The look the player's creature got: its character by index and name, and its skin.
void printPlayerLook(FILE* out, const Creature* player) {
    const CharacterModelSet* look = player ? player->characterModels.get() : nullptr;
    if (look == nullptr) {
        std::fprintf(out, ",\"character\":null,\"characterName\":null,\"skin\":null");
        return;
    }
    std::fprintf(out, ",\"character\":%d,\"characterName\":", look->characterIndex);
    printJsonString(out, look->character.name);
    std::fprintf(out, ",\"skin\":%d", look->skinIndex);
}

void printJson(FILE* out, const SimOptions& options, double wallSeconds, const FightTally& t,
               int deaths, int revives, const Creature* player) {
    std::fprintf(out,
                 "{\"map\":%d,\"seed\":%u,\"gameSeconds\":%d,\"wallSeconds\":%.3f,"
                 "\"creatureUpdates\":%lld,\"projectileUpdates\":%lld,\"shots\":%lld,"
                 "\"hits\":%lld,\"deaths\":%d,\"revives\":%d,\"kills\":[",
                 options.map, options.seed, options.seconds, wallSeconds,
                 static_cast<long long>(t.creatureUpdates),
                 static_cast<long long>(t.projectileUpdates), static_cast<long long>(t.shots),
                 static_cast<long long>(t.hits), deaths, revives);
    for (size_t i = 0; i < t.kills.size(); ++i) std::fprintf(out, "%s%d", i ? "," : "", t.kills[i]);
    std::fprintf(out, "],\"maxObjects\":%d", t.maxObjects);
    printPlayerLook(out, player);
    std::fprintf(out, "}\n");
    std::fflush(out);
}

int run(const SimOptions& options, ConsoleCapture& console) {
    if (options.dataDir != nullptr) developmentDataDir = options.dataDir;
    settings.load();
    if (options.map >= settings.mapCount) {
        std::fprintf(stderr, "tovask-sim: no map %d (there are %d)\n", options.map,
                     settings.mapCount);
        return 4;  // a choice the menu could not make, like a character or skin
    }
    settings.mapIndex = options.map;
    // Checked by the fight's load like a menu selection.
    settings.characterIndex = options.character;
    settings.skinIndex = options.skin;
    const std::unique_ptr<OffscreenGl> gl = OffscreenGl::create(FRAME_SIZE, FRAME_SIZE);
    if (!gl) return 3;
    screenWidth = FRAME_SIZE;
    screenHeight = FRAME_SIZE;

    int status = 0;
    {
        srand(options.seed);
        SimFight fight;
        if (!fight.load()) {
            std::fprintf(stderr, "tovask-sim: the fight did not load\n");
            status = 4;
        } else {
            fight.takeOver(options.stress);
            fight.setFill(options.fill);
            const auto start = std::chrono::steady_clock::now();
            if (options.reportEvery > 0) printSoakLine(console.json, 0, fight);
            for (int ms = 1; ms <= options.seconds * 1000; ++ms) {
                fight.step();
                if (options.reportEvery > 0 && ms % (options.reportEvery * 1000) == 0)
                    printSoakLine(console.json, ms / 1000, fight);
            }
            const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
            const FightTally tally = fight.observer()->tally();
            printJson(console.json, options, wall.count(), tally,
                      console.countLines("Pelmo died\n"), console.countLines("Pelmo revived\n"),
                      fight.view.target);
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    if (!parseSimOptions(argc, argv, options)) return 2;
    if (options.help) {
        printSimUsage(stdout);
        return 0;
    }
    ConsoleCapture console;
    if (!console.begin()) {
        std::fprintf(stderr, "tovask-sim: cannot set the console aside\n");
        return 1;
    }
    return run(options, console);
}
