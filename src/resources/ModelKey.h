// A model request and the model store's key for it: which requests share one model.
#pragma once

#include <cstddef>
#include <string>

#include "DisplayListMode.h"

// Longest name the store takes, in characters; a request naming a longer file
// or texture is refused without taking a slot.
constexpr size_t MAX_MODEL_NAME = 254;

// One request to the model store, names spelt as the caller spells them.
struct ModelRequest {
    std::string fileName;            // empty: no model is asked for
    std::string replacementTexture;  // the skin put on the model; may be empty
    std::string replacedTexture;     // the texture the skin replaces; empty: every one
    DisplayListMode listMode = LISTS_NONE;
    bool mirrorX = false, mirrorY = false, mirrorZ = false;
};

// Requests with equal keys share one model (and one of the store's slots):
// the three names lowered (ASCII A to Z only) and compared byte for byte, the
// list mode and the three mirror flags.
struct ModelKey {
    std::string fileName;
    std::string replacementTexture;
    std::string replacedTexture;
    DisplayListMode listMode = LISTS_NONE;
    unsigned char mirrorX = 0, mirrorY = 0, mirrorZ = 0;

    bool operator==(const ModelKey& other) const;
};

// The key of a request; null names count as empty. False when the store
// refuses the request outright: no file name given, or a name longer than
// MAX_MODEL_NAME (then *overlong, when given, points at that name).
bool makeModelKey(const char* fileName, const char* replacementTexture, const char* replacedTexture,
                  DisplayListMode mode, bool mirrorX, bool mirrorY, bool mirrorZ, ModelKey& key,
                  const char** overlong = nullptr);
bool makeModelKey(const ModelRequest& request, ModelKey& key);
