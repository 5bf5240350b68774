// The checks of the data folder's parts, in the order the game meets them.
#pragma once

#include <string>
#include <vector>

#include "CharacterInfo.h"
#include "CheckContext.h"
#include "MapInfo.h"

// "tovask.cfg": found, seven whole numbers, a usable window and texture quality.
void checkSettingsFile(CheckContext& ctx);
struct ContentList {
    std::string path;                // "" when the game cannot read the list
    size_t names = 0;                // names it holds
    std::vector<std::string> files;  // located paths of the files found, in list order
};
// A character's or map's display name and where it stands.
struct DisplayName {
    std::string name;
    int line = 0;
};
// A content list ("chars" or "maps"): found, readable, not empty, every name
// found, none twice.
ContentList checkList(CheckContext& ctx, const char* listName, const char* kind);
// One character or map description file (a located path). False when the
// game drops it; otherwise out holds the record as the game reads it, and
// shown its name and that name's line.
bool checkCharacter(CheckContext& ctx, const std::string& path, CharacterInfo& out,
                    DisplayName& shown);
bool checkMap(CheckContext& ctx, const std::string& path, MapInfo& out, DisplayName& shown);
// Characters (or maps) of one name, which the menu cannot tell apart: each
// after the first is reported at its name. paths and names go together.
void checkNamesDiffer(CheckContext& ctx, const std::vector<std::string>& paths,
                      const std::vector<DisplayName>& names, const char* kind);
// The map's collision model, named at line of the map file: present, within
// the build's limits, clear where creatures appear, around the level.
void checkCollision(CheckContext& ctx, const MapInfo& map, int line);
// The sky's bottom rows against the fog colour where the camera can see below the sky's rim.
void checkSkyBand(CheckContext& ctx, const MapInfo& map, int line);
// The files the game asks for by their own names: body, shot, weapons,
// crosshair, sky dome (when a map has a sky), menu logo, font and background.
void checkProgramFiles(CheckContext& ctx, bool anySky);
// The model and texture tables of the worst fight on each map, against their capacity.
void checkFightTables(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                      const std::vector<MapInfo>& maps, const std::string& charactersList);
