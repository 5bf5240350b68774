// One small OpenGL window per test process, a known GL state and pixel read-back.
#include "GlTestWindow.h"

#include <SDL.h>

#include <cstdio>
#include <ostream>
#include <vector>

#include "ModelStore.h"
#include "TextureStore.h"
#include "TransparentQueue.h"

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

bool GlTestWindow::open() {
    static int state = 0;  // 0 not tried, 1 open, -1 failed
    if (state != 0) return state > 0;
    state = -1;
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        if (SDL_SetVideoMode(WIDTH, HEIGHT, 0, SDL_OPENGL)) state = 1;
    }
    if (state < 0) std::fprintf(stderr, "GL test window: no window: %s\n", SDL_GetError());
    return state > 0;
}

void GlTestWindow::resetState() {
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (GLenum cap :
         {GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_CULL_FACE})
        glDisable(cap);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDepthFunc(GL_LESS);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBlendFunc(GL_ONE, GL_ZERO);
    glAlphaFunc(GL_ALWAYS, 0.0f);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    // sdl12-compat draws into a framebuffer object of its own; the default read
    // and draw buffers already point there, so they are not set here.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

// The drawn frame's pixels in [x, x + w) x [y, y + h), RGB, bottom row first.
static std::vector<uint8_t> readRgb(int x, int y, int w, int h) {
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

Rgb GlTestWindow::pixel(int x, int y) {
    const std::vector<uint8_t> rgb = readRgb(x, y, 1, 1);
    return Rgb{rgb[0], rgb[1], rgb[2]};
}

std::vector<uint8_t> GlTestWindow::frame() {
    return readRgb(0, 0, WIDTH, HEIGHT);
}

void GlTest::TearDown() {
    if (!GlTestWindow::open()) return;
    transparentQueue.flush();
    modelStore.clearModels();
    textureStore.clearTextures();
    textureStore.setTextureQuality(1);
    GlTestWindow::resetState();
}
