// One small OpenGL window per test process, a known GL state and pixel read-back.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
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
    static int litPixels() {
        const std::vector<uint8_t> rgb = frame();
        int lit = 0;
        for (size_t i = 0; i < rgb.size(); i += 3)
            if (rgb[i] | rgb[i + 1] | rgb[i + 2]) ++lit;
        return lit;
    }
    // Projection of the game's camera: 45 degrees, aspect 1, near 1, far 250;
    // identity modelview (the camera at the origin looking along -z).
    static void perspectiveCamera() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, double(WIDTH) / HEIGHT, 1.0, 250.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // The current projection matrix, and the one gluPerspective makes of these values
    // (the current one is left as it was).
    static std::vector<float> projection() {
        GLfloat p[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        return {p, p + 16};
    }
    static std::vector<float> perspective(double fovy, double aspect, double zNear, double zFar) {
        glPushAttrib(GL_TRANSFORM_BIT);  // the matrix mode
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(fovy, aspect, zNear, zFar);
        const std::vector<float> p = projection();
        glPopMatrix();
        glPopAttrib();
        return p;
    }
};

// Fixture for GL tests: opens the window (failing the test when there is no
// display), resets the state before each test and empties the global caches
// and the transparent queue after it, so tests cannot leak into each other.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(GlTestWindow::open()) << "GL tests need an X display (run under xvfb-run)";
        GlTestWindow::resetState();
    }
    void TearDown() override;
};
