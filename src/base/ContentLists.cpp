// The content lists "chars" and "maps" and the description files they name.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CreatureType.h"
#include "DataLocator.h"
#include "DescriptionFiles.h"
#include "Settings.h"
#include "TextFields.h"

namespace {

// Reads each field of the table in turn with the reader of its kind.
template <typename Record, size_t N>
void readTable(std::FILE* file, Record& r, const DescriptionField<Record> (&fields)[N],
               const char* source) {
    for (const DescriptionField<Record>& f : fields) {
        switch (f.kind) {
            case FieldKind::Int:
                readInt(file, r.*f.number);
                break;
            case FieldKind::Float:
                readFloat(file, r.*f.real);
                break;
            case FieldKind::Name:
                readName(file, r.*f.text, source);
                break;
            case FieldKind::Colour: {
                float* c = r.*f.colour;
                if (std::fscanf(file, "%f %f %f %f", &c[0], &c[1], &c[2], &c[3]) < 0) {
                    // Truncated before the colour: it stays as it was, like the other fields.
                }
                break;
            }
        }
    }
}

// Locates and opens a content list; a list that cannot be read ends the process.
std::FILE* openList(const char* listName) {
    ListOpening result;
    std::FILE* file = openContentList(listName, true, result);
    if (result == ListOpening::NotFound) std::exit(1);
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

// Locates and opens one description file and reads it into record, whose path
// is set first. False, with "Unable to find <kind> file" or "Unable to load
// (open) <openKind>" on stdout, when the file cannot be found or opened.
template <typename Record>
bool readDescription(char* name, const char* kind, const char* openKind, Record& record,
                     void (*readFields)(std::FILE*, Record&, const char*)) {
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
    readFields(file, record, record.filePath);
    std::fclose(file);
    return true;
}

}  // namespace

void readCharacterFields(std::FILE* file, CharacterInfo& record, const char* source) {
    readTable(file, record, CHARACTER_FIELDS, source);
}

void readMapFields(std::FILE* file, MapInfo& record, const char* source) {
    readTable(file, record, MAP_FIELDS, source);
}

std::FILE* openContentList(const char* listName, bool complain, ListOpening& result) {
    char path[DATA_NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", listName);
    if (!locateDataFile(path, complain)) {
        result = ListOpening::NotFound;
        return nullptr;
    }
    std::FILE* file = std::fopen(path, "r");
    result = file ? ListOpening::Opened : ListOpening::Unopenable;
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
