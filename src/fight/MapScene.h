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
    // Grey levels of the light (setLightLevel) for each part of the map. The
    // scene leaves the level's on, so the creatures and their weapons drawn
    // after it are lit like the level.
    static constexpr float LEVEL_LIGHT = 0.2f;
    static constexpr float ROOF_LIGHT = 0.6f;
    static constexpr float GROUND_LIGHT = 0.9f;

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
