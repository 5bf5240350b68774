// Reading the built data folder in tests: its records, located files, meshes and their geometry.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AnimationFile.h"
#include "CaptureOutput.h"
#include "ChunkReader.h"
#include "DataLocator.h"
#include "Geometry.h"
#include "Mesh.h"
#include "Settings.h"
#include "Text.h"

namespace content {

// The data folder the build assembled (text copied, binaries generated).
inline std::string dataDir() {
    return std::string(TOVASK_BUILD_DIR) + "/data";
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

// The content lists and every description file they name (characters and maps, in list order),
// read by the game's own readers from the data folder alone.
inline const Settings& records() {
    static const Settings read = [] {
        const std::string base = dataDir();
        const char* saved = developmentDataDir;
        developmentDataDir = base.c_str();
        Settings s;
        captureStdout();
        s.loadContentLists();
        capturedStdout();
        developmentDataDir = saved;
        return s;
    }();
    return read;
}

// The key file pattern and count of an animation description file; none when it is unreadable.
inline AnimationDescription readAnimation(const std::string& name) {
    AnimationDescription d;
    return readAnimationDescription(locate(name).c_str(), d) ? d : AnimationDescription{};
}

// A 3DS file read by the game's reader with its bounds computed; a test failure (and a mesh
// with what could be read) when the file is missing or unreadable. No GL is needed for this much.
inline std::unique_ptr<Mesh> loadMesh(const std::string& name) {
    auto mesh = std::make_unique<Mesh>();
    const std::string path = locate(name);
    if (path.empty() || !ChunkReader::import(*mesh, path.c_str()))
        ADD_FAILURE() << name << " is missing or unreadable";
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
    for (size_t i = 0; i + 2 < t.size(); i += 3) sum += dot(t[i], cross(t[i + 1], t[i + 2]));
    return sum;
}

}  // namespace content
