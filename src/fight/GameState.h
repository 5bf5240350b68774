// A fight: loads the selected map and its creatures and handles the fog, view and camera keys.
#pragma once

#include <cstdint>

#include "MapInfo.h"
#include "ModelKey.h"
#include "World.h"

class FightHost;

class GameState : public World {
public:
    static constexpr float START_VIEW_ANGLE = 45.0f;  // degrees, vertical
    static constexpr float START_FAR_CLIP = 2000.0f;  // level units
    static constexpr float FOG_DEPTH = 200.0f;        // fog thickens over the last 200 units
    static constexpr int COMPUTER_CREATURES = 6;
    static constexpr float CELL_SIZE = 20.0f;  // collision cells, level units on each axis

    // Loads the creature body and projectile models and sets the projection
    // and fog range.
    explicit GameState(FightHost* host);
    ~GameState() override;

    void keyDown(int key) override;
    // Builds the fight from the settings' selection. False, with nothing
    // created, when the selection is invalid.
    bool load();

    // The fight's perspective from viewAngle and farClip; the fog range ends at farClip.
    void applyProjection();
    void applyFogRange();

    MapInfo map;  // copy of the selected map
    uint8_t fogEnabled = 1;
    float viewAngle = START_VIEW_ANGLE;  // degrees
    float farClip = START_FAR_CLIP;      // level units

private:
    void addCreatures(int characterIndex, int skinIndex);
    void toggleFog();
    void changeFarClip(float delta);
    void changeViewAngle(float delta);
};
