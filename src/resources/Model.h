// A drawable model: one or more mesh frames with an animation clock.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DisplayListMode.h"
#include "Mesh.h"
#include "Vec3.h"

class Model {
public:
    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    virtual ~Model();

    // A name whose last character is '3' is an animation description file;
    // anything else is a plain 3DS file. False leaves the model not loaded.
    bool load(const char* fileName, DisplayListMode mode, bool mirrorX, bool mirrorY, bool mirrorZ);
    // Skinned form: stores the two texture names, then the short form.
    bool load(const char* fileName, const char* replacementTexture, const char* replacedTexture,
              DisplayListMode mode, bool mirrorX, bool mirrorY, bool mirrorZ);
    void draw(float x, float y, float z);
    void advance(int ticks);
    void setTime(int ticks);
    void resetTime();

    int frameCount() const { return static_cast<int>(frames.size()); }

    std::vector<std::unique_ptr<Mesh>> frames;  // one mesh per animation frame
    bool loaded = false;
    int looping = 0;
    int length = 0;  // ticks (game milliseconds)
    int time = 0;    // 0 <= time < length once loaded
    int ticksPerFrame = 1;
    int currentFrame = 0;  // time / ticksPerFrame
    Vec3 centre;           // bounds of the first frame
    float radius = 0.0f;
    Vec3 boundsMin;
    Vec3 boundsMax;
    std::string replacementTexture;
    std::string replacedTexture;
    DisplayListMode listMode = LISTS_NONE;
    // What the last load read and built, in mesh elements (meshElements):
    // every key and every frame, also when the load failed part way. The
    // model store adds these up to bound what one fight may load.
    long long elementsRead = 0;

private:
    // Steps of load. buildMode is the list mode for the frames as read: 0
    // when the model is mirrored afterwards, which builds the lists itself.
    bool loadSingle(const char* path, DisplayListMode buildMode);
    bool loadAnimation(const char* path, DisplayListMode buildMode);
    void mirror(bool mirrorX, bool mirrorY, bool mirrorZ);
};
