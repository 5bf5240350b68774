// What the main loop drives: the menu, the game state and GRun itself.
#pragma once

class GState {
public:
    virtual ~GState() = default;
    // key: the SDL key code (SDLKey value).
    virtual void keyUp(int key) { (void)key; }
    virtual void keyDown(int key) { (void)key; }
    // ms: game milliseconds to advance.
    virtual void update(int ms) { (void)ms; }
    virtual void draw() {}
    // The shell never calls this; the game state calls it on itself after a step.
    virtual void afterUpdate() {}
};
