// The settings file, the two content lists and the files the game names itself.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "ContentChecks.h"
#include "DescriptionFiles.h"
#include "GameAdapters.h"
#include "ImageSurface.h"
#include "Words.h"

namespace {

constexpr const char* SETTINGS_FILE = "tovask.cfg";
constexpr const char* ICON_FILE = "icon.png";
// Names a list may hold before the check stops looking (the game reads them all).
constexpr size_t MAX_LIST_NAMES = 10000;

// Columns: the settings file's seven values in file order.
constexpr const char* SETTINGS_VALUES[] = {"window width", "window height",   "colour depth",
                                           "full screen",  "texture quality", "filled polygons",
                                           "nice hints"};

bool wholeNumber(const std::string& w, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(w.c_str(), &end, 10);
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
    const WordFile file = readWords(path, 7);
    long values[7] = {};
    size_t read = 0;
    for (; read < file.words.size(); ++read) {
        if (!wholeNumber(file.words[read].text, values[read])) {
            ctx.findings.warning(path, file.words[read].line,
                                 format("the %s \"%s\" is not a whole number: the game reads "
                                        "no further and keeps 0 for the rest",
                                        SETTINGS_VALUES[read], file.words[read].text.c_str()));
            break;
        }
    }
    if (read == file.words.size() && read < 7)
        ctx.findings.warning(path, file.words.empty() ? 0 : file.words.back().line,
                             format("holds %zu of the 7 values: the game keeps 0 from the %s on",
                                    read, SETTINGS_VALUES[read]));
    if (values[0] <= 0 || values[1] <= 0)
        ctx.findings.warning(path, 0,
                             format("the window size %ld x %ld is unusable: the game opens "
                                    "640 x 480",
                                    values[0], values[1]));
    if (read > 4 && (values[4] < 0 || values[4] > 2))
        ctx.findings.warning(path, file.words[4].line,
                             format("texture quality %ld: the game knows 0, 1 and 2 and ignores "
                                    "other values",
                                    values[4]));
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
    std::fclose(opened);
    const std::string path = list.path = ctx.search.locate(listName);
    const WordFile file = readWords(path, MAX_LIST_NAMES);
    list.names = file.words.size();
    if (file.words.empty())
        ctx.findings.error(path, 0, format("names no %s file: the game stops at start-up", kind));
    if (file.more)
        ctx.findings.warning(path, file.words.back().line,
                             format("only the first %zu names are checked", MAX_LIST_NAMES));
    for (const Word& w : file.words) {
        if (w.tooLong) {
            ctx.findings.error(path, w.line,
                               "a name longer than 254 characters: the game skips it");
            continue;
        }
        const std::string located = ctx.search.locate(w.text);
        if (located.empty()) {
            std::string message =
                format("the %s file \"%s\" is not found: the game skips it", kind, w.text.c_str());
            const std::string near = ctx.search.sameButCase(w.text);
            if (!near.empty()) message += " (" + near + " differs only in case)";
            ctx.findings.error(path, w.line, message);
            continue;
        }
        list.files.push_back(located);
    }
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
    // The window's icon is no texture: any size will do.
    const std::string icon = ctx.search.locate(ICON_FILE);
    if (icon.empty()) {
        ctx.findings.error(ICON_FILE, 0,
                           "not found: the game asks for this image by name and its window has "
                           "no icon");
    } else if (SDL_Surface* image = decodeImageFile(icon.c_str())) {
        SDL_FreeSurface(image);
    } else {
        ctx.findings.error(icon, 0,
                           std::string("the game cannot decode this image (") + SDL_GetError() +
                               "): its window has no icon");
    }
}
