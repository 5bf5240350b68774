// The default characters' measures: built to them by the content generator, quoted by the guide,
// and used by the tools that judge or fix downloaded models.
#pragma once

// Height of the ground under the default characters' soles, and of the
// default maps' floors (y up, units): half a unit under the creatures' height
// 0, where the lowest camera keeps its eye, so that camera looks down onto the
// floor instead of along it (at the default 45-degree view the floor then
// reaches the bottom of the screen from the near plane at 1 unit on).
constexpr float SOLE_Y = -0.5f;

// How tall the default characters stand, soles to the top of the head (units).
constexpr float CHARACTER_HEIGHT_MIN = 7.6f;
constexpr float CHARACTER_HEIGHT_MAX = 7.9f;
