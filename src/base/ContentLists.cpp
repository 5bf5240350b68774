// The content lists "chars" and "maps" and the description files they name.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CreatureType.h"
#include "DataLocator.h"
#include "DescriptionFiles.h"
#include "Settings.h"
#include "TextReader.h"

namespace {

// Locates and opens a content list; a list that cannot be read ends the process.
std::FILE* openList(const char* listName) {
    ListOpening result;
    std::FILE* file = openContentList(listName, true, result);
    if (result == ListOpening::NotFound) std::exit(1);
    // GCOVR_EXCL_START: the locator opened the list a moment ago; only a list taken away in
    // between cannot be opened here.
    if (!file) {
        std::fprintf(stderr, "Unable to open file %s\n", listName);
        std::exit(1);
    }
    // GCOVR_EXCL_STOP
    return file;
}

// Hands every name of an open list to load, in list order, then closes it.
template <typename Load>
void forEachName(std::FILE* file, const char* listName, Load load) {
    TextReader reader(file, listName);
    char name[DATA_NAME_SIZE];
    int result;
    while ((result = reader.readName(name)) != EOF)
        if (result == 1) load(name);
    std::fclose(file);
}

// Locates and opens one description file and reads it into record, whose path
// is set first. False, with "Unable to find <kind> file" or "Unable to load
// (open) <openKind>" on stdout, when the file cannot be found or opened.
template <typename Record>
bool readDescription(char* name, const char* kind, const char* openKind, Record& record,
                     void (*readFields)(TextReader&, Record&)) {
    if (!locateDataFile(name, true)) {
        std::printf("Unable to find %s file %s", kind, name);
        return false;
    }
    std::FILE* file = std::fopen(name, "r");
    // GCOVR_EXCL_START: the locator opened the file a moment ago; only a file taken away in
    // between cannot be opened here.
    if (!file) {
        std::printf("Unable to load (open) %s %s\n", openKind, name);
        return false;
    }
    // GCOVR_EXCL_STOP
    std::snprintf(record.filePath, sizeof record.filePath, "%s", name);
    TextReader reader(file, record.filePath);
    readFields(reader, record);
    std::fclose(file);
    return true;
}

}  // namespace

void readCharacterFields(TextReader& reader, CharacterInfo& record) {
    for (const DescriptionField<CharacterInfo>& f : CHARACTER_FIELDS) readField(reader, record, f);
}

void readMapFields(TextReader& reader, MapInfo& record) {
    for (const DescriptionField<MapInfo>& f : MAP_FIELDS) readField(reader, record, f);
}

std::FILE* openContentList(const char* listName, bool complain, ListOpening& result) {
    char path[DATA_NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", listName);
    if (!locateDataFile(path, complain)) {
        result = ListOpening::NotFound;
        return nullptr;
    }
    std::FILE* file = std::fopen(path, "r");
    // Unopenable only when taken away since it was found (next line: no test can provoke it).
    result = file ? ListOpening::Opened : ListOpening::Unopenable;  // GCOVR_EXCL_BR_LINE
    return file;
}

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
