// Shared pieces of the maps: textured blocks with their collision boxes, floors, the outer fence.
#pragma once

#include <string>

#include "MeshPart.h"

// Collision geometry stands this far (a body's half-width) in front of what
// is seen, so a creature stops with its body against the visible surface.
constexpr float BODY_MARGIN = 2.0f;
// Collision walls reach from below the floor to above anything that flies:
// creatures and shots test a sphere of radius 1 at height 4, and a centre
// outside the collision grid counts as touching a wall.
constexpr float COLLISION_BOTTOM = -8.0f;
constexpr float COLLISION_MIN_TOP = 16.0f;

// The four models of one map, each written as "<id><suffix>.3ds".
struct MapModels {
    ModelFile level, ground, roof, collision;
};

// A solid block seen in `visible` with world-projected texture coordinates
// (one repeat every `tile` units), and its collision box grown by
// BODY_MARGIN on x and z, from COLLISION_BOTTOM up to at least COLLISION_MIN_TOP.
void solidBlock(MeshPart& visible, MeshPart& collision, P3 lo, P3 hi, float tile);
// An upward-facing floor rectangle at height y, split into cells so that
// lighting and fog are sampled often enough.
void floorRect(MeshPart& part, float x0, float z0, float x1, float z1, float y, float tile,
               int cells);
// The same rectangle facing down (a ceiling).
void ceilingRect(MeshPart& part, float x0, float z0, float x1, float z1, float y, float tile);
// A quad wound so that its front faces along `facing`.
void orientedQuad(MeshPart& part, P3 a, P3 b, P3 c, P3 d, P3 facing, float tile);
// Four walls round the box of everything in `level`, `margin` outside it:
// the collision grid then covers the whole level.
void fenceAround(MeshPart& collision, const ModelFile& level, float margin, float top);

// Bounds of every vertex in a model file.
void modelBounds(const ModelFile& f, P3& lo, P3& hi);

bool saveMap(const MapModels& m, const std::string& modelDir, const std::string& id);
