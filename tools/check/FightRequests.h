// What a fight asks the model store for, as lists of the game's own requests.
#pragma once

#include <string>
#include <vector>

#include "CharacterInfo.h"
#include "MapInfo.h"
#include "ModelKey.h"

// The store's key of a request as text: equal texts, one slot. "" for a
// request that takes none: no file name, or a name the store refuses.
std::string storeKey(const ModelRequest& r);
// What every fight asks for: the body, the shots, the weapons, the crosshair.
std::vector<ModelRequest> fixedRequests();
// What the map scene asks for: level, ground, roof, sky.
std::vector<ModelRequest> mapRequests(const MapInfo& m);
// What the collision map asks for (loaded and released while the map loads).
ModelRequest collisionRequest(const MapInfo& m);
// What a character model set asks for with this skin: arms, body, death, extra.
std::vector<ModelRequest> lookRequests(const CharacterInfo& c, int skin);
