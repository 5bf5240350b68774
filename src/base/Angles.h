// The circle's constant and the one conversion from the game's degrees to the radians of sin and
// cos.
#pragma once

constexpr double PI = 3.141592653589793;
constexpr double TWO_PI = 2 * PI;

// Headings and view angles are whole turns of 360 degrees. Divided first, then
// scaled: every turn of the game's figures is computed in this order, so a
// fight replays to the same bits.
inline double degreesToRadians(double degrees) {
    return degrees / 360.0 * TWO_PI;
}
inline double radiansToDegrees(double radians) {
    return radians / TWO_PI * 360.0;
}
