// The content lists "chars" and "maps" and the description files they name.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CreatureType.h"
#include "DataLocator.h"
#include "Settings.h"
#include "TextFields.h"

namespace {

// Locates and opens a content list; a list that cannot be read ends the process.
std::FILE* openList(const char* listName) {
    char path[DATA_NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", listName);
    if (!locateDataFile(path, true)) std::exit(1);
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        std::fprintf(stderr, "Unable to open file %s\n", listName);
        std::exit(1);
    }
    return file;
}

// Hands every name of an open list to load, in list order, then closes it.
template <typename Load>
void forEachName(std::FILE* file, const char* listName, Load load) {
    char name[DATA_NAME_SIZE];
    int result;
    while ((result = readName(file, name, listName)) != EOF)
        if (result == 1) load(name);
    std::fclose(file);
}

void readCharacterFields(std::FILE* file, CharacterInfo& c) {
    readInt(file, c.creatureType);
    readInt(file, c.skinCount);
    readName(file, c.name, c.filePath);
    readName(file, c.skinTexturePattern, c.filePath);
    readName(file, c.armModelPattern, c.filePath);
    readName(file, c.standModelName, c.filePath);
    readName(file, c.walkModelName, c.filePath);
    readName(file, c.strafeModelName, c.filePath);
    readName(file, c.diagonalModelName, c.filePath);
    readFloat(file, c.spareNumber);
    readName(file, c.spareName, c.filePath);
    readName(file, c.extraModelName, c.filePath);
    readName(file, c.deathModelName, c.filePath);
}

void readMapFields(std::FILE* file, MapInfo& m) {
    readName(file, m.name, m.filePath);
    readName(file, m.levelModel, m.filePath);
    readName(file, m.groundModel, m.filePath);
    readName(file, m.roofModel, m.filePath);
    readName(file, m.skyTexture, m.filePath);
    readName(file, m.spareName, m.filePath);
    float* fog = m.fogColour;
    if (std::fscanf(file, "%f %f %f %f", &fog[0], &fog[1], &fog[2], &fog[3]) < 0) {
        // Truncated before the fog colour: it stays zero like the other fields.
    }
    readName(file, m.collisionModel, m.filePath);
}

// Locates and opens one description file and reads it into record, whose path
// is set first. False, with "Unable to find <kind> file" or "Unable to load
// (open) <openKind>" on stdout, when the file cannot be found or opened.
template <typename Record>
bool readDescription(char* name, const char* kind, const char* openKind, Record& record,
                     void (*readFields)(std::FILE*, Record&)) {
    if (!locateDataFile(name, true)) {
        std::printf("Unable to find %s file %s", kind, name);
        return false;
    }
    std::FILE* file = std::fopen(name, "r");
    if (!file) {
        std::printf("Unable to load (open) %s %s\n", openKind, name);
        return false;
    }
    std::snprintf(record.filePath, sizeof record.filePath, "%s", name);
    readFields(file, record);
    std::fclose(file);
    return true;
}

}  // namespace

void Settings::loadContentLists() {
    forEachName(openList("chars"), "chars", [this](char* name) { loadCharacterFile(name); });
    if (characterCount == 0) {
        std::fprintf(stderr, "No characters found in file %s\n", "chars");
        std::exit(1);
    }
    forEachName(openList("maps"), "maps", [this](char* name) { loadMapFile(name); });
    if (mapCount == 0) {
        std::fprintf(stderr, "No maps found in file %s\n", "maps");
        std::exit(1);
    }
}

void Settings::loadCharacterFile(char* name) {
    CharacterInfo record;
    if (!readDescription(name, "character", "character file", record, readCharacterFields)) return;
    if (record.creatureType < 0 || record.creatureType >= CREATURE_TYPE_COUNT) {
        std::fprintf(stderr, "Invalid character data from file %s\n", record.filePath);
    } else {
        characters.push_back(record);
        ++characterCount;
    }
    std::printf("Loaded characer %s from file %s\n", record.name, record.filePath);
}

void Settings::loadMapFile(char* name) {
    MapInfo record;
    if (!readDescription(name, "map", "mapfile", record, readMapFields)) return;
    maps.push_back(record);
    ++mapCount;
    std::printf("Loaded map %s from file %s\n", record.name, record.filePath);
}
