// An OpenGL context of Mesa's off-screen renderer: RGBA colour and depth buffers in memory.
#include "OffscreenGl.h"

#include <GL/osmesa.h>

#include <cstdio>
#include <cstring>

OffscreenGl::OffscreenGl(int width, int height)
    : width_(width), height_(height), colour_(size_t(width) * height * BYTES_PER_PIXEL) {}

std::unique_ptr<OffscreenGl> OffscreenGl::create(int width, int height) {
    if (width < 1 || width > MAX_SIDE || height < 1 || height > MAX_SIDE) {
        std::fprintf(stderr, "off-screen GL: size %d x %d is outside 1 to %d pixels\n", width,
                     height, MAX_SIDE);
        return nullptr;
    }
    std::unique_ptr<OffscreenGl> gl(new OffscreenGl(width, height));
    // No stencil or accumulation buffer: the game draws with neither (it only
    // clears them, which does nothing where they are absent).
    gl->context_ = OSMesaCreateContextExt(OSMESA_RGBA, DEPTH_BITS, 0, 0, nullptr);
    if (gl->context_ == nullptr) {
        std::fprintf(stderr,
                     "off-screen GL: Mesa could not make an RGBA context with a %d-bit "
                     "depth buffer\n",
                     DEPTH_BITS);
        return nullptr;
    }
    if (!gl->makeCurrent()) return nullptr;
    // The program's GL calls bind to whichever library defining them loads
    // first; with a window's libGL ahead of libOSMesa they would reach no context.
    if (glGetString(GL_RENDERER) == nullptr) {
        std::fprintf(stderr,
                     "off-screen GL: the program's GL calls do not reach Mesa's "
                     "off-screen renderer (another GL library is linked before it)\n");
        return nullptr;
    }
    return gl;
}

OffscreenGl::~OffscreenGl() {
    if (context_ == nullptr) return;
    if (OSMesaGetCurrentContext() == context_) OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(context_);
}

bool OffscreenGl::makeCurrent() {
    if (OSMesaMakeCurrent(context_, colour_.data(), GL_UNSIGNED_BYTE, width_, height_)) return true;
    std::fprintf(stderr, "off-screen GL: Mesa could not make the %d x %d context current\n", width_,
                 height_);
    return false;
}

std::vector<uint8_t> OffscreenGl::rgba() const {
    if (OSMesaGetCurrentContext() == context_) glFinish();
    const size_t row = size_t(width_) * BYTES_PER_PIXEL;
    std::vector<uint8_t> out(colour_.size());
    for (int y = 0; y < height_; ++y)
        std::memcpy(&out[row * y], &colour_[row * (height_ - 1 - y)], row);
    return out;
}
