// What a fight asks the model store for, as requests: the creature body, the
// shots, the weapons, the crosshair, the map's models, the collision model and
// each character's parts. Needs no GL: the worst-fight count and the data
// checker ask the same questions the fight does.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "CharacterInfo.h"
#include "MapInfo.h"
#include "ModelKey.h"
#include "WeaponType.h"

// The body every creature is built on, "c3.3ds".
ModelRequest creatureBodyModelRequest();
// The model of projectile row `type` (0 to PROJECTILE_TYPE_COUNT - 1).
ModelRequest projectileModelRequest(int type);
// The model a weapon of this type holds.
ModelRequest weaponModelRequest(const WeaponType& type);
// The crosshair model "zamer.3ds" the game view draws.
ModelRequest crosshairModelRequest();

// What a map scene asks for; none for a model the map does without
// ("noground", "noroof", "nosky").
struct MapModelRequests {
    ModelRequest level;
    std::optional<ModelRequest> ground, roof, sky;
};
MapModelRequests mapModelRequests(const MapInfo& map);

// The collision model with one display list per object and no mirroring
// (shared with the level model when the map names one file for both).
ModelRequest collisionModelRequest(const char* modelFile);

constexpr int ARM_MODEL_COUNT = 6;

// The models of one character-and-skin pair, in the order a set asks for them.
enum CharacterPart : int {
    PART_ARMS = 0,  // six arm poses, PART_ARMS + 0 to 5
    PART_STAND = PART_ARMS + ARM_MODEL_COUNT,
    PART_STRAFE_RIGHT,
    PART_STRAFE_LEFT,
    PART_WALK,
    PART_DIAGONAL_RIGHT,
    PART_DIAGONAL_LEFT,
    PART_DEATH,
    PART_EXTRA,
    CHARACTER_PART_COUNT
};
using CharacterModelRequests = std::array<std::optional<ModelRequest>, CHARACTER_PART_COUNT>;

// The names the character's patterns make: the skin texture of skin index
// skin (from 0; the files count from 1) and the arm model of a pose (0 to
// ARM_MODEL_COUNT - 1). "" when too long; with tell, formatNumberedName's
// messages go to stderr.
std::string skinTextureName(const CharacterInfo& character, int skin, bool tell);
std::string armModelName(const CharacterInfo& character, int pose, bool tell);

// What a set loaded for this character with this skin (already chosen, see
// chooseSkin) asks the model store for: every part but the extra model wears
// the skin texture, the left strafe and diagonal are mirrored in x. A part
// whose name is empty is not asked for.
CharacterModelRequests characterModelRequests(const CharacterInfo& character, int skin);
