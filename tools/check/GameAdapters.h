// The checker's links to the game: data folder, image decoding, load budgets, model requests.
#pragma once

// Each function here hands a question to the game's own code (its data
// folder search, image decoder, budget figures and model requests) and puts
// the answer in the checker's terms: the one place to follow when those
// pieces change. The game's readers (3DS files, animation and description
// files, the collision map, the worst fight) are called directly elsewhere.

#include <SDL.h>

#include <string>
#include <vector>

#include "AnimationFile.h"
#include "CharacterInfo.h"
#include "MapInfo.h"
#include "MeshData.h"
#include "ModelKey.h"

// --- The data folder (the locator's third base) ---------------------------
// The folder the game itself would use: the one found beside the game's
// executable, else the compiled-in one.
void useGameDataFolder();
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
// (its grid cap and its budget of triangle-in-cell tests), or "".
std::string collisionBuildProblem(const MeshData& collision, Vec3 cellSize);

// --- The fight's model requests ---------------------------------------------
// The game's own request functions, as lists; the worst fight's model count is
// the game's findWorstFight (WorstFight.h).
// The store's key of a request as text: equal texts, one model.
std::string storeKey(const ModelRequest& r);
// What a character model set asks for with this skin: arms, body, death, extra.
std::vector<ModelRequest> pairRequests(const CharacterInfo& c, int skin);
// What every fight asks for: the body, the shots, the weapons, the crosshair.
std::vector<ModelRequest> fixedRequests();
// What the map scene asks for: level, ground, roof, sky.
std::vector<ModelRequest> mapRequests(const MapInfo& m);
// What the collision map asks for (loaded and released while the map loads).
ModelRequest collisionRequest(const MapInfo& m);
// The names the character's patterns make, as the game prints them (without
// its console messages): the skin texture of skin index skin (from 0, printed
// with skin + 1) and the arm model of a pose (0 to 5); "" when too long.
std::string skinTexture(const CharacterInfo& c, int skin);
std::string armModel(const CharacterInfo& c, int pose);
