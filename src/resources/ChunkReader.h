// Reads the subset of the 3DS chunk tree the game uses into a Mesh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct MeshData;
struct Material;
struct MeshObject;

// What an import noticed besides the geometry; collected for tools. When an
// import is given no report, the same notes about damaged files go to stderr.
struct ImportReport {
    uint32_t version = 0;               // the file version chunk's value; 0 when absent
    std::vector<std::string> warnings;  // one line each, without line end
    // Diffuse colours stored as floats (chunks 0x0010, 0x0013): the material
    // keeps the first three bytes of the floats as its red, green and blue.
    struct FloatColour {
        size_t material;  // index into the mesh's materials
        float rgb[3];     // the colour the file means, 0 to 1
    };
    std::vector<FloatColour> floatColours;
};

class ChunkReader {
public:
    // path is already located. Reads the file whole, then walks it. True when
    // the main chunk was read; false (mesh untouched) when the file cannot be
    // opened or does not start with a main chunk.
    static bool import(MeshData& mesh, const char* path, ImportReport* report = nullptr);
    // The same walk over bytes already in memory; name is used in messages.
    static bool importMemory(MeshData& mesh, const uint8_t* data, size_t size, const char* name,
                             ImportReport* report = nullptr);

    // Nesting deeper than this is skipped: a hostile file could otherwise
    // nest six-byte chunks until the stack runs out.
    static constexpr int MAX_DEPTH = 32;
    // Names and texture file names are cut to this many characters.
    static constexpr size_t MAX_NAME = 254;

private:
    // One chunk being read. consumed counts bytes read so far, header
    // included; start + consumed is the read position. end is where reading
    // must stop: the declared end, cut to the parent's end and the data's end.
    struct ChunkHeader {
        uint16_t id = 0;
        uint32_t length = 0;
        uint32_t consumed = 0;
        size_t start = 0;
        size_t end = 0;
        bool cut = false;  // the declared length ran past the parent or the data
    };
    enum class Handlers { Scene, Object, Material };

    ChunkReader(MeshData& mesh, const uint8_t* data, size_t size, const char* name,
                ImportReport* report);
    void run();

    void walk(ChunkHeader& parent, Handlers handlers, int depth);
    bool readHeader(ChunkHeader& parent, ChunkHeader& child);
    void dispatch(ChunkHeader& chunk, Handlers handlers, int depth);
    void handleScene(ChunkHeader& chunk, int depth);
    void handleObject(ChunkHeader& chunk, int depth);
    void handleMaterial(ChunkHeader& chunk, int depth);

    void readObject(ChunkHeader& chunk, int depth);
    void readVertices(ChunkHeader& chunk, MeshObject& object);
    void readFaces(ChunkHeader& chunk, MeshObject& object);
    void readFaceMaterial(ChunkHeader& chunk, MeshObject& object);
    void readUvs(ChunkHeader& chunk, MeshObject& object);
    void readDiffuse(ChunkHeader& chunk, Material& material);
    void dropBadFaces(MeshObject& object);

    size_t remaining(const ChunkHeader& c) const { return c.end - (c.start + c.consumed); }
    const uint8_t* at(const ChunkHeader& c) const { return data_ + c.start + c.consumed; }
    bool readU16(ChunkHeader& c, uint16_t& out);
    bool readU32(ChunkHeader& c, uint32_t& out);
    float takeFloat(ChunkHeader& c);  // caller has checked 4 bytes remain
    void readString(ChunkHeader& c, std::string& out, const char* what);
    void skipRest(ChunkHeader& c) { c.consumed = static_cast<uint32_t>(c.end - c.start); }
    uint16_t fittingCount(const ChunkHeader& c, uint16_t count, size_t itemSize, const char* what);

    void malformed(const ChunkHeader& c, const char* problem);
    void warn(const std::string& text);
    void note(const std::string& text);

    MeshData& mesh_;
    const uint8_t* data_;
    size_t size_;
    const char* name_;
    ImportReport* report_;
    bool stopped_ = false;  // the data is damaged: every walk ends
    bool depthWarned_ = false;
    // Material names to the first material of each name, for materials 0 to
    // namesIndexed_ - 1.
    std::unordered_map<std::string, size_t> materialByName_;
    size_t namesIndexed_ = 0;
};
