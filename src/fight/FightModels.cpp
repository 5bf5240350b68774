// What a fight asks the model store for, as requests.
#include "FightModels.h"

#include <cstring>

#include "NamePattern.h"
#include "ProjectileType.h"

namespace {

// A body part wearing the skin, which replaces every texture of the model.
std::optional<ModelRequest> skinned(const char* name, const char* skin, bool mirrorX) {
    if (name[0] == '\0') return std::nullopt;
    return ModelRequest{name, skin, "", LISTS_WHOLE_MESH, mirrorX};
}

// A model of the map, drawn lit, or none when the name is exactly the "nothing" word.
std::optional<ModelRequest> levelPart(const char* name, const char* noneWord) {
    if (noneWord != nullptr && std::strcmp(name, noneWord) == 0) return std::nullopt;
    ModelRequest request;
    request.fileName = name;
    request.listMode = LISTS_PER_OBJECT;
    return request;
}

std::string patternName(const char* pattern, int number, bool tell) {
    char name[INFO_TEXT_SIZE];
    const bool made = tell ? formatNumberedName(name, sizeof name, pattern, number)
                           : numberedName(name, sizeof name, pattern, number);
    return made ? name : "";
}

}  // namespace

std::string skinTextureName(const CharacterInfo& c, int skin, bool tell) {
    return patternName(c.skinTexturePattern, skin + 1, tell);
}

std::string armModelName(const CharacterInfo& c, int pose, bool tell) {
    return patternName(c.armModelPattern, pose, tell);
}

ModelRequest creatureBodyModelRequest() {
    ModelRequest request;
    request.fileName = "c3.3ds";
    request.listMode = LISTS_WHOLE_MESH;
    return request;
}

ModelRequest projectileModelRequest(int type) {
    ModelRequest request;
    request.fileName = projectileTypes[type].modelFile;
    request.listMode = LISTS_WHOLE_MESH;
    return request;
}

ModelRequest weaponModelRequest(const WeaponType& type) {
    ModelRequest request;
    request.fileName = type.modelFile;
    request.listMode = LISTS_WHOLE_MESH;
    return request;
}

ModelRequest crosshairModelRequest() {
    ModelRequest request;
    request.fileName = "zamer.3ds";
    request.listMode = LISTS_PER_OBJECT;
    return request;
}

MapModelRequests mapModelRequests(const MapInfo& map) {
    MapModelRequests r;
    r.level = *levelPart(map.levelModel, nullptr);
    r.ground = levelPart(map.groundModel, "noground");
    r.roof = levelPart(map.roofModel, "noroof");
    if (std::strcmp(map.skyTexture, "nosky") != 0) {
        // The map names the dome's texture; the dome is the game's own.
        r.sky = ModelRequest{"sky.3ds", map.skyTexture, "", LISTS_WHOLE_MESH};
    }
    return r;
}

ModelRequest collisionModelRequest(const char* modelFile) {
    ModelRequest request;
    request.fileName = modelFile;
    request.listMode = LISTS_PER_OBJECT;
    return request;
}

CharacterModelRequests characterModelRequests(const CharacterInfo& c, int skin) {
    const std::string skinText = skinTextureName(c, skin, true);
    const char* skinName = skinText.c_str();
    CharacterModelRequests r;
    for (int i = 0; i < ARM_MODEL_COUNT; ++i)
        r[PART_ARMS + i] = skinned(armModelName(c, i, true).c_str(), skinName, false);
    r[PART_STAND] = skinned(c.standModelName, skinName, false);
    r[PART_STRAFE_RIGHT] = skinned(c.strafeModelName, skinName, false);
    r[PART_STRAFE_LEFT] = skinned(c.strafeModelName, skinName, true);
    r[PART_WALK] = skinned(c.walkModelName, skinName, false);
    r[PART_DIAGONAL_RIGHT] = skinned(c.diagonalModelName, skinName, false);
    r[PART_DIAGONAL_LEFT] = skinned(c.diagonalModelName, skinName, true);
    r[PART_DEATH] = skinned(c.deathModelName, skinName, false);
    if (c.extraModelName[0] != '\0')  // the extra model keeps its own textures
        r[PART_EXTRA] = ModelRequest{c.extraModelName, "", "", LISTS_PER_OBJECT};
    return r;
}
