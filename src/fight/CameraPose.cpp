// The seven chase-camera placements around the followed creature, free of GL.
#include "CameraPose.h"

namespace {

// One camera mode, offsets in level units along the creature's forward (F)
// and right (R) directions.
struct CameraModeRow {
    float eyeForward;  // eye x/z = P + eyeForward * F + eyeRight * R
    float eyeRight;
    float eyeHeight;      // absolute world y of the eye
    float centreForward;  // centre x/z = P + centreForward * F; centre y = P.y
    Vec3 up;
};

// Columns: eyeForward, eyeRight, eyeHeight, centreForward, up.
constexpr CameraModeRow CAMERA_MODES[CAMERA_MODE_COUNT] = {
    {-50.0f, 0.0f, 40.0f, 20.0f, {0.0f, 1.0f, 0.0f}},   // high chase
    {-20.0f, 0.0f, 10.0f, 70.0f, {0.0f, 1.0f, 0.0f}},   // low chase
    {-20.0f, 5.0f, 6.0f, 70.0f, {0.0f, 1.0f, 0.0f}},    // over the right shoulder
    {-10.0f, 0.0f, 100.0f, 10.0f, {0.0f, 1.0f, 0.0f}},  // steep, from above and behind
    {20.0f, -5.0f, 0.0f, -70.0f, {0.0f, 1.0f, 0.0f}},   // from ahead and left, looking back
    {25.0f, 0.0f, 100.0f, 35.0f, {0.0f, 1.0f, 0.0f}},   // from above and ahead
    {0.0f, 0.0f, 100.0f, 0.0f, {1.0f, 0.0f, 0.0f}},     // straight down, +x up the screen
};

}  // namespace

bool cameraPose(int mode, Vec3 position, float headingSin, float headingCos, CameraPose& pose) {
    if (mode < 0 || mode >= CAMERA_MODE_COUNT) return false;
    const CameraModeRow& row = CAMERA_MODES[mode];
    const Vec3 forward{headingSin, 0.0f, -headingCos};
    const Vec3 right{headingCos, 0.0f, headingSin};
    Vec3 eye = add(position, add(scale(forward, row.eyeForward), scale(right, row.eyeRight)));
    eye.y = row.eyeHeight;
    Vec3 centre = add(position, scale(forward, row.centreForward));
    centre.y = position.y;
    pose.eye = eye;
    pose.centre = centre;
    pose.up = row.up;
    return true;
}
