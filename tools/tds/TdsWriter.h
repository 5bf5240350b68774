// Writes 3DS files from a small in-memory scene: the chunks the game's reader understands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Coordinates here are the file's: z up. The game stores a file vertex (x, y, z)
// as (x, z, -y); gameToFile turns a game-axes point (y up) into file axes.
struct TdsVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};
inline TdsVertex gameToFile(float x, float y, float z) { return {x, -z, y}; }

struct TdsMaterial {
    std::string name;
    std::string textureFile;  // texture map 1; empty writes no map block
    uint8_t colour[3] = {200, 200, 200};  // 24-bit diffuse colour
};

// One face material group: the named material applied to the listed faces.
struct TdsFaceGroup {
    std::string material;
    std::vector<uint16_t> faces;  // indices into the object's face list
};

struct TdsObject {
    std::string name;                 // a leading underscore hides the object in the game
    std::vector<TdsVertex> vertices;  // file axes
    std::vector<uint16_t> faces;      // a, b, c per triangle
    std::vector<float> uvs;           // u, v per vertex; empty writes no coordinate chunk
    std::vector<TdsFaceGroup> groups; // written after the face list, in order
    bool smoothingGroups = true;      // write a smoothing-group chunk (the game skips it)
};

struct TdsScene {
    uint32_t version = 3;
    std::vector<TdsMaterial> materials;  // written before the objects
    std::vector<TdsObject> objects;
};

// The file's bytes. Counts above 65535 are the caller's mistake and are cut.
std::vector<uint8_t> writeTds(const TdsScene& scene);
// Writes the bytes to path; false with a message on stderr when it cannot.
bool saveTds(const TdsScene& scene, const std::string& path);

// Low-level builder for hand-made (also malformed) chunk trees in tests.
class TdsChunk {
public:
    explicit TdsChunk(uint16_t id) : id_(id) {}
    TdsChunk& u8(uint8_t v);
    TdsChunk& u16(uint16_t v);
    TdsChunk& u32(uint32_t v);
    TdsChunk& f32(float v);
    TdsChunk& str(const std::string& s);  // with its terminating NUL
    TdsChunk& raw(const std::vector<uint8_t>& bytes);
    TdsChunk& child(const TdsChunk& c);
    // Header plus body; lengthOverride replaces the stored length (for broken files).
    std::vector<uint8_t> bytes() const;
    std::vector<uint8_t> bytes(uint32_t lengthOverride) const;

private:
    uint16_t id_;
    std::vector<uint8_t> body_;
};
