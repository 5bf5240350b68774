// Counts drawn triangles and reports the rate about once per second of game time.
#pragma once

class FrameStats {
public:
    void addTriangles(int count);
    void endFrame();
    // Adds ms; past 1000 ms prints "Actual triangles : %d/sec %d/frame\n" and starts over.
    void reportTriangles(int ms);

    int trianglesThisFrame = 0;
    int trianglesAccumulated = 0;
    int frames = 0;
    int elapsed = 0;
};

extern FrameStats frameStats;
