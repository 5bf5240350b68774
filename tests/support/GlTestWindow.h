// One small OpenGL window per test process, a known GL state and pixel read-back.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
void PrintTo(const Rgb& c, std::ostream* os);

class GlTestWindow {
public:
    static constexpr int WIDTH = 256;   // pixels
    static constexpr int HEIGHT = 256;  // pixels
    // The font's virtual 640 x 480 text coordinates to window pixels.
    static int textX(int x) { return x * WIDTH / 640; }
    static int textY(int y) { return y * HEIGHT / 480; }

    // Opens the window on first use (SDL video, SDL_OPENGL, double buffered,
    // depth buffer); later calls only report whether it is there.
    static bool open();
    // Viewport over the window, identity projection and modelview, black clear
    // colour, white current colour, every capability the game touches off,
    // depth function GL_LESS, filled polygons, cleared colour and depth buffers.
    static void resetState();
    // Colour of the drawn frame at (x, y), pixels from the lower-left corner.
    // Finishes pending drawing first.
    static Rgb pixel(int x, int y);
    // The whole drawn frame, RGB, bottom row first.
    static std::vector<uint8_t> frame();
    // Number of pixels in the drawn frame that are not black.
    static int litPixels();
    // Projection of the game's camera: 45 degrees, aspect 1, near 1, far 250;
    // identity modelview (the camera at the origin looking along -z).
    static void perspectiveCamera();
    // The current projection matrix, and the one gluPerspective makes of these values
    // (the current one is left as it was).
    static std::vector<float> projection();
    static std::vector<float> perspective(double fovy, double aspect, double zNear, double zFar);
};

// Fixture for GL tests: opens the window (failing the test when there is no
// display), resets the state before each test and empties the global caches
// and the transparent queue after it, so tests cannot leak into each other.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
