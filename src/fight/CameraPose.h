// The seven chase-camera placements around the followed creature, free of GL.
#pragma once

#include "Vec3.h"

constexpr int CAMERA_MODE_COUNT = 7;  // modes 0 to 6

struct CameraPose {
    Vec3 eye;
    Vec3 centre;
    Vec3 up;
};

// position: the creature's position; headingSin/headingCos: sine and cosine of
// its heading, so forward is (s, 0, -c) and right is (c, 0, s). The eye height
// is an absolute world height; the centre's height is the creature's.
// False (pose untouched) for a mode outside 0 to 6.
bool cameraPose(int mode, Vec3 position, float headingSin, float headingCos, CameraPose& pose);
