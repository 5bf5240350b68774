// The off-screen GL context: its sizes, its frame read back, its depth buffer, with no display at
// all. (The previews' tests draw the game's meshes, textures and GLU's camera in it.)
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CaptureOutput.h"
#include "OffscreenGl.h"

namespace {

using Rgba = std::array<uint8_t, 4>;
const Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255};

// The pixel (x, y) of a frame read back top row first, y counted from the top.
Rgba pixelAt(const std::vector<uint8_t>& frame, int width, int x, int y) {
    const size_t at = (size_t(y) * width + x) * 4;
    return {frame[at], frame[at + 1], frame[at + 2], frame[at + 3]};
}

// Sides from 1 to 4096 pixels, each way: at both ends and one past them.
TEST(OffscreenGl, TakesSidesFrom1To4096AndSaysWhichSizeItRefuses) {
    for (const auto& [w, h] : {std::pair{1, 1}, {4096, 1}, {1, 4096}})
        EXPECT_NE(nullptr, OffscreenGl::create(w, h)) << w << " x " << h;
    for (const auto& [w, h] : {std::pair{0, 1}, {1, 0}, {4097, 1}, {1, 4097}}) {
        std::unique_ptr<OffscreenGl> gl;
        const Output o = captureOutput([&, w = w, h = h] { gl = OffscreenGl::create(w, h); });
        EXPECT_EQ(nullptr, gl) << w << " x " << h;
        EXPECT_EQ("off-screen GL: size " + std::to_string(w) + " x " + std::to_string(h) +
                      " is outside 1 to 4096 pixels\n",
                  o.err);
    }
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext());
}

TEST(OffscreenGl, ReadsItsFrameBackTopRowFirstAndTakesItsContextAlong) {
    constexpr int W = 6, H = 4;
    auto gl = OffscreenGl::create(W, H);
    ASSERT_NE(nullptr, gl);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 2, 1);  // GL counts rows from the bottom
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    std::vector<uint8_t> want;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Rgba& c = y == H - 1 && x < 2 ? RED : BLUE;
            want.insert(want.end(), c.begin(), c.end());
        }
    EXPECT_EQ(want, gl->rgba()) << "the red corner belongs bottom left";

    {
        auto other = OffscreenGl::create(2, 2);
        ASSERT_NE(nullptr, other);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_EQ(GREEN, pixelAt(other->rgba(), 2, 1, 1));
    }
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext()) << "a context outlived its object";
    EXPECT_EQ(want, gl->rgba()) << "another context drew into this one's frame";
    ASSERT_TRUE(gl->makeCurrent());
    EXPECT_NE(nullptr, OSMesaGetCurrentContext());
    gl.reset();
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext());
}

// Drawn nearer first, red hides the green drawn after it behind.
TEST(OffscreenGl, HasADepthBuffer) {
    auto gl = OffscreenGl::create(1, 1);
    ASSERT_NE(nullptr, gl);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    for (const Rgba& c : {RED, GREEN}) {
        const float z = c == RED ? -0.5f : 0.5f;  // identity camera: the smaller z is nearer
        glColor4ubv(c.data());
        glBegin(GL_TRIANGLES);
        glVertex3f(-3, -3, z);
        glVertex3f(3, -3, z);
        glVertex3f(0, 3, z);
        glEnd();
    }
    EXPECT_EQ(RED, pixelAt(gl->rgba(), 1, 0, 0))
        << "green: the farther triangle passed the depth test";
}

}  // namespace
