// Entry points that feed one untrusted input to a reader of outside data. The
// fuzzers call them and so does the regression test, so a saved finding
// replays through exactly the code that failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Inputs holding several files separate them with this line.
constexpr char PART_SEPARATOR[] = "\n=====\n";

// The files of a multi-file input, in order; one part when there is no separator.
inline std::vector<std::string> splitParts(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = text.find(PART_SEPARATOR, from)) != std::string::npos;
         from = at + sizeof PART_SEPARATOR - 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

// A 3DS file: the chunk walk, then vertex normals and bounds.
int fuzzTds(const uint8_t* data, size_t size);
// An animation description file ("anim3") and its key files "k1.3ds", "k2.3ds"
// ... as parts; the first byte chooses the mirrored axes.
int fuzzAnimation(const uint8_t* data, size_t size);
// The settings file.
int fuzzSettings(const uint8_t* data, size_t size);
// The "chars" list, the "maps" list, then description files "f1", "f2" ...
int fuzzContentLists(const uint8_t* data, size_t size);
// One file read both as a character and as a map description, then the
// selection check and the file names built from its patterns.
int fuzzDescription(const uint8_t* data, size_t size);
// A colour image and an optional alpha companion, decoded from memory and
// converted the way textures are; also the plain path through a file.
int fuzzImage(const uint8_t* data, size_t size);

// Columns: target name (fuzzer binary and corpus folder), entry point.
struct FuzzTarget {
    const char* name;
    int (*entry)(const uint8_t* data, size_t size);
};
constexpr FuzzTarget FUZZ_TARGETS[] = {
    {"tds", fuzzTds},
    {"animation", fuzzAnimation},
    {"settings", fuzzSettings},
    {"contentlists", fuzzContentLists},
    {"description", fuzzDescription},
    {"image", fuzzImage},
};
