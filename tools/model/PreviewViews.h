// Four orthographic views of something the game draws, with the ground and a creature's
// collision box marked, read back as one picture.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Vec3.h"

class OffscreenGl;

struct PreviewBox {
    Vec3 lo, hi;
};

struct PreviewScene {
    // Draws the subject with the game's own code in world units; the view's
    // camera and the frustum are current, the game's lighting is on.
    std::function<void()> drawSubject;
    PreviewBox subject;   // where drawSubject draws
    PreviewBox body;      // a creature's collision box, outlined for scale
    float groundY = 0;    // height of the floor, drawn as a grid
    bool labels = false;  // the game's font is loaded: name each view
};

constexpr int PREVIEW_VIEW_SIDE = 320;               // pixels of one square view
constexpr int PREVIEW_SIDE = 2 * PREVIEW_VIEW_SIDE;  // the picture's width and height

// The views in picture order, left to right and top to bottom: front (seen
// from -z, where a creature looks), right side (from +x), back (from +z),
// top (from +y, the creature's front up). All share one scale and show the
// box round subject, body and ground with a margin.
enum PreviewViewIndex { VIEW_FRONT, VIEW_RIGHT, VIEW_BACK, VIEW_TOP, VIEW_COUNT };
extern const char* const PREVIEW_VIEW_NAMES[VIEW_COUNT];

// Draws the four views into gl, which must be PREVIEW_SIDE square and
// current, and returns the picture as RGB, top row first.
std::vector<uint8_t> drawPreview(OffscreenGl& gl, const PreviewScene& scene);
