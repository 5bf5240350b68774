// The menu screen: background, turning logo, the map/character/skin choice, start and quit.
#pragma once

#include "GState.h"
#include "Model.h"

class GRun;
class Settings;

class MenuState : public GState {
public:
    explicit MenuState(GRun* owner);
    ~MenuState() override;
    MenuState(const MenuState&) = delete;
    MenuState& operator=(const MenuState&) = delete;

    void keyDown(int key) override;
    void update(int ms) override;
    void draw() override;

    // The selection keys x/c (map), v/b (character, skin back to 0) and n/m
    // (skin), each wrapping around; only the low 8 bits of key count. True when
    // the key was one of them. Needs no GL.
    static bool changeSelection(Settings& selection, int key);

private:
    void drawLabels();

    int background_ = -1;  // TextureStore slot of the picture
    Model logo_;
    float angle_ = 0.0f;  // degrees about the vertical axis
    GRun* owner_;
};
