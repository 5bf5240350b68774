// Helpers shared by the resource tests: whole states as one line of text.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "Vec3.h"

// Points as "x y z" with two decimals each, separated by ", " (a negative zero prints as 0.00).
inline std::string describe(const std::vector<Vec3>& points) {
    std::string s;
    for (const Vec3& p : points) {
        char text[96];
        std::snprintf(text, sizeof text, "%s%.2f %.2f %.2f", s.empty() ? "" : ", ", p.x + 0.0f,
                      p.y + 0.0f, p.z + 0.0f);
        s += text;
    }
    return s;
}
