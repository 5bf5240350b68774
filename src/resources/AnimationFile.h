// The animation description file: five values that turn key 3DS files into frames.
#pragma once

#include <cstdio>
#include <string>

#include "DataLocator.h"

struct MeshData;

// A model name whose last character is '3' names an animation description
// file; any other a 3DS file.
inline bool namesAnimation(const std::string& name) {
    return !name.empty() && name.back() == '3';
}

// Text, one value per line: length (ticks), frameCount, keyCount, the key file
// name pattern (one word with one integer conversion), looping (0 or not 0).
struct AnimationDescription {
    int length = 0;
    int frameCount = 0;
    int keyCount = 0;
    std::string pattern;
    int looping = 0;

    // Integer divisions: ticks per key span and per frame.
    int span() const { return length / keyCount; }
    int step() const { return length / frameCount; }
};

// Every frame is a whole mesh made from key 1's file and every key a file
// read: a downloaded file must not be able to ask for millions of them.
constexpr int MAX_ANIMATION_FRAMES = 1000;
constexpr int MAX_ANIMATION_KEYS = 100;
// Every frame holds a copy of key 1: its vertices (with normals), faces,
// texture coordinates, materials and objects, each an element here except an
// object, which costs as much to hold and draw as OBJECT_ELEMENTS vertices.
// An animation whose frames would hold more elements than this in all is
// refused: that is about 30 MB and a third of a second per model. The default
// characters' animations hold under 14,000; a body of 5,000 vertices in 16
// frames about 300,000.
constexpr long long MAX_ANIMATION_FRAME_ELEMENTS = 1000000;
constexpr long long OBJECT_ELEMENTS = 16;

// The elements of one frame made from this key mesh, and of all frames.
long long meshElements(const MeshData& key);
long long animationFrameElements(int frameCount, const MeshData& key1);
// Frames copy key 1 whole, so their count times its elements is what the
// model holds: "" within MAX_ANIMATION_FRAME_ELEMENTS, else what exceeds it,
// "N frames of KEY1 hold E elements (K each), more than the MAX" (the caller
// says what follows).
std::string frameBudgetProblem(int frameCount, long long key1Elements, const std::string& key1);

// Reads and checks the file at path (already located). False, with a message
// on stderr, when it cannot be opened or breaks a rule: counts below 1 or
// above the limits above, a pattern that is not a number pattern (one integer
// conversion, isNumberPattern), a span or frame step of 0 ticks, or frames
// whose time would need a key beyond the last one.
bool readAnimationDescription(const char* path, AnimationDescription& out);
// The same reading without a message: the rule the file breaks ("cannot be
// opened" with field 0), or null with out filled. field is the 1-based value
// (line) the rule concerns: 1 length, 2 frames, 3 keys, 4 pattern, 5 looping.
const char* animationDescriptionProblem(const char* path, AnimationDescription& out, int& field);
// The same from an open file, read from where it stands (the caller closes it).
const char* animationDescriptionProblem(FILE* file, AnimationDescription& out, int& field);

// Key file name for key k (from 1). False when it would not fit a name buffer.
bool keyFileName(const std::string& pattern, int key, char (&out)[DATA_NAME_SIZE]);
