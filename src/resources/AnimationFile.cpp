// Reading and checking animation description files.
#include "AnimationFile.h"

#include <cstdio>
#include <cstring>

#include "MeshData.h"
#include "NamePattern.h"
#include "Text.h"

namespace {

// One whitespace-separated word as a whole int; anything else is refused
// (out-of-range numbers included, which a plain %d would not notice).
bool readInt(FILE* f, int& out) {
    char word[32];
    return std::fscanf(f, "%31s", word) == 1 && wholeNumber(word, out);
}

// The pattern word; one character more than a name may hold shows it was cut.
bool readPattern(FILE* f, std::string& out) {
    char word[DATA_NAME_SIZE];
    if (std::fscanf(f, "%255s", word) != 1) return false;
    if (std::strlen(word) > DATA_NAME_SIZE - 2) return false;
    out = word;
    return true;
}

// The first rule broken while reading, or null; field is then the 1-based
// value (line) it concerns.
const char* readValues(FILE* f, AnimationDescription& d, int& field) {
    field = 1;
    if (!readInt(f, d.length) || d.length < 1) return "the length must be 1 or more";
    field = 2;
    if (!readInt(f, d.frameCount) || d.frameCount < 1) return "the frame count must be 1 or more";
    if (d.frameCount > MAX_ANIMATION_FRAMES) return "the frame count is above 1000";
    field = 3;
    if (!readInt(f, d.keyCount) || d.keyCount < 1) return "the key count must be 1 or more";
    if (d.keyCount > MAX_ANIMATION_KEYS) return "the key count is above 100";
    field = 4;
    if (!readPattern(f, d.pattern) || d.pattern.empty())
        return "the key file pattern is missing or too long";
    field = 5;
    if (!readInt(f, d.looping)) return "the looping flag is missing";
    return nullptr;
}

// Frame i shows time i * step and blends the keys at t / span and the next
// one; index keyCount is the entry behind the last key, so no frame may
// need a higher index than that.
const char* checkTiming(const AnimationDescription& d) {
    if (d.span() < 1) return "the length is shorter than the key count";
    if (d.step() < 1) return "the length is shorter than the frame count";
    const long long lastTime = static_cast<long long>(d.frameCount - 1) * d.step();
    if (lastTime / d.span() > d.keyCount - 1) return "late frames would need keys past the last";
    return nullptr;
}

}  // namespace

bool keyFileName(const std::string& pattern, int key, char (&out)[DATA_NAME_SIZE]) {
    // Names and paths are at most 254 characters (DataLocator.h).
    return isNumberPattern(pattern.c_str()) &&
           numberedName(out, DATA_NAME_SIZE - 1, pattern.c_str(), key);
}

const char* animationDescriptionProblem(const char* path, AnimationDescription& out, int& field) {
    field = 0;
    FILE* f = std::fopen(path, "r");
    if (!f) return "cannot be opened";
    const char* problem = animationDescriptionProblem(f, out, field);
    std::fclose(f);
    return problem;
}

const char* animationDescriptionProblem(FILE* f, AnimationDescription& out, int& field) {
    AnimationDescription d;
    const char* problem = readValues(f, d, field);
    char lastName[DATA_NAME_SIZE];
    if (!problem) field = 4;
    if (!problem && !isNumberPattern(d.pattern.c_str()))
        problem = "the key file pattern needs exactly one %d and no other % than %%";
    if (!problem && !keyFileName(d.pattern, d.keyCount, lastName))
        problem = "the key file names are too long";
    if (!problem) {
        field = 1;
        problem = checkTiming(d);
    }
    if (problem) return problem;
    field = 0;
    out = d;
    return nullptr;
}

bool readAnimationDescription(const char* path, AnimationDescription& out) {
    int field;
    const char* problem = animationDescriptionProblem(path, out, field);
    if (!problem) return true;
    if (field == 0)
        std::fprintf(stderr, "Unable to open animation file %s\n", path);
    else
        std::fprintf(stderr, "Animation file %s refused: %s\n", path, problem);
    return false;
}

long long meshElements(const MeshData& key) {
    long long elements = key.objectCount() * OBJECT_ELEMENTS + key.materialCount();
    for (const MeshObject& o : key.objects)
        elements += o.vertexCount() + o.faceCount() + o.uvCount();
    return elements;
}

long long animationFrameElements(int frameCount, const MeshData& key1) {
    return static_cast<long long>(frameCount) * meshElements(key1);
}

std::string frameBudgetProblem(int frameCount, long long key1Elements, const std::string& key1) {
    const long long elements = static_cast<long long>(frameCount) * key1Elements;
    if (elements <= MAX_ANIMATION_FRAME_ELEMENTS) return "";
    return format("%d frames of %s hold %lld elements (%lld each), more than the %lld", frameCount,
                  key1.c_str(), elements, key1Elements, MAX_ANIMATION_FRAME_ELEMENTS);
}
