// The checker's links to the game: data folder, image decoding, the collision map's load budget.
#pragma once

// Each function here hands a question to the game's own code (its data
// folder search, image decoder and budget figures) and puts the answer in the
// checker's terms: the one place to follow when those pieces change. The
// game's readers (3DS files, animation and description files, the collision
// map) and its model requests (FightRequests.h) are called directly elsewhere.

#include <SDL.h>

#include <string>

#include "MeshData.h"

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

// --- Load budget -----------------------------------------------------------
// Why the game would build no collisions from this model with these cells
// (its grid cap and its budget of triangle-in-cell tests), or "".
std::string collisionBuildProblem(const MeshData& collision, Vec3 cellSize);
