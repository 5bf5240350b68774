// The content lists "chars" and "maps": found, readable, not empty, every name found.
#include <map>

#include "ByteOrderMark.h"
#include "ContentChecks.h"
#include "DataLocator.h"
#include "DescriptionFiles.h"
#include "TextReader.h"

namespace {

// Names a list may hold before the check stops looking (the game reads them all).
constexpr size_t MAX_LIST_NAMES = 10000;

}  // namespace

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
    if (skipMark(opened)) {
        std::rewind(opened);
        TextReader game(opened, nullptr);
        char first[DATA_NAME_SIZE];
        if (game.readName(first) == 1)
            ctx.findings.error(path, 1,
                               markFinding(format("it reads the first name as \"%s\", finds "
                                                  "no such file and skips that %s",
                                                  shownWord(first).c_str(), kind)));
        std::rewind(opened);
        skipMark(opened);
    }
    TextReader reader(opened, nullptr);
    char name[DATA_NAME_SIZE];
    int result;
    int lastLine = 0;
    std::map<std::string, int> firstLines;  // located path -> its first line
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
            const NearName near = ctx.search.nearName(name);
            if (near) message += " (" + near.text() + ")";
            ctx.findings.error(path, line, message);
            continue;
        }
        const auto [first, fresh] = firstLines.emplace(located, line);
        if (!fresh)
            ctx.findings.warning(path, line,
                                 format("names %s again (first on line %d): the game loads it "
                                        "twice and the menu offers it twice",
                                        name, first->second));
        list.files.push_back(located);
    }
    std::fclose(opened);
    if (list.names == 0)
        ctx.findings.error(path, 0, format("names no %s file: the game stops at start-up", kind));
    return list;
}

void checkNamesDiffer(CheckContext& ctx, const std::vector<std::string>& paths,
                      const std::vector<DisplayName>& names, const char* kind) {
    std::map<std::string, size_t> first;  // name -> its first holder
    for (size_t i = 0; i < names.size(); ++i) {
        const auto [at, fresh] = first.emplace(names[i].name, i);
        if (fresh || paths[at->second] == paths[i]) continue;  // one file listed twice
        ctx.findings.warning(
            paths[i], names[i].line,
            format("the %s name \"%s\" is also that of %s: the menu cannot "
                   "tell them apart",
                   kind, shownWord(names[i].name).c_str(), paths[at->second].c_str()));
    }
}
