// The off-screen GL context: its sizes, its depth buffer, with no display at all. (The previews'
// tests draw the game's meshes, textures and GLU's camera in it.)
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CaptureOutput.h"
#include "OffscreenGl.h"

namespace {

// Sides from 1 to 4096 pixels, each way: at both ends and one past them.
TEST(OffscreenGl, TakesSidesFrom1To4096AndSaysWhichSizeItRefuses) {
    const std::pair<int, int> sizes[] = {{1, 1}, {4096, 1}, {1, 4096}, /* fit; not: */ {0, 1},
                                         {1, 0}, {4097, 1}, {1, 4097}};
    for (int row = 0; row < 7; ++row) {
        const auto [w, h] = sizes[row];
        std::unique_ptr<OffscreenGl> gl;
        const Output o = captureOutput([&, w = w, h = h] { gl = OffscreenGl::create(w, h); });
        EXPECT_EQ(o.err + (gl ? "made" : "none"),
                  row < 3 ? "made"
                          : "off-screen GL: size " + std::to_string(w) + " x " + std::to_string(h) +
                                " is outside 1 to 4096 pixels\nnone");
    }
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext());
}

// Blue drawn over red, but further off: the depth buffer keeps the red in front. (That the frame
// comes back top row first, the previews' tests see.)
TEST(OffscreenGl, KeepsTheNearerDrawingWithItsDepthBuffer) {
    auto gl = OffscreenGl::create(3, 2);
    ASSERT_NE(nullptr, gl);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    for (const float z : {-0.5f, 0.5f}) {  // identity camera: the smaller z is nearer
        glColor3f(z<0, 0, z> 0);
        glBegin(GL_TRIANGLES);
        glVertex3f(-3, -3, z);
        glVertex3f(3, -3, z);
        glVertex3f(0, 3, z);
        glEnd();
    }
    std::vector<uint8_t> red;
    for (int i = 0; i < 6; ++i) red.insert(red.end(), {255, 0, 0, 255});
    EXPECT_EQ(red, gl->rgba()) << "the blue hid the nearer red";
}

}  // namespace
