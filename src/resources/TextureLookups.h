// What the texture lookups of one load came to, by name, so that a lookup whose answer cannot
// change within the load is not made again.
#pragma once

#include <string>
#include <unordered_map>

// getTextureAuto probes the data folders for two companion images before it
// finds even a cached texture, and a missing texture is searched for anew
// every time. Within one load nothing is released and the files stay as they
// are, so a name's first answer tells the rest: a plain texture is shared by
// name, a missing one stays missing, and only a companion-textured one loads a
// slot of its own each time, until such a load fails. The references taken
// are the same as with a getTextureAuto per material.
class TextureLookups {
public:
    // The TextureStore slot for the lowered name, or -1.
    int take(const std::string& name);

private:
    enum class Outcome { Plain, Companion, Failed };
    std::unordered_map<std::string, Outcome> outcomes_;
};
