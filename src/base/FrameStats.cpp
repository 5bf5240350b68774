// Triangle counting and the once-per-second rate line.
#include "FrameStats.h"

#include <cstdint>
#include <cstdio>

FrameStats frameStats;

void FrameStats::addTriangles(int count) {
    trianglesThisFrame += count;
}

void FrameStats::endFrame() {
    trianglesAccumulated += trianglesThisFrame;
    ++frames;
    trianglesThisFrame = 0;
}

void FrameStats::reportTriangles(int ms) {
    elapsed += ms;
    if (elapsed <= 1000) return;
    // 64-bit product: the rate stays right past 2.1 million triangles per second.
    const int perSecond =
        static_cast<int>(static_cast<int64_t>(trianglesAccumulated) * 1000 / elapsed);
    const int perFrame = frames > 0 ? trianglesAccumulated / frames : 0;
    elapsed = 0;
    trianglesAccumulated = 0;
    frames = 0;
    std::printf("Actual triangles : %d/sec %d/frame\n", perSecond, perFrame);
}
