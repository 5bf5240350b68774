// Builds one 3DS object in the game's axes: quads, boxes, tubes; front faces wind
// counter-clockwise.
#include "MeshPart.h"

#include <cmath>
#include <cstdio>

namespace {

// Corner indices of each box face, counter-clockwise from outside, starting
// at the lower left as seen by a viewer outside (tops: "up" on screen is -z).
constexpr int BOX_FACES[6][4] = {
    {0, 4, 6, 2},  // -x
    {5, 1, 3, 7},  // +x
    {5, 4, 0, 1},  // -y
    {6, 7, 3, 2},  // +y
    {1, 0, 2, 3},  // -z
    {4, 5, 7, 6},  // +z
};

// Any unit vector perpendicular to d.
P3 perpendicular(P3 d) {
    const P3 helper = std::fabs(d.y) < 0.9f ? P3{0.0f, 1.0f, 0.0f} : P3{1.0f, 0.0f, 0.0f};
    return normalized(cross(d, helper));
}

}  // namespace

MeshPart::MeshPart(std::string name, std::string material)
    : name_(std::move(name)), material_(std::move(material)) {}

uint16_t MeshPart::vertex(P3 p, float u, float v) {
    positions_.push_back(p);
    uvs_.push_back(u);
    uvs_.push_back(v);
    return static_cast<uint16_t>(positions_.size() - 1);
}

void MeshPart::quad(P3 a, P3 b, P3 c, P3 d, UvRect uv) {
    const uint16_t ia = vertex(a, uv.u0, uv.v0), ib = vertex(b, uv.u1, uv.v0);
    const uint16_t ic = vertex(c, uv.u1, uv.v1), id = vertex(d, uv.u0, uv.v1);
    faces_.insert(faces_.end(), {ia, ib, ic, ia, ic, id});
}

void MeshPart::twoSidedQuad(P3 a, P3 b, P3 c, P3 d, UvRect uv) {
    quad(a, b, c, d, uv);
    quad(b, a, d, c, {uv.u1, uv.v0, uv.u0, uv.v1});
}

void MeshPart::worldQuad(P3 a, P3 b, P3 c, P3 d, float scale) {
    const P3 n = cross(b - a, c - a);
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    auto uvOf = [&](P3 p, float& u, float& v) {
        if (ay >= ax && ay >= az) {
            u = p.x * scale;
            v = -p.z * scale;
        } else if (ax >= az) {
            u = (n.x > 0 ? -p.z : p.z) * scale;
            v = p.y * scale;
        } else {
            u = (n.z > 0 ? p.x : -p.x) * scale;
            v = p.y * scale;
        }
    };
    float u[4], v[4];
    const P3 corners[4] = {a, b, c, d};
    uint16_t idx[4];
    for (int i = 0; i < 4; ++i) {
        uvOf(corners[i], u[i], v[i]);
        idx[i] = vertex(corners[i], u[i], v[i]);
    }
    faces_.insert(faces_.end(), {idx[0], idx[1], idx[2], idx[0], idx[2], idx[3]});
}

void MeshPart::triangle(P3 a, P3 b, P3 c, float ua, float va, float ub, float vb, float uc,
                        float vc) {
    const uint16_t ia = vertex(a, ua, va), ib = vertex(b, ub, vb), ic = vertex(c, uc, vc);
    faces_.insert(faces_.end(), {ia, ib, ic});
}

void MeshPart::hexahedron(const Corners& c, const BoxUv& uv) {
    for (int f = 0; f < 6; ++f) {
        const int* k = BOX_FACES[f];
        quad(c[k[0]], c[k[1]], c[k[2]], c[k[3]], uv[f]);
    }
}

void MeshPart::worldHexahedron(const Corners& c, float scale) {
    for (const auto& k : BOX_FACES) worldQuad(c[k[0]], c[k[1]], c[k[2]], c[k[3]], scale);
}

Corners MeshPart::boxCorners(P3 lo, P3 hi) {
    Corners c;
    for (int i = 0; i < 8; ++i)
        c[i] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
    return c;
}

void MeshPart::beam(P3 a, P3 b, P3 side, float width, float depth, const BoxUv& uv) {
    // Local frame: "y" runs from a to b, "x" along side, "z" completes it.
    const P3 along = normalized(b - a);
    P3 sx = normalized(side - along * dot(side, along));
    if (length(sx) < 0.5f) sx = perpendicular(along);
    const P3 sz = cross(sx, along);
    Corners c;
    for (int i = 0; i < 8; ++i) {
        const P3 base = (i & 2) ? b : a;
        c[i] = base + sx * ((i & 1) ? width * 0.5f : -width * 0.5f) +
               sz * ((i & 4) ? depth * 0.5f : -depth * 0.5f);
    }
    hexahedron(c, uv);
}

void MeshPart::tube(P3 a, P3 b, float radius, int sides, UvRect side, UvRect cap) {
    const P3 along = normalized(b - a);
    const P3 e1 = perpendicular(along);
    const P3 e2 = cross(along, e1);
    auto ring = [&](P3 centre, int i) {
        const float t = 2.0f * PI * static_cast<float>(i) / static_cast<float>(sides);
        return centre + e1 * (radius * std::cos(t)) + e2 * (radius * std::sin(t));
    };
    for (int i = 0; i < sides; ++i) {
        const float u0 = side.u0 + (side.u1 - side.u0) * static_cast<float>(i) / sides;
        const float u1 = side.u0 + (side.u1 - side.u0) * static_cast<float>(i + 1) / sides;
        // Seen from outside, going round the tube counter-clockwise about +along.
        quad(ring(a, i), ring(a, i + 1), ring(b, i + 1), ring(b, i), {u0, side.v0, u1, side.v1});
    }
    const float cu = (cap.u0 + cap.u1) * 0.5f, cv = (cap.v0 + cap.v1) * 0.5f;
    const float ru = (cap.u1 - cap.u0) * 0.5f, rv = (cap.v1 - cap.v0) * 0.5f;
    for (int i = 0; i < sides; ++i) {
        const float t0 = 2.0f * PI * i / sides, t1 = 2.0f * PI * (i + 1) / sides;
        const float u0 = cu + ru * std::cos(t0), v0 = cv + rv * std::sin(t0);
        const float u1 = cu + ru * std::cos(t1), v1 = cv + rv * std::sin(t1);
        triangle(b, ring(b, i), ring(b, i + 1), cu, cv, u0, v0, u1, v1);  // faces +along
        triangle(a, ring(a, i + 1), ring(a, i), cu, cv, u1, v1, u0, v0);  // faces -along
    }
}

void MeshPart::transform(const std::function<P3(P3)>& f) {
    for (P3& p : positions_) p = f(p);
}

void MeshPart::append(const MeshPart& other) {
    const auto base = static_cast<uint16_t>(positions_.size());
    positions_.insert(positions_.end(), other.positions_.begin(), other.positions_.end());
    uvs_.insert(uvs_.end(), other.uvs_.begin(), other.uvs_.end());
    for (uint16_t f : other.faces_) faces_.push_back(static_cast<uint16_t>(base + f));
}

TdsObject MeshPart::toTds() const {
    TdsObject o;
    o.name = name_;
    for (const P3& p : positions_) o.vertices.push_back(gameToFile(p.x, p.y, p.z));
    o.faces = faces_;
    o.uvs = uvs_;
    TdsFaceGroup group;
    group.material = material_;
    for (size_t i = 0; i < faceCount(); ++i) group.faces.push_back(static_cast<uint16_t>(i));
    o.groups.push_back(group);
    return o;
}

TdsScene ModelFile::scene() const {
    TdsScene s;
    s.materials = materials;
    for (const MeshPart& p : parts)
        if (p.faceCount() > 0) s.objects.push_back(p.toTds());
    return s;
}

bool ModelFile::save(const std::string& path) const {
    for (const MeshPart& p : parts) {
        if (p.vertexCount() > 65535) {
            std::fprintf(stderr, "%s: object %s has too many vertices\n", path.c_str(),
                         p.name().c_str());
            return false;
        }
    }
    return saveTds(scene(), path);
}

TdsMaterial texturedMaterial(const std::string& name, const std::string& texture) {
    TdsMaterial m;
    m.name = name;
    m.textureFile = texture;
    m.colour[0] = m.colour[1] = m.colour[2] = 255;
    return m;
}

TdsMaterial colouredMaterial(const std::string& name, uint8_t r, uint8_t g, uint8_t b) {
    TdsMaterial m;
    m.name = name;
    m.colour[0] = r;
    m.colour[1] = g;
    m.colour[2] = b;
    return m;
}
