// The settings record: the seven settings values, the content lists and the player's selection.
#pragma once

#include <vector>

#include "CharacterInfo.h"
#include "MapInfo.h"

class Settings {
public:
    // The whole start-up sequence: banner, settings file, content lists. Ends the
    // process with status 1 when a content list is missing, unopenable or empty.
    void load();
    // Resets every field, reads "tovask.cfg" (or takes the defaults) and prints
    // the resolution lines.
    void loadSettingsFile();
    // Reads "chars" and then "maps" and every description file they name.
    void loadContentLists();
    // name: a writable buffer of DATA_NAME_SIZE with the bare file name; the
    // locator rewrites it to the path. Success shows in the counts.
    void loadCharacterFile(char* name);
    void loadMapFile(char* name);
    // True when mapIndex, characterIndex and skinIndex all name existing entries;
    // otherwise prints the first failing check to stderr.
    bool validateSelection() const;

    int width = 0;  // window size in pixels
    int height = 0;
    int bitsPerPixel = 0;  // 0: the display's current depth
    int fullScreen = 0;
    int textureQuality = 0;  // 0, 1 or 2
    int filledPolygons = 0;  // 0: wire frame
    int niceHints = 0;       // non-zero: GL_NICEST hints

    // The counts always equal the sizes of their arrays.
    int characterCount = 0;
    std::vector<CharacterInfo> characters;
    int mapCount = 0;
    std::vector<MapInfo> maps;

    int mapIndex = 0;
    int characterIndex = 0;
    int skinIndex = 0;  // 0-based skin of the selected character

private:
    void reset();
};

extern Settings settings;

// The settings file "tovask.cfg": seven whole numbers, read in this order
// until the file ends or a word is no number; the rest stay 0.
constexpr const char* SETTINGS_FILE = "tovask.cfg";
struct SettingsValue {
    const char* label;
    int Settings::*member;
};
// Columns: label, member. File order.
constexpr SettingsValue SETTINGS_VALUES[] = {
    {"window width", &Settings::width},
    {"window height", &Settings::height},
    {"colour depth", &Settings::bitsPerPixel},
    {"full screen", &Settings::fullScreen},
    {"texture quality", &Settings::textureQuality},
    {"filled polygons", &Settings::filledPolygons},
    {"nice hints", &Settings::niceHints},
};
