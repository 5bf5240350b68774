// Model loading (plain and animated), mirroring and the animation clock.
#include "Model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "AnimationFile.h"
#include "ChunkReader.h"
#include "DataLocator.h"
#include "TextureLookups.h"

namespace {

std::string cutName(const char* text) {
    if (!text) return std::string();
    return std::string(text, strnlen(text, ChunkReader::MAX_NAME));
}

// frame = f * b + (1 - f) * a, vertex by vertex. Keys that disagree with key
// 1 in their objects or vertex counts blend only the part all three share;
// the frame keeps key 1's positions elsewhere.
void interpolate(const Mesh& a, const Mesh& b, Mesh& frame, float f) {
    const size_t objects = std::min({a.objects.size(), b.objects.size(), frame.objects.size()});
    for (size_t o = 0; o < objects; ++o) {
        const std::vector<Vec3>& va = a.objects[o].vertices;
        const std::vector<Vec3>& vb = b.objects[o].vertices;
        std::vector<Vec3>& out = frame.objects[o].vertices;
        const size_t n = std::min({va.size(), vb.size(), out.size()});
        for (size_t i = 0; i < n; ++i) {
            out[i].x = f * vb[i].x + (1.0f - f) * va[i].x;
            out[i].y = f * vb[i].y + (1.0f - f) * va[i].y;
            out[i].z = f * vb[i].z + (1.0f - f) * va[i].z;
        }
    }
}

bool withinFrameBudget(const char* path, int frameCount, const char* key1Name, const Mesh& key1) {
    const std::string problem = frameBudgetProblem(frameCount, meshElements(key1), key1Name);
    if (problem.empty()) return true;
    std::fprintf(stderr, "Animation file %s refused: %s allowed\n", path, problem.c_str());
    return false;
}

bool sameShape(const Mesh& a, const Mesh& b) {
    if (a.objects.size() != b.objects.size()) return false;
    for (size_t o = 0; o < a.objects.size(); ++o)
        if (a.objects[o].vertices.size() != b.objects[o].vertices.size()) return false;
    return true;
}

}  // namespace

Model::~Model() = default;

bool Model::load(const char* fileName, const char* replacement, const char* replaced,
                 DisplayListMode mode, bool mirrorX, bool mirrorY, bool mirrorZ) {
    replacementTexture = cutName(replacement);
    replacedTexture = cutName(replaced);
    return load(fileName, mode, mirrorX, mirrorY, mirrorZ);
}

bool Model::load(const char* fileName, DisplayListMode mode, bool mirrorX, bool mirrorY,
                 bool mirrorZ) {
    if (loaded || !fileName || !*fileName) return false;
    elementsRead = 0;
    const size_t n = strnlen(fileName, DATA_NAME_SIZE);
    if (n > ChunkReader::MAX_NAME) {
        std::fprintf(stderr, "Unable to locate file %.64s...\n", fileName);
        return false;
    }
    char path[DATA_NAME_SIZE];
    std::memcpy(path, fileName, n + 1);
    if (!locateDataFile(path, true)) return false;

    listMode = mode;
    const DisplayListMode buildMode = (mirrorX || mirrorY || mirrorZ) ? LISTS_NONE : mode;
    const bool animated = namesAnimation(fileName);
    if (!(animated ? loadAnimation(path, buildMode) : loadSingle(path, buildMode))) {
        frames.clear();
        length = 0;
        ticksPerFrame = 1;
        return false;
    }
    mirror(mirrorX, mirrorY, mirrorZ);
    const Mesh& first = *frames.front();
    centre = first.centre;
    radius = first.radius;
    boundsMin = first.boundsMin;
    boundsMax = first.boundsMax;
    time = 0;
    currentFrame = 0;
    loaded = true;
    return true;
}

bool Model::loadSingle(const char* path, DisplayListMode buildMode) {
    length = 1;
    ticksPerFrame = 1;
    frames.clear();
    frames.push_back(std::make_unique<Mesh>());
    const bool built =
        frames.front()->load(path, replacementTexture.c_str(), replacedTexture.c_str(), buildMode);
    elementsRead = meshElements(*frames.front());
    return built;
}

bool Model::loadAnimation(const char* path, DisplayListMode buildMode) {
    AnimationDescription d;
    if (!readAnimationDescription(path, d)) return false;
    char name[DATA_NAME_SIZE];

    // Keys 1 .. keyCount, then the entry behind the last: key 1 again when
    // looping, else the last key repeated.
    TextureLookups lookups;
    std::vector<std::unique_ptr<Mesh>> keys;
    for (int k = 1; k <= d.keyCount; ++k) {
        keyFileName(d.pattern, k, name);  // fits: checked for the longest number
        keys.push_back(std::make_unique<Mesh>());
        keys.back()->load(name, replacementTexture.c_str(), replacedTexture.c_str(), LISTS_NONE,
                          lookups);
        elementsRead += meshElements(*keys.back());
        if (k == 1 && !withinFrameBudget(path, d.frameCount, name, *keys.front())) return false;
        if (!sameShape(*keys.front(), *keys.back()))
            std::fprintf(stderr, "Animation file %s: key %d does not match key 1\n", path, k);
    }
    std::vector<const Mesh*> keyAt;
    for (const auto& key : keys) keyAt.push_back(key.get());
    keyAt.push_back(d.looping ? keys.front().get() : keys.back().get());

    // Every frame starts as a copy of key 1 (faces, coordinates, materials)
    // with textures of its own, and gets blended positions. The skin, if any,
    // replaces every texture.
    frames.clear();
    for (int i = 0; i < d.frameCount; ++i) {
        frames.push_back(std::make_unique<Mesh>());
        frames.back()->loadCopy(*keys.front(), replacementTexture.c_str(), "", lookups);
    }
    elementsRead += animationFrameElements(d.frameCount, *keys.front());
    const int span = d.span(), step = d.step();
    for (int i = 0; i < d.frameCount; ++i) {
        const int t = i * step;
        const int k = t / span;  // below keyCount: checked when the file was read
        const float f = static_cast<float>(t - k * span) / static_cast<float>(span);
        Mesh& frame = *frames[static_cast<size_t>(i)];
        interpolate(*keyAt[static_cast<size_t>(k)], *keyAt[static_cast<size_t>(k) + 1], frame, f);
        frame.computeNormals();
        frame.computeBounds();
        frame.buildLists(buildMode);
    }
    looping = d.looping;
    ticksPerFrame = step;
    length = step * d.frameCount;  // whole frames only
    return true;
}

// Mirroring an odd number of axes turns the faces inside out; swapping two
// corners of every face restores their winding.
void Model::mirror(bool mirrorX, bool mirrorY, bool mirrorZ) {
    if (!mirrorX && !mirrorY && !mirrorZ) return;
    const bool swapWinding = (int(mirrorX) + int(mirrorY) + int(mirrorZ)) % 2 == 1;
    for (auto& frame : frames) {
        for (MeshObject& object : frame->objects) {
            for (Vec3& v : object.vertices) {
                if (mirrorX) v.x = -v.x;
                if (mirrorY) v.y = -v.y;
                if (mirrorZ) v.z = -v.z;
            }
            if (swapWinding)
                for (size_t f = 0; f + 2 < object.faces.size(); f += 3)
                    std::swap(object.faces[f + 1], object.faces[f + 2]);
        }
        frame->computeNormals();
        frame->computeBounds();
        frame->buildLists(listMode);
    }
}

void Model::advance(int ticks) {
    if (length <= 0 || ticksPerFrame <= 0) {  // not loaded: nothing to run
        time = 0;
        currentFrame = 0;
        return;
    }
    long long t = static_cast<long long>(time) + ticks;
    if (t < 0) t = looping ? (t % length + length) % length : 0;
    if (t >= length) t = looping ? t % length : length - 1;
    time = static_cast<int>(t);
    currentFrame = time / ticksPerFrame;
}

void Model::setTime(int ticks) {
    time = ticks;
    advance(0);
}

void Model::resetTime() {
    time = 0;
    currentFrame = 0;
}

void Model::draw(float x, float y, float z) {
    if (!loaded || currentFrame < 0 || currentFrame >= frameCount()) return;
    frames[static_cast<size_t>(currentFrame)]->draw(x, y, z);
}
