// The settings file, the two content lists and the files the game names itself.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iterator>

#include "ContentChecks.h"
#include "DescriptionFiles.h"
#include "FightRequests.h"
#include "GameAdapters.h"
#include "Settings.h"
#include "TextReader.h"

namespace {

// Names a list may hold before the check stops looking (the game reads them all).
constexpr size_t MAX_LIST_NAMES = 10000;
constexpr size_t VALUE_COUNT = std::size(SETTINGS_VALUES);

bool wholeNumber(const std::string& w) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(w.c_str(), &end, 10);
    return errno == 0 && end != w.c_str() && *end == '\0' && value >= INT_MIN && value <= INT_MAX;
}

}  // namespace

void checkSettingsFile(CheckContext& ctx) {
    const std::string path = ctx.search.locate(SETTINGS_FILE);
    if (path.empty()) {
        ctx.findings.warning(SETTINGS_FILE, 0,
                             "not found: the game starts full screen at 640 x 480 with its "
                             "default settings");
        return;
    }
    // Read as the game reads it, value by value, to say where each stands.
    Settings s;
    int lines[VALUE_COUNT] = {};
    size_t read = 0;
    if (std::FILE* file = std::fopen(path.c_str(), "r")) {
        TextReader reader(file, nullptr);
        reader.keepWords();
        for (const SettingsValue& v : SETTINGS_VALUES) {
            const bool number = reader.readInt(s.*v.member);
            const TextReader::Word& w = reader.last();
            if (number) lines[read++] = w.line;
            if (w.line == 0) break;
            if (number && wholeNumber(w.text)) continue;
            ctx.findings.warning(path, w.line,
                                 format("the %s \"%s\" is not a whole number: the game reads no "
                                        "further and keeps 0 for the rest",
                                        v.label, w.text.c_str()));
            read = VALUE_COUNT;  // not short: broken
            break;
        }
        std::fclose(file);
    }
    if (read < VALUE_COUNT)
        ctx.findings.warning(path, read == 0 ? 0 : lines[read - 1],
                             format("holds %zu of the 7 values: the game keeps 0 from the %s on",
                                    read, SETTINGS_VALUES[read].label));
    if (s.width <= 0 || s.height <= 0)
        ctx.findings.warning(path, 0,
                             format("the window size %d x %d is unusable: the game opens "
                                    "640 x 480",
                                    s.width, s.height));
    if (lines[4] > 0 && (s.textureQuality < 0 || s.textureQuality > 2))
        ctx.findings.warning(path, lines[4],
                             format("texture quality %d: the game knows 0, 1 and 2 and ignores "
                                    "other values",
                                    s.textureQuality));
}

ContentList checkList(CheckContext& ctx, const char* listName, const char* kind) {
    ContentList list;
    ListOpening opening;
    std::FILE* opened = openContentList(listName, false, opening);
    if (!opened) {
        const std::string path = ctx.search.locate(listName);
        ctx.findings.error(path.empty() ? listName : path, 0,
                           opening == ListOpening::NotFound
                               ? "not found: the game stops at start-up"
                               : "cannot be opened: the game stops at start-up");
        return list;
    }
    const std::string path = list.path = ctx.search.locate(listName);
    TextReader reader(opened, nullptr);
    char name[DATA_NAME_SIZE];
    int result;
    int lastLine = 0;
    while ((result = reader.readName(name)) != EOF) {
        const int line = reader.last().line;
        if (list.names == MAX_LIST_NAMES) {
            ctx.findings.warning(path, lastLine,
                                 format("only the first %zu names are checked", MAX_LIST_NAMES));
            break;
        }
        ++list.names;
        lastLine = line;
        if (result == 0) {
            ctx.findings.error(path, line, "a name longer than 254 characters: the game skips it");
            continue;
        }
        const std::string located = ctx.search.locate(name);
        if (located.empty()) {
            std::string message =
                format("the %s file \"%s\" is not found: the game skips it", kind, name);
            const std::string near = ctx.search.sameButCase(name);
            if (!near.empty()) message += " (" + near + " differs only in case)";
            ctx.findings.error(path, line, message);
            continue;
        }
        list.files.push_back(located);
    }
    std::fclose(opened);
    if (list.names == 0)
        ctx.findings.error(path, 0, format("names no %s file: the game stops at start-up", kind));
    return list;
}

void checkProgramFiles(CheckContext& ctx, bool anySky) {
    // Columns: file, what the game does without it.
    struct ProgramFile {
        std::string name;
        const char* without;
    };
    std::vector<ProgramFile> models;
    for (const ModelRequest& r : fixedRequests())
        models.push_back({r.fileName, "and goes on without it"});
    if (anySky) models.push_back({"sky.3ds", "and maps with a sky show none"});
    models.push_back({"logo.3ds", "and the menu shows no logo"});
    for (const ProgramFile& f : models) {
        const ModelInfo& m = ctx.models.model(f.name);
        if (m.path.empty())
            ctx.findings.error(
                f.name, 0,
                std::string("not found: the game asks for this model by name ") + f.without);
        else if (f.name != "sky.3ds")  // the sky's own texture is always replaced
            ctx.models.checkOwnTextures(m);
    }
    for (const char* name : {"font.bmp", "menu.jpg"}) {
        const TextureInfo& t = ctx.textures.texture(name, false);
        if (t.path.empty())
            ctx.findings.error(name, 0,
                               "not found: the game asks for this image by name and goes on "
                               "without it");
    }
}
