// Serialises a TdsScene into 3DS chunks: main, version, editor, objects, materials.
#include "TdsWriter.h"

#include <cstdio>
#include <cstring>

namespace {

// Chunk ids the game reads.
constexpr uint16_t MAIN = 0x4D4D, VERSION = 0x0002, EDITOR = 0x3D3D, MESH_VERSION = 0x3D3E,
                   OBJECT = 0x4000, TRIMESH = 0x4100, VERTICES = 0x4110, FACES = 0x4120,
                   FACE_MATERIAL = 0x4130, UVS = 0x4140, SMOOTHING = 0x4150, MATERIAL = 0xAFFF,
                   MAT_NAME = 0xA000, MAT_DIFFUSE = 0xA020, COLOUR_24 = 0x0011,
                   MAP_1 = 0xA200, MAP_FILE = 0xA300;

uint16_t clampCount(size_t n) { return static_cast<uint16_t>(n > 65535 ? 65535 : n); }

TdsChunk materialChunk(const TdsMaterial& m) {
    TdsChunk mat(MATERIAL);
    mat.child(TdsChunk(MAT_NAME).str(m.name));
    mat.child(TdsChunk(MAT_DIFFUSE).child(
        TdsChunk(COLOUR_24).u8(m.colour[0]).u8(m.colour[1]).u8(m.colour[2])));
    if (!m.textureFile.empty())
        mat.child(TdsChunk(MAP_1).child(TdsChunk(MAP_FILE).str(m.textureFile)));
    return mat;
}

TdsChunk objectChunk(const TdsObject& o) {
    TdsChunk mesh(TRIMESH);
    TdsChunk verts(VERTICES);
    const uint16_t vn = clampCount(o.vertices.size());
    verts.u16(vn);
    for (uint16_t i = 0; i < vn; ++i) verts.f32(o.vertices[i].x).f32(o.vertices[i].y).f32(o.vertices[i].z);
    mesh.child(verts);

    TdsChunk faces(FACES);
    const uint16_t fn = clampCount(o.faces.size() / 3);
    faces.u16(fn);
    for (uint16_t i = 0; i < fn; ++i)
        faces.u16(o.faces[3 * i]).u16(o.faces[3 * i + 1]).u16(o.faces[3 * i + 2]).u16(7);
    for (const TdsFaceGroup& g : o.groups) {
        TdsChunk group(FACE_MATERIAL);
        group.str(g.material).u16(clampCount(g.faces.size()));
        for (uint16_t f : g.faces) group.u16(f);
        faces.child(group);
    }
    if (o.smoothingGroups) {
        TdsChunk smooth(SMOOTHING);
        for (uint16_t i = 0; i < fn; ++i) smooth.u32(1);
        faces.child(smooth);
    }
    mesh.child(faces);

    if (!o.uvs.empty()) {
        TdsChunk uv(UVS);
        const uint16_t un = clampCount(o.uvs.size() / 2);
        uv.u16(un);
        for (uint16_t i = 0; i < un; ++i) uv.f32(o.uvs[2 * i]).f32(o.uvs[2 * i + 1]);
        mesh.child(uv);
    }
    return TdsChunk(OBJECT).str(o.name).child(mesh);
}

}  // namespace

TdsChunk& TdsChunk::u8(uint8_t v) {
    body_.push_back(v);
    return *this;
}

TdsChunk& TdsChunk::u16(uint16_t v) {
    body_.push_back(static_cast<uint8_t>(v & 0xFF));
    body_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
}

TdsChunk& TdsChunk::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) body_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

TdsChunk& TdsChunk::f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u32(bits);
}

TdsChunk& TdsChunk::str(const std::string& s) {
    body_.insert(body_.end(), s.begin(), s.end());
    body_.push_back(0);
    return *this;
}

TdsChunk& TdsChunk::raw(const std::vector<uint8_t>& bytes) {
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

TdsChunk& TdsChunk::child(const TdsChunk& c) { return raw(c.bytes()); }

std::vector<uint8_t> TdsChunk::bytes() const {
    return bytes(static_cast<uint32_t>(body_.size() + 6));
}

std::vector<uint8_t> TdsChunk::bytes(uint32_t lengthOverride) const {
    std::vector<uint8_t> out;
    out.reserve(body_.size() + 6);
    out.push_back(static_cast<uint8_t>(id_ & 0xFF));
    out.push_back(static_cast<uint8_t>(id_ >> 8));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(lengthOverride >> (8 * i)));
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

std::vector<uint8_t> writeTds(const TdsScene& scene) {
    TdsChunk editor(EDITOR);
    editor.child(TdsChunk(MESH_VERSION).u32(3));
    for (const TdsMaterial& m : scene.materials) editor.child(materialChunk(m));
    for (const TdsObject& o : scene.objects) editor.child(objectChunk(o));
    TdsChunk main(MAIN);
    main.child(TdsChunk(VERSION).u32(scene.version));
    main.child(editor);
    return main.bytes();
}

bool saveTds(const TdsScene& scene, const std::string& path) {
    const std::vector<uint8_t> data = writeTds(scene);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "Unable to write %s\n", path.c_str());
        return false;
    }
    return true;
}
