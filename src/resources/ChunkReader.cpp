// 3DS chunk walk: objects (vertices, faces, coordinates, material) and materials.
#include "ChunkReader.h"

#include <cstdio>
#include <cstring>

#include "MeshData.h"
#include "Text.h"

namespace {

// Chunk ids the game reads; everything else is skipped whole.
constexpr uint16_t MAIN = 0x4D4D, VERSION = 0x0002, EDITOR = 0x3D3D, OBJECT = 0x4000,
                   TRIMESH = 0x4100, VERTICES = 0x4110, FACES = 0x4120, FACE_MATERIAL = 0x4130,
                   UVS = 0x4140, MATERIAL = 0xAFFF, MAT_NAME = 0xA000, MAT_DIFFUSE = 0xA020,
                   MAP_1 = 0xA200, MAP_FILE = 0xA300, COLOUR_FLOAT = 0x0010,
                   LINEAR_COLOUR_FLOAT = 0x0013;
constexpr size_t HEADER_SIZE = 6;
constexpr size_t READ_BLOCK = 64 * 1024;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Reads the main chunk's bytes (header included): the declared length at
// most, in blocks, so a lying length allocates no more than the file holds.
std::vector<uint8_t> readMainChunk(FILE* f, const uint8_t (&header)[HEADER_SIZE]) {
    std::vector<uint8_t> data(header, header + HEADER_SIZE);
    const uint32_t length = le32(header + 2);
    size_t wanted = length > HEADER_SIZE ? length - HEADER_SIZE : 0;
    while (wanted > 0) {
        const size_t block = wanted < READ_BLOCK ? wanted : READ_BLOCK;
        const size_t old = data.size();
        data.resize(old + block);
        const size_t got = std::fread(data.data() + old, 1, block, f);
        data.resize(old + got);
        if (got < block) break;
        wanted -= got;
    }
    return data;
}

}  // namespace

bool ChunkReader::import(MeshData& mesh, const char* path, ImportReport* report) {
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "Unable to find the file: %s!\n", path);
        return false;
    }
    uint8_t header[HEADER_SIZE];
    const bool haveHeader = std::fread(header, 1, HEADER_SIZE, f) == HEADER_SIZE;
    if (!haveHeader || le16(header) != MAIN) {
        std::fclose(f);
        std::fprintf(stderr, "Unable to load PRIMARY chuck from file: %s!\n", path);
        return false;
    }
    const std::vector<uint8_t> data = readMainChunk(f, header);
    std::fclose(f);
    return importMemory(mesh, data.data(), data.size(), path, report);
}

bool ChunkReader::importMemory(MeshData& mesh, const uint8_t* data, size_t size, const char* name,
                               ImportReport* report) {
    if (!data || size < HEADER_SIZE || le16(data) != MAIN) {
        std::fprintf(stderr, "Unable to load PRIMARY chuck from file: %s!\n", name);
        return false;
    }
    ChunkReader reader(mesh, data, size, name, report);
    reader.run();
    return true;
}

ChunkReader::ChunkReader(MeshData& mesh, const uint8_t* data, size_t size, const char* name,
                         ImportReport* report)
    : mesh_(mesh), data_(data), size_(size), name_(name), report_(report) {}

void ChunkReader::run() {
    ChunkHeader main;
    main.id = MAIN;
    main.length = le32(data_ + 2);
    main.consumed = HEADER_SIZE;
    main.start = 0;
    if (main.length < HEADER_SIZE) {
        malformed(main, "is shorter than its header");
        return;
    }
    main.end = main.length <= size_ ? main.length : size_;
    if (main.end < main.length) malformed(main, "runs past the end of the file");
    walk(main, Handlers::Scene, 0);
}

// Reads children until the parent's length is used up; a child may consume
// less than its length (face lists, diffuse colours), and the bytes it left
// are then read here as further children.
void ChunkReader::walk(ChunkHeader& parent, Handlers handlers, int depth) {
    while (!stopped_ && parent.consumed < parent.length) {
        ChunkHeader child;
        if (!readHeader(parent, child)) return;
        dispatch(child, handlers, depth + 1);
        parent.consumed += child.consumed;
        if (child.cut) stopped_ = true;
    }
}

bool ChunkReader::readHeader(ChunkHeader& parent, ChunkHeader& child) {
    const size_t left = remaining(parent);
    if (left == 0) return false;  // the parent was cut short; already reported
    if (left < HEADER_SIZE) {
        malformed(parent, "ends inside a chunk header");
        stopped_ = true;
        return false;
    }
    child.start = parent.start + parent.consumed;
    child.id = le16(at(parent));
    child.length = le32(at(parent) + 2);
    child.consumed = HEADER_SIZE;
    if (child.length < HEADER_SIZE) {
        malformed(child, "is shorter than its header");
        stopped_ = true;
        return false;
    }
    child.end = child.start + child.length;
    if (child.length > left) {
        child.end = parent.end;
        child.cut = true;
        malformed(child, "runs past the end of its parent");
    }
    return true;
}

void ChunkReader::dispatch(ChunkHeader& chunk, Handlers handlers, int depth) {
    if (depth > MAX_DEPTH) {
        if (!depthWarned_) malformed(chunk, "is nested too deeply; skipped");
        depthWarned_ = true;
        skipRest(chunk);
        return;
    }
    switch (handlers) {
        case Handlers::Scene:
            handleScene(chunk, depth);
            break;
        case Handlers::Object:
            handleObject(chunk, depth);
            break;
        case Handlers::Material:
            handleMaterial(chunk, depth);
            break;
    }
}

void ChunkReader::handleScene(ChunkHeader& chunk, int depth) {
    switch (chunk.id) {
        case VERSION: {
            uint32_t version = 0;
            if (!readU32(chunk, version)) return;
            if (report_) report_->version = version;
            if (version > 3) {
                if (report_)
                    note(
                        format("This 3DS file is over version 3 so it may load incorrectly "
                               "(version %u)",
                               version));
                else
                    std::fprintf(stderr,
                                 "This 3DS file is over version 3 so it may load incorrectly");
            }
            skipRest(chunk);
            return;
        }
        case EDITOR: {
            // The first child (the mesh version in conforming files) is passed over unread.
            ChunkHeader first;
            if (!readHeader(chunk, first)) return;
            skipRest(first);
            chunk.consumed += first.consumed;
            if (first.cut) {
                stopped_ = true;
                return;
            }
            walk(chunk, Handlers::Scene, depth);
            return;
        }
        case OBJECT:
            readObject(chunk, depth);
            return;
        case MATERIAL:
            mesh_.materials.emplace_back();
            walk(chunk, Handlers::Material, depth);
            return;
        default:
            skipRest(chunk);
            return;
    }
}

void ChunkReader::readObject(ChunkHeader& chunk, int depth) {
    mesh_.objects.emplace_back();
    std::string name;
    readString(chunk, name, "object name");
    mesh_.objects.back().name = name;
    mesh_.objects.back().visible = name.empty() || name[0] != '_';
    walk(chunk, Handlers::Object, depth);
    // A face list may come before its vertex list, so faces are checked only
    // once the whole object has been read.
    dropBadFaces(mesh_.objects.back());
}

void ChunkReader::handleObject(ChunkHeader& chunk, int depth) {
    MeshObject& object = mesh_.objects.back();
    switch (chunk.id) {
        case TRIMESH:
            walk(chunk, Handlers::Object, depth);
            return;
        case VERTICES:
            readVertices(chunk, object);
            return;
        case FACES:
            readFaces(chunk, object);
            return;
        case FACE_MATERIAL:
            readFaceMaterial(chunk, object);
            return;
        case UVS:
            readUvs(chunk, object);
            return;
        default:
            skipRest(chunk);
            return;
    }
}

void ChunkReader::readVertices(ChunkHeader& chunk, MeshObject& object) {
    uint16_t count = 0;
    if (!readU16(chunk, count)) return;
    count = fittingCount(chunk, count, 12, "vertex list");
    object.vertices.resize(count);
    for (Vec3& v : object.vertices) {
        const float x = takeFloat(chunk), y = takeFloat(chunk), z = takeFloat(chunk);
        v = Vec3{x, z, -y};  // the file's z is up, the game's y
    }
    skipRest(chunk);
}

// Stops right after the list: the material and smoothing groups inside the
// face list's length are read by the enclosing walk as its own children.
void ChunkReader::readFaces(ChunkHeader& chunk, MeshObject& object) {
    uint16_t count = 0;
    if (!readU16(chunk, count)) return;
    count = fittingCount(chunk, count, 8, "face list");
    object.faces.resize(size_t{count} * 3);
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* p = at(chunk);
        object.faces[3 * i] = le16(p);
        object.faces[3 * i + 1] = le16(p + 2);
        object.faces[3 * i + 2] = le16(p + 4);  // p + 6: edge flags, unused
        chunk.consumed += 8;
    }
}

// The last group met decides the object's material; a textured flag once set
// stays. Looked up by name: thousands of groups each searching thousands of
// materials would make a file of a megabyte take seconds.
void ChunkReader::readFaceMaterial(ChunkHeader& chunk, MeshObject& object) {
    std::string name;
    readString(chunk, name, "material group name");
    skipRest(chunk);
    if (mesh_.materials.empty()) return;
    // Every material read so far is complete (groups and materials are never
    // nested in each other), so its name can be indexed; the first of equal
    // names is the one a search from the first material would find.
    for (; namesIndexed_ < mesh_.materials.size(); ++namesIndexed_)
        materialByName_.emplace(mesh_.materials[namesIndexed_].name, namesIndexed_);
    const auto found = materialByName_.find(name);
    if (found != materialByName_.end()) {
        object.materialIndex = static_cast<int>(found->second);
        if (!mesh_.materials[found->second].textureFile.empty()) object.textured = true;
        return;
    }
    object.materialIndex = -1;
    note(format("object \"%s\" names unknown material \"%s\"", object.name.c_str(), name.c_str()));
}

void ChunkReader::readUvs(ChunkHeader& chunk, MeshObject& object) {
    uint16_t count = 0;
    if (!readU16(chunk, count)) return;
    count = fittingCount(chunk, count, 8, "texture coordinate list");
    object.uvs.resize(size_t{count} * 2);
    for (float& value : object.uvs) value = takeFloat(chunk);
    skipRest(chunk);
}

void ChunkReader::handleMaterial(ChunkHeader& chunk, int depth) {
    Material& material = mesh_.materials.back();
    switch (chunk.id) {
        case MAT_NAME:
            readString(chunk, material.name, "material name");
            skipRest(chunk);
            return;
        case MAT_DIFFUSE:
            readDiffuse(chunk, material);
            return;
        case MAP_1:
            walk(chunk, Handlers::Material, depth);
            return;
        case MAP_FILE:
            readString(chunk, material.textureFile, "texture file name");
            skipRest(chunk);
            return;
        default:
            skipRest(chunk);
            return;
    }
}

// Only the first colour child is read, as 24-bit red, green, blue; later
// children are met by the enclosing walk and skipped there.
void ChunkReader::readDiffuse(ChunkHeader& chunk, Material& material) {
    ChunkHeader colour;
    if (!readHeader(chunk, colour)) return;
    if (remaining(colour) >= 3) std::memcpy(material.colour, at(colour), 3);
    const bool floats = colour.id == COLOUR_FLOAT || colour.id == LINEAR_COLOUR_FLOAT;
    if (report_ && floats && remaining(colour) >= 12) {
        ImportReport::FloatColour noted{mesh_.materials.size() - 1, {}};
        for (float& channel : noted.rgb) channel = takeFloat(colour);
        report_->floatColours.push_back(noted);
    }
    skipRest(colour);
    chunk.consumed += colour.consumed;
    if (colour.cut) stopped_ = true;
}

void ChunkReader::dropBadFaces(MeshObject& object) {
    const uint32_t vertexCount = static_cast<uint32_t>(object.vertices.size());
    size_t kept = 0;
    for (size_t f = 0; f + 2 < object.faces.size(); f += 3) {
        const uint32_t* face = &object.faces[f];
        if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) continue;
        std::memmove(&object.faces[kept], face, 3 * sizeof(uint32_t));
        kept += 3;
    }
    const size_t dropped = (object.faces.size() - kept) / 3;
    object.faces.resize(kept);
    if (dropped > 0)
        warn(format("object \"%s\": %zu faces point past its %u vertices and were dropped",
                    object.name.c_str(), dropped, vertexCount));
}

bool ChunkReader::readU16(ChunkHeader& c, uint16_t& out) {
    if (remaining(c) < 2) {
        malformed(c, "ends before its count");
        skipRest(c);
        return false;
    }
    out = le16(at(c));
    c.consumed += 2;
    return true;
}

bool ChunkReader::readU32(ChunkHeader& c, uint32_t& out) {
    if (remaining(c) < 4) {
        malformed(c, "ends before its value");
        skipRest(c);
        return false;
    }
    out = le32(at(c));
    c.consumed += 4;
    return true;
}

float ChunkReader::takeFloat(ChunkHeader& c) {
    const uint32_t bits = le32(at(c));
    c.consumed += 4;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Up to and including the NUL, never past the chunk; longer names are cut.
void ChunkReader::readString(ChunkHeader& c, std::string& out, const char* what) {
    out.clear();
    const size_t left = remaining(c);
    const uint8_t* p = at(c);
    size_t n = 0;
    while (n < left && p[n] != 0) ++n;
    out.assign(reinterpret_cast<const char*>(p), n < MAX_NAME ? n : MAX_NAME);
    if (n > MAX_NAME) warn(format("%s cut to %zu characters: \"%s\"", what, MAX_NAME, out.c_str()));
    if (n == left) warn(format("%s \"%s\" has no terminating zero", what, out.c_str()));
    c.consumed += static_cast<uint32_t>(n < left ? n + 1 : n);
}

uint16_t ChunkReader::fittingCount(const ChunkHeader& c, uint16_t count, size_t itemSize,
                                   const char* what) {
    const size_t fits = remaining(c) / itemSize;
    if (count <= fits) return count;
    warn(format("%s at offset %zu claims %u entries but holds only %zu", what, c.start, count,
                fits));
    return static_cast<uint16_t>(fits);
}

void ChunkReader::malformed(const ChunkHeader& c, const char* problem) {
    warn(format("chunk 0x%04X at offset %zu (length %u) %s", c.id, c.start, c.length, problem));
}

void ChunkReader::warn(const std::string& text) {
    if (report_)
        report_->warnings.push_back(text);
    else
        std::fprintf(stderr, "3DS file %s: %s\n", name_, text.c_str());
}

void ChunkReader::note(const std::string& text) {
    if (report_) report_->warnings.push_back(text);
}
