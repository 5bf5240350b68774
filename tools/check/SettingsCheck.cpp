// The settings file "tovask.cfg": found, seven whole numbers, a usable window and texture quality.
#include <iterator>

#include "ByteOrderMark.h"
#include "ContentChecks.h"
#include "Settings.h"
#include "Text.h"
#include "TextReader.h"

namespace {

constexpr size_t VALUE_COUNT = std::size(SETTINGS_VALUES);
constexpr size_t TEXTURE_QUALITY = 4;  // its place in the file
static_assert(SETTINGS_VALUES[TEXTURE_QUALITY].member == &Settings::textureQuality);

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
        if (skipMark(file))
            ctx.findings.warning(path, 1,
                                 markFinding("it reads none of its values and keeps 0 for "
                                             "all seven: a 640 x 480 window, texture quality 0, "
                                             "polygons drawn as outlines"));
        TextReader reader(file, nullptr);
        reader.keepWords();
        for (const SettingsValue& v : SETTINGS_VALUES) {
            const bool number = reader.readInt(s.*v.member);
            const TextReader::Word& w = reader.last();
            if (number) lines[read++] = w.line;
            if (w.line == 0) break;
            int whole;
            if (number && wholeNumber(w.text, whole)) continue;
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
    if (lines[TEXTURE_QUALITY] > 0 && (s.textureQuality < 0 || s.textureQuality > 2))
        ctx.findings.warning(path, lines[TEXTURE_QUALITY],
                             format("texture quality %d: the game knows 0, 1 and 2 and ignores "
                                    "other values",
                                    s.textureQuality));
}
