// Mesh build without GL: loading through the locator, normals and bounds.
#include <gtest/gtest.h>

#include "CaptureOutput.h"
#include "DataLocator.h"
#include "Mesh.h"
#include "ResourceFixtures.h"
#include "TestFiles.h"

namespace {

MeshObject objectWith(std::vector<Vec3> vertices, std::vector<uint32_t> faces) {
    MeshObject o;
    o.vertices = std::move(vertices);
    o.faces = std::move(faces);
    return o;
}

}  // namespace

// Vertex 0 is shared: the first face has twice the second's area and normals +z and +x, so the
// sum is (1, 0, 2), not (1, 0, 1). A face pointing past the vertices (never read from a file)
// counts for nothing; vertex 5 is used by no face.
TEST(MeshNormals, FacesWeighByAreaAndUnusedVerticesStayZero) {
    Mesh mesh;
    mesh.objects.push_back(
        objectWith({{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}, {5, 5, 5}},
                   {0, 1, 2, 0, 3, 4, 0, 1, 6}));
    mesh.computeNormals();
    EXPECT_EQ(describe(mesh.objects[0].normals),
              "0.45 0.00 0.89, 0.00 0.00 1.00, 0.00 0.00 1.00, 1.00 0.00 0.00, 1.00 0.00 0.00, "
              "0.00 0.00 0.00");
}

// Box, centre and radius of each object, then of the mesh: half of the x and y extents, not the
// diagonal; no vertices: zeros, outside the mesh box.
TEST(MeshBounds, BoxesCentresAndLargestHalfExtent) {
    Mesh mesh;
    mesh.objects.push_back(objectWith({{-1, 0, 0}, {3, 2, 1}, {0, -2, 0}}, {0, 1, 2}));
    mesh.objects.push_back(MeshObject{});
    mesh.objects.push_back(objectWith({{10, 10, 10}, {11, 10, 16}}, {0, 1, 1, 1, 0, 0}));
    mesh.computeBounds();
    const auto bounds = [](const auto& m) {
        return describe({m.boundsMin, m.boundsMax, m.centre}) + " r " + std::to_string(m.radius);
    };
    EXPECT_EQ(bounds(mesh.objects[0]),
              "-1.00 -2.00 0.00, 3.00 2.00 1.00, 1.00 0.00 0.50 r 2.000000");
    EXPECT_EQ(bounds(mesh.objects[1]), "0.00 0.00 0.00, 0.00 0.00 0.00, 0.00 0.00 0.00 r 0.000000");
    EXPECT_EQ(bounds(mesh), "-1.00 -2.00 0.00, 11.00 10.00 16.00, 5.00 4.00 8.00 r 8.000000");
    EXPECT_EQ(mesh.triangleCount, 3);
    Mesh hollow;
    hollow.objects.push_back(MeshObject{});
    hollow.computeBounds();
    EXPECT_EQ(bounds(hollow), bounds(mesh.objects[1]));
}

// A missing file is reported by the locator and still gives a built, empty mesh; a name with no
// room left in a path is not looked for, and its start is shown. (Meshes found and loaded: the
// model tests.)
TEST(MeshLoad, MissingFilesGiveAnEmptyMeshAndOverlongNamesAreNotLookedFor) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    for (size_t n : {size_t(11), size_t(DATA_NAME_SIZE - 2), size_t(DATA_NAME_SIZE - 1)}) {
        const std::string name = n == 11 ? "nothere.3ds" : std::string(n, 'n');
        Mesh mesh;
        captureStderr();
        EXPECT_TRUE(mesh.load(name.c_str(), "", "", LISTS_NONE) && mesh.loaded);
        EXPECT_EQ(mesh.objectCount(), 0);
        EXPECT_FALSE(mesh.load("again.3ds", "", "", LISTS_NONE))
            << "loaded already: not looked for";
        EXPECT_EQ(capturedStderr(),
                  "Unable to locate file " +
                      (n < DATA_NAME_SIZE - 1 ? name + "\n" : name.substr(0, 64) + "...\n"));
    }
}
