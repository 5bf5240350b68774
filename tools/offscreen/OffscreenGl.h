// An OpenGL context of Mesa's off-screen renderer: RGBA colour and depth buffers in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct osmesa_context;

// Needs no display, no window system and no driver loaded at run time: the
// program links libOSMesa (tovask_gl_offscreen), so its GL calls and GLU's
// reach this context. Everything is freed when the object goes.
class OffscreenGl {
public:
    static constexpr int MAX_SIDE = 4096;      // pixels, either way
    static constexpr int DEPTH_BITS = 24;      // of the depth buffer
    static constexpr int BYTES_PER_PIXEL = 4;  // red, green, blue, alpha

    // A context drawing into a width x height colour buffer with a depth
    // buffer, made current. Null, with a message on stderr, for a size
    // outside 1 to MAX_SIDE or when Mesa cannot make it.
    static std::unique_ptr<OffscreenGl> create(int width, int height);
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    // Makes this context current again (after another was); false with a message.
    bool makeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }
    // The frame drawn so far, RGBA, top row first (the order image files
    // store): width x height x 4 bytes. Finishes pending drawing first when
    // this context is current.
    std::vector<uint8_t> rgba() const;

private:
    OffscreenGl(int width, int height);

    osmesa_context* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> colour_;  // Mesa's colour buffer, bottom row first
};
