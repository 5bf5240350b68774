// The content lists "chars" and "maps": found, readable, not empty, every name found.
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
        list.files.push_back(located);
    }
    std::fclose(opened);
    if (list.names == 0)
        ctx.findings.error(path, 0, format("names no %s file: the game stops at start-up", kind));
    return list;
}
