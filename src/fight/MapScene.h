// The static surroundings of a fight: sky, level, roof and ground of the selected map.
#pragma once

#include <optional>

#include "MapInfo.h"
#include "ModelKey.h"
#include "WorldObject.h"

class GameState;
class Model;

class MapScene : public WorldObject {
public:
    explicit MapScene(GameState* gameState);
    ~MapScene() override;
    MapScene(const MapScene&) = delete;
    MapScene& operator=(const MapScene&) = delete;

    void draw() override;

    Model* ground = nullptr;  // none for "noground"
    Model* level = nullptr;   // none only when the level model failed to load
    Model* roof = nullptr;    // none for "noroof"
    Model* sky = nullptr;     // none for "nosky"
    GameState* gameState;     // the owner, read for the map, the fog flag and the view angle

private:
    void drawSky();
};
