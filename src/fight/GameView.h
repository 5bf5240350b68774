// Draws one frame of a fight: chase camera, world objects, crosshair, transparent queue, HUD.
#pragma once

#include "ModelKey.h"

class Creature;
class Model;
class World;

class GameView {
public:
    GameView() = default;
    GameView(const GameView&) = delete;
    GameView& operator=(const GameView&) = delete;
    virtual ~GameView();  // releases the crosshair model

    // Takes the crosshair model and starts following target (the player's
    // creature, already in world). Always true.
    bool attach(World* world, Creature* target);
    void draw();

    // "i" and "u": next and previous camera mode, wrapping around 0 .. 6.
    void nextCameraMode();
    void previousCameraMode();

    World* world = nullptr;      // not owned
    Creature* target = nullptr;  // not owned
    Model* crosshair = nullptr;  // from the ModelStore
    int cameraMode = 0;          // 0 .. 6

private:
    void placeCamera();
    void drawObjects();
    void drawCrosshair();
    void drawHud();
};
