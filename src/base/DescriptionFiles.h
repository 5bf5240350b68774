// The content lists and the description files as the game reads them, without ending the process.
#pragma once

#include <cstddef>
#include <cstdio>

#include "CharacterInfo.h"
#include "MapInfo.h"
#include "TextReader.h"

// How one description field is read: "%d\n", "%f\n", "%s\n" or the map's
// "%f %f %f %f" fog colour.
enum class FieldKind { Int, Float, Name, Colour };

// One field of a description file. Exactly one member pointer is set, the one
// its kind names; label is how people call the field.
template <typename Record>
struct DescriptionField {
    const char* label;
    FieldKind kind;
    int Record::*number;
    float Record::*real;
    char (Record::*text)[INFO_TEXT_SIZE];
    float (Record::*colour)[4];
};

// Columns: label, kind, then the member of the kind (the others null). File order.
constexpr DescriptionField<CharacterInfo> CHARACTER_FIELDS[] = {
    {"creature type", FieldKind::Int, &CharacterInfo::creatureType, nullptr, nullptr, nullptr},
    {"skin count", FieldKind::Int, &CharacterInfo::skinCount, nullptr, nullptr, nullptr},
    {"name", FieldKind::Name, nullptr, nullptr, &CharacterInfo::name, nullptr},
    {"skin texture pattern", FieldKind::Name, nullptr, nullptr, &CharacterInfo::skinTexturePattern,
     nullptr},
    {"arm model pattern", FieldKind::Name, nullptr, nullptr, &CharacterInfo::armModelPattern,
     nullptr},
    {"stand model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::standModelName, nullptr},
    {"walk model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::walkModelName, nullptr},
    {"strafe model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::strafeModelName, nullptr},
    {"diagonal model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::diagonalModelName,
     nullptr},
    {"spare number", FieldKind::Float, nullptr, &CharacterInfo::spareNumber, nullptr, nullptr},
    {"spare name", FieldKind::Name, nullptr, nullptr, &CharacterInfo::spareName, nullptr},
    {"extra model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::extraModelName, nullptr},
    {"death model", FieldKind::Name, nullptr, nullptr, &CharacterInfo::deathModelName, nullptr},
};

constexpr DescriptionField<MapInfo> MAP_FIELDS[] = {
    {"name", FieldKind::Name, nullptr, nullptr, &MapInfo::name, nullptr},
    {"level model", FieldKind::Name, nullptr, nullptr, &MapInfo::levelModel, nullptr},
    {"ground model", FieldKind::Name, nullptr, nullptr, &MapInfo::groundModel, nullptr},
    {"roof model", FieldKind::Name, nullptr, nullptr, &MapInfo::roofModel, nullptr},
    {"sky texture", FieldKind::Name, nullptr, nullptr, &MapInfo::skyTexture, nullptr},
    {"spare name", FieldKind::Name, nullptr, nullptr, &MapInfo::spareName, nullptr},
    {"fog colour", FieldKind::Colour, nullptr, nullptr, nullptr, &MapInfo::fogColour},
    {"collision model", FieldKind::Name, nullptr, nullptr, &MapInfo::collisionModel, nullptr},
};

// Reads one field into the record with the reader of its kind. False when the
// file does not supply it whole: it has ended, a word is no number (the colour
// stops at the first), or a name is longer than MAX_NAME_LENGTH (left empty).
// Fields the file does not supply keep their value.
template <typename Record>
bool readField(TextReader& reader, Record& r, const DescriptionField<Record>& f) {
    switch (f.kind) {
        case FieldKind::Int:
            return reader.readInt(r.*f.number);
        case FieldKind::Float:
            return reader.readFloat(r.*f.real);
        case FieldKind::Name:
            return reader.readName(r.*f.text) == 1;
        case FieldKind::Colour:
            for (float& c : r.*f.colour)
                if (!reader.readFloat(c)) return false;
            return true;
    }
    return false;  // GCOVR_EXCL_LINE: every kind returns inside the switch
}

// Reads every field of an open description file in file order into the record.
void readCharacterFields(TextReader& reader, CharacterInfo& record);
void readMapFields(TextReader& reader, MapInfo& record);

enum class ListOpening { Opened, NotFound, Unopenable };
// Locates a content list ("chars" or "maps") and opens it as text. The
// locator's "Unable to locate file" goes to stderr when complain is set.
// Null, with the reason in result, when it cannot be found or opened.
std::FILE* openContentList(const char* listName, bool complain, ListOpening& result);
