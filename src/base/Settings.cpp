// The settings record's start-up sequence, the settings file and the selection check.
#include "Settings.h"

#include <cstdio>
#include <cstring>

#include "DataLocator.h"
#include "TextReader.h"

Settings settings;

void Settings::reset() {
    *this = Settings();
}

void Settings::load() {
    std::printf("         --- TOVASK ---\n  Version 0.03 - betatesting only\n");
    loadSettingsFile();
    loadContentLists();
}

void Settings::loadSettingsFile() {
    reset();
    char path[DATA_NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", SETTINGS_FILE);
    std::FILE* file = locateDataFile(path, false) ? std::fopen(path, "r") : nullptr;
    if (file) {
        // Values the file does not supply keep their zero; no range limits.
        TextReader reader(file, SETTINGS_FILE);
        for (const SettingsValue& v : SETTINGS_VALUES)
            if (!reader.readInt(this->*v.member)) break;
        std::fclose(file);
        // A window of no pixels shows nothing and takes no keys: a short or
        // broken file must not leave the player without a screen.
        if (width <= 0 || height <= 0) {
            std::fprintf(stderr, "Unusable window size %d X %d in %s. Using 640 X 480.\n", width,
                         height, SETTINGS_FILE);
            width = 640;
            height = 480;
        }
    } else {
        std::fprintf(stderr, "Unable to open inicialization file %s. Using default valueas.\n",
                     SETTINGS_FILE);
        width = 640;
        height = 480;
        bitsPerPixel = 0;
        fullScreen = 1;
        textureQuality = 1;
        filledPolygons = 1;
    }
    std::printf("Resolution : %d X %d X %d\n", width, height, bitsPerPixel);
    std::printf(fullScreen ? "Fullscreen\n" : "Windowed\n");
    std::printf("Texture quality %d Filled polygons %d\n", textureQuality, filledPolygons);
}

bool Settings::validateSelection() const {
    if (mapIndex < 0 || mapIndex >= mapCount) {
        std::fprintf(stderr, "Invalid mapID when starting engine\n");
        return false;
    }
    if (characterIndex < 0 || characterIndex >= characterCount) {
        std::fprintf(stderr, "Invalid charID when starting engine\n");
        return false;
    }
    if (skinIndex < 0 || skinIndex >= characters[characterIndex].skinCount) {
        std::fprintf(stderr, "Invalid skinID when starting engine\n");
        return false;
    }
    return true;
}
