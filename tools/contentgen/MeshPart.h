// Builds one 3DS object in the game's axes: quads, boxes, tubes; front faces wind
// counter-clockwise.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Geometry.h"
#include "TdsWriter.h"

// A rectangle of texture space: (u0, v0) is its lower-left corner, v up the image.
struct UvRect {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
};

// Box faces in the order of the BoxUv array.
enum BoxFace { NEG_X, POS_X, NEG_Y, POS_Y, NEG_Z, POS_Z };
using BoxUv = std::array<UvRect, 6>;
inline BoxUv uniformUv(UvRect r) {
    return {r, r, r, r, r, r};
}

// The eight corners of a hexahedron: bit 0 picks +x, bit 1 +y, bit 2 +z of
// the box it was made from (it may be sheared or rotated afterwards).
using Corners = std::array<P3, 8>;

class MeshPart {
public:
    MeshPart(std::string name, std::string material);

    // a, b, c, d counter-clockwise seen from the front (the face normal
    // (b - a) x (c - a) points at the viewer); a gets (u0, v0), b (u1, v0),
    // c (u1, v1), d (u0, v1), so for upright faces start at the lower left.
    void quad(P3 a, P3 b, P3 c, P3 d, UvRect uv);
    // The same quad seen from both sides, each side with its own vertices so
    // that the normals of the two sides do not cancel.
    void twoSidedQuad(P3 a, P3 b, P3 c, P3 d, UvRect uv);
    // Texture coordinates projected from the world: one texture repeat every
    // 1 / scale units along the face's two dominant axes.
    void worldQuad(P3 a, P3 b, P3 c, P3 d, float scale);
    void triangle(P3 a, P3 b, P3 c, float ua, float va, float ub, float vb, float uc, float vc);

    void hexahedron(const Corners& c, const BoxUv& uv);
    void worldHexahedron(const Corners& c, float scale);
    void box(P3 lo, P3 hi, const BoxUv& uv) { hexahedron(boxCorners(lo, hi), uv); }
    void worldBox(P3 lo, P3 hi, float scale) { worldHexahedron(boxCorners(lo, hi), scale); }
    // A beam of the given cross-section from a to b; side gives the direction
    // of the width (it is made perpendicular to the beam).
    void beam(P3 a, P3 b, P3 side, float width, float depth, const BoxUv& uv);
    // A closed tube (prism) of n sides from a to b with end caps.
    void tube(P3 a, P3 b, float radius, int sides, UvRect side, UvRect cap);

    static Corners boxCorners(P3 lo, P3 hi);

    void transform(const std::function<P3(P3)>& f);
    void append(const MeshPart& other);  // the other's geometry, this part's material

    const std::string& name() const { return name_; }
    const std::vector<P3>& positions() const { return positions_; }
    const std::vector<uint16_t>& faces() const { return faces_; }
    size_t vertexCount() const { return positions_.size(); }
    size_t faceCount() const { return faces_.size() / 3; }

    // The 3DS object: vertices turned to file axes, one material group.
    TdsObject toTds() const;

private:
    uint16_t vertex(P3 p, float u, float v);

    std::string name_;
    std::string material_;
    std::vector<P3> positions_;
    std::vector<float> uvs_;
    std::vector<uint16_t> faces_;
};

// A whole 3DS file: materials and objects.
struct ModelFile {
    std::vector<TdsMaterial> materials;
    std::vector<MeshPart> parts;

    TdsScene scene() const;
    bool save(const std::string& path) const;
};

TdsMaterial texturedMaterial(const std::string& name, const std::string& texture);
TdsMaterial colouredMaterial(const std::string& name, uint8_t r, uint8_t g, uint8_t b);
