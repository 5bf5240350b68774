// The interface of everything the main loop drives: the menu, the fight and GRun itself.
#pragma once

class GState {
public:
    virtual ~GState() = default;
    virtual void keyUp(int key) { (void)key; }
    virtual void keyDown(int key) { (void)key; }
    // milliseconds of game time since the previous update
    virtual void update(int milliseconds) { (void)milliseconds; }
    virtual void draw() {}
    virtual void afterUpdate() {}
};
