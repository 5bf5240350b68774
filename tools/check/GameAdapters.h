// The checker's links to game work still under way: data folder, image decoding, load budgets,
// fight tables.
#pragma once

// Each function here stands for a piece of the game that is being finished
// elsewhere; it does today what the game does today, and is the one place to
// rewire when that piece arrives. The rest of the checker calls only these.

#include <SDL.h>

#include <string>
#include <vector>

#include "AnimationFile.h"
#include "CharacterInfo.h"
#include "DisplayListMode.h"
#include "MapInfo.h"
#include "Mesh.h"

// --- The data folder (the locator's third base) ---------------------------
// The folder the game itself would use; today the one compiled in.
void useGameDataFolder(const char* argv0);
// A folder given on the command line takes the third base's place.
void useDataFolder(const char* folder);

// --- Image decoding --------------------------------------------------------
// A plain texture's pixels as the texture store makes them: decoded by the
// game's decode entry and turned into 24-bit rows, bottom row first, red,
// green, blue. Null with the reason in problem.
SDL_Surface* decodeTextureImage(const char* path, std::string& problem);
// A colour or alpha image of a companion texture as the alpha path decodes it
// (24-bit, rows as stored). Null with the reason in problem.
SDL_Surface* decodeCompanionImage(const char* path, std::string& problem);

// --- Load budgets ----------------------------------------------------------
// Why the game would build no collisions from this model with these cells
// (today: the grid cap of the collision build), or why building them would
// take it minutes and gigabytes; "" when neither.
std::string collisionBuildProblem(const Mesh& collision, Vec3 cellSize);
// Why the game would refuse this animation's frames, or "" (today the
// reader's caps on frames and keys are all there is).
std::string animationBudgetProblem(const AnimationDescription& d, long long key1Vertices);

// --- The fight's model requests and the worst fight -----------------------
// One ModelStore request: the names as passed (the store lowers them) and the options.
struct StoreRequest {
    std::string file, replacement, replaced;
    DisplayListMode listMode = LISTS_NONE;
    bool mirrorX = false;
};
// The store's key of a request: lowered names, list mode and mirror flags.
std::string storeKey(const StoreRequest& r);
// The skin texture of skin index skin (from 0): the pattern printed with skin + 1.
std::string skinTexture(const CharacterInfo& c, int skin);
// The arm model of a pose (0 to 5): the pattern printed with the pose.
std::string armModel(const CharacterInfo& c, int pose);
// What a character model set asks for with this skin: arms, body, death, extra.
std::vector<StoreRequest> pairRequests(const CharacterInfo& c, int skin);
// What every fight asks for: the body, the shot, the weapons, the crosshair.
std::vector<StoreRequest> fixedRequests();
// What the map scene asks for: level, ground, roof, sky.
std::vector<StoreRequest> mapRequests(const MapInfo& m);

// Skins of one character the checker looks at; a larger count only adds
// more of the same (the skin files past the last one present are missing).
constexpr int MAX_SKINS_COUNTED = 64;

// One creature's look: a character and one of its skins (from 0).
struct CreatureLook {
    int character = 0;
    int skin = 0;
};
// The fight on map that holds the most models, over every choice the game
// allows of seven creatures; loads tells whether a model file loads (a
// request that does not load takes no slot).
struct WorstModelFight {
    int count = 0;
    std::vector<CreatureLook> pairs;  // the pairs of that fight, the costliest first
    std::vector<int> pairCounts;      // the models each pair adds on its own
};
WorstModelFight worstFightModels(const std::vector<CharacterInfo>& characters, const MapInfo& map,
                                 bool (*loads)(void* context, const std::string& file),
                                 void* context);
