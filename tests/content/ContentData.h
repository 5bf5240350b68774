// Reading the built data folder in tests: description files, located files, meshes and their
// geometry.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ChunkReader.h"
#include "DataLocator.h"
#include "Geometry.h"
#include "Mesh.h"

namespace content {

// The data folder the build assembled (text copied, binaries generated).
inline std::string dataDir() {
    return std::string(TOVASK_BUILD_DIR) + "/data";
}
inline std::string generator() {
    return std::string(TOVASK_BUILD_DIR) + "/tools/contentgen/tovask-contentgen";
}

// The path under which the game would find a bare file name in the data
// folder, or "" when it would not.
inline std::string locate(const std::string& name) {
    char buffer[DATA_NAME_SIZE] = {};
    if (name.size() >= sizeof buffer - 1) return "";
    name.copy(buffer, name.size());
    const std::string base = dataDir() + "/";
    return findInBase(buffer, base.c_str()) ? std::string(buffer) : std::string();
}

// Whitespace-separated words of a located text file.
inline std::vector<std::string> words(const std::string& name) {
    std::vector<std::string> out;
    const std::string path = locate(name);
    FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (!f) return out;
    char word[256];
    while (std::fscanf(f, "%255s", word) == 1) out.emplace_back(word);
    std::fclose(f);
    return out;
}

struct CharacterFile {
    int creatureType = -1, skinCount = 0;
    std::string name, skinPattern, armPattern, stand, walk, strafe, diagonal, spare, extra, death;
    float spareNumber = 0;
};

// The words of a located text file when there are exactly `count` of them, else none.
inline std::vector<std::string> record(const std::string& file, size_t count) {
    std::vector<std::string> w = words(file);
    if (w.size() != count) w.clear();
    return w;
}

inline CharacterFile readCharacter(const std::string& file) {
    const std::vector<std::string> w = record(file, 13);
    if (w.empty()) return {};
    return {std::stoi(w[0]), std::stoi(w[1]), w[2],  w[3],           w[4], w[5], w[6], w[7], w[8],
            w[10],           w[11],           w[12], std::stof(w[9])};
}

struct MapFile {
    std::string name, level, ground, roof, sky, spare, collision;
    float fog[4] = {-1, -1, -1, -1};
    bool valid = false;
};

inline MapFile readMap(const std::string& file) {
    const std::vector<std::string> w = record(file, 11);
    if (w.empty()) return {};
    return {w[0], w[1], w[2],  w[3],
            w[4], w[5], w[10], {std::stof(w[6]), std::stof(w[7]), std::stof(w[8]), std::stof(w[9])},
            true};
}

struct AnimationFile {
    int length = 0, frames = 0, keys = 0, looping = -1;
    std::string pattern;
    bool valid = false;
};

inline AnimationFile readAnimation(const std::string& file) {
    const std::vector<std::string> w = record(file, 5);
    if (w.empty()) return {};
    return {std::stoi(w[0]), std::stoi(w[1]), std::stoi(w[2]), std::stoi(w[4]), w[3], true};
}

// Every character and map the content lists name, in list order.
inline std::vector<CharacterFile> characters() {
    std::vector<CharacterFile> out;
    for (const std::string& f : words("chars")) out.push_back(readCharacter(f));
    return out;
}
inline std::vector<MapFile> maps() {
    std::vector<MapFile> out;
    for (const std::string& f : words("maps")) out.push_back(readMap(f));
    return out;
}

// A printf pattern with one %d, filled.
inline std::string fill(const std::string& pattern, int n) {
    char out[512];
    std::snprintf(out, sizeof out, pattern.c_str(), n);
    return out;
}

// A 3DS file read by the game's reader with its bounds computed; null when
// the file is missing or unreadable. No GL is needed for this much.
inline std::unique_ptr<Mesh> loadMesh(const std::string& name) {
    const std::string path = locate(name);
    if (path.empty()) return nullptr;
    auto mesh = std::make_unique<Mesh>();
    if (!ChunkReader::import(*mesh, path.c_str())) return nullptr;
    mesh->computeBounds();
    return mesh;
}

// Every triangle of a mesh, three corners each.
inline std::vector<Vec3> triangles(const Mesh& mesh) {
    std::vector<Vec3> out;
    for (const MeshObject& o : mesh.objects)
        for (size_t f = 0; f + 2 < o.faces.size(); f += 3)
            for (int k = 0; k < 3; ++k) out.push_back(o.vertices[o.faces[f + k]]);
    return out;
}

// Six times the volume enclosed by the triangles, counted positive when the
// faces wind counter-clockwise seen from outside (their normals (B-A)x(C-A)
// point out). A closed model turned inside out comes out negative.
inline double signedVolume(const Mesh& mesh) {
    const std::vector<Vec3> t = triangles(mesh);
    double sum = 0;
    for (size_t i = 0; i + 2 < t.size(); i += 3) {
        const Vec3 a = t[i], b = t[i + 1], c = t[i + 2];
        sum += static_cast<double>(a.x) * (b.y * c.z - b.z * c.y) -
               static_cast<double>(a.y) * (b.x * c.z - b.z * c.x) +
               static_cast<double>(a.z) * (b.x * c.y - b.y * c.x);
    }
    return sum;
}

}  // namespace content
