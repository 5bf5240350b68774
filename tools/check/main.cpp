// tovask-check [--json] [DATA_FOLDER]: every problem of a data folder, found the way the game reads
// it.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ContentChecks.h"
#include "DataFolder.h"
#include "DataLocator.h"
#include "GameAdapters.h"
#include "MeshPrinter.h"  // jsonString

namespace {

void usage(FILE* out) {
    std::fputs(
        "usage: tovask-check [--json] [DATA_FOLDER]\n"
        "Reads the game's data as the game does, without a window, and reports every\n"
        "problem, one line each: FILE[:LINE]: error|warning: message. DATA_FOLDER\n"
        "takes the place of the game's own data folder, searched after the working\n"
        "directory and /.tovask/ as the game searches. --json prints one JSON object\n"
        "per line. Exit status 0 without errors, 1 with errors, 2 for bad usage.\n",
        out);
}

std::string jsonList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + jsonString(items[i]);
    return out + "]";
}

std::string textList(const std::vector<std::string>& items, const char* joint) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? joint : "") + items[i];
    return out;
}

void check(CheckContext& ctx, std::string& charactersList) {
    checkSettingsFile(ctx);
    std::vector<CharacterInfo> characters;
    std::vector<std::string> paths;
    std::vector<DisplayName> names;
    const ContentList chars = checkList(ctx, "chars", "character");
    for (const std::string& path : chars.files) {
        CharacterInfo c;
        DisplayName shown;
        if (!checkCharacter(ctx, path, c, shown)) continue;
        characters.push_back(c);
        paths.push_back(path);
        names.push_back(shown);
    }
    checkNamesDiffer(ctx, paths, names, "character");
    charactersList = chars.path;
    if (chars.names > 0 && characters.empty())
        ctx.findings.error(chars.path, 0,
                           "none of its character files is usable: the game stops at start-up");
    std::vector<MapInfo> maps;
    bool anySky = false;
    const ContentList mapList = checkList(ctx, "maps", "map");
    paths.clear();
    names.clear();
    for (const std::string& path : mapList.files) {
        MapInfo m;
        DisplayName shown;
        if (!checkMap(ctx, path, m, shown)) continue;
        maps.push_back(m);
        paths.push_back(path);
        names.push_back(shown);
        anySky = anySky || std::string(m.skyTexture) != "nosky";
    }
    checkNamesDiffer(ctx, paths, names, "map");
    if (mapList.names > 0 && maps.empty())
        ctx.findings.error(mapList.path, 0,
                           "none of its map files can be read: the game stops at start-up");
    checkProgramFiles(ctx, anySky);
    checkFightTables(ctx, characters, maps, charactersList);
}

}  // namespace

int main(int argc, char** argv) {
    bool json = false, options = true;
    std::vector<const char*> folders;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (options && std::strcmp(a, "--") == 0) {
            options = false;
        } else if (options && std::strcmp(a, "--json") == 0) {
            json = true;
        } else if (options && (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0)) {
            usage(stdout);
            return 0;
        } else if (options && a[0] == '-' && a[1] != '\0') {
            std::fprintf(stderr, "tovask-check: unknown option %s\n", a);
            usage(stderr);
            return 2;
        } else {
            folders.push_back(a);
        }
    }
    if (folders.size() > 1) {
        std::fputs("tovask-check: one data folder at most\n", stderr);
        usage(stderr);
        return 2;
    }
    useGameDataFolder();
    if (!folders.empty()) {
        struct stat info;
        if (stat(folders[0], &info) != 0 || !S_ISDIR(info.st_mode)) {
            std::fprintf(stderr, "tovask-check: %s is not a folder\n", folders[0]);
            return 2;
        }
        if (std::strlen(folders[0]) > size_t(DATA_DIR_MAX_LENGTH)) {
            std::fprintf(stderr,
                         "tovask-check: the game takes data folders of at most %d "
                         "characters\n",
                         DATA_DIR_MAX_LENGTH);
            return 2;
        }
        useDataFolder(folders[0]);
    }

    DataSearch search;
    Findings findings;
    TextureCatalog textures(findings, search);
    ModelCatalog models(findings, search, textures);
    CheckContext ctx{findings, search, textures, models};
    const std::vector<std::string> bases = search.baseNames();
    if (json)
        std::printf("{\"searched\":%s}\n", jsonList(bases).c_str());
    else
        std::printf(
            "tovask-check: reading the data as the game does, from %s (each with its "
            "folders textures/ models/ sound/ maps/ scenes/ cfg/)\n",
            textList(bases, ", then ").c_str());
    std::fflush(stdout);

    std::string charactersList;
    check(ctx, charactersList);

    const std::vector<std::string> read = search.basesRead();
    // With a folder given, what the game would take from the bases before it:
    // whether the folder is complete on its own.
    std::string elsewhere;
    for (size_t base = 0; !folders.empty() && base + 1 < bases.size(); ++base) {
        const std::vector<std::string> files = search.filesFrom(base);
        if (files.empty()) continue;
        if (json)
            elsewhere +=
                (elsewhere.empty() ? "" : ",") + jsonString(bases[base]) + ":" + jsonList(files);
        else
            elsewhere +=
                format("tovask-check: uses %zu file%s from %s, not from %s: ", files.size(),
                       files.size() == 1 ? "" : "s", bases[base].c_str(), bases.back().c_str()) +
                textList(files, ", ") + "\n";  // whole: format cuts long texts
    }
    if (json) {
        printFindingsJson(stdout, findings);
        std::printf("{\"errors\":%d,\"warnings\":%d,\"read\":%s%s}\n", findings.errors(),
                    findings.warnings(), jsonList(read).c_str(),
                    folders.empty() ? "" : (",\"elsewhere\":{" + elsewhere + "}").c_str());
    } else {
        printFindingsText(stdout, findings);
        std::fputs(elsewhere.c_str(), stdout);
        std::printf("tovask-check: %d error%s, %d warning%s; %s\n", findings.errors(),
                    findings.errors() == 1 ? "" : "s", findings.warnings(),
                    findings.warnings() == 1 ? "" : "s",
                    read.empty() ? "no data file found"
                                 : ("files read from " + textList(read, ", ")).c_str());
    }
    return findings.errors() > 0 ? 1 : 0;
}
