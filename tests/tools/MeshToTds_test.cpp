// A mesh turned back into a 3DS scene: the format's counts up to 65535 and one past, the material
// choices the reader cannot make refused with the reason.
#include "MeshToTds.h"

#include <gtest/gtest.h>

#include <functional>

#include "CaptureOutput.h"

TEST(MeshToTds, CountsUpTo65535AndMaterialChoicesTheReaderCanMake) {
    Material plain, textured, unknown;
    plain.name = "plain";
    textured.name = "skin";
    textured.textureFile = "skin.bmp";
    unknown.name = "unknown material 0";
    // An object of n vertices, faces and texture coordinate pairs, the last face pointing at
    // vertex `last`, in material `index`.
    auto mesh = [](size_t n, uint32_t last, int index, bool isTextured, std::vector<Material> m) {
        MeshData d;
        d.materials = std::move(m);
        MeshObject o;
        o.name = "o";
        o.vertices.resize(n);
        o.faces.resize(n * 3);
        o.faces.back() = last;
        o.uvs.resize(n * 2);
        o.materialIndex = index;
        o.textured = isTextured;
        d.objects = {o};
        return d;
    };
    const std::pair<MeshData, std::string> cases[] = {
        {mesh(65535, 65535, 0, false, {}), ""},
        {mesh(1, 65536, 0, false, {}), "a face points past vertex 65535"},
        {mesh(1, 0, 1, false, {plain}), "its material index is past the materials"},
        {mesh(1, 0, -1, false, {}), "it names a material, but there are none"},
        {mesh(1, 0, 1, false, {plain, textured}),
         "it is untextured, but its material has a texture"},
        {mesh(1, 0, 1, false, {plain, plain}), "an earlier material has the same name as its own"},
        {mesh(1, 0, 0, true, {plain}), "it is textured, but no material has a texture"},
    };
    for (const auto& [data, refusal] : cases) {
        TdsScene scene;
        bool written = false;
        const Output o = captureOutput([&] { written = meshToTds(data, 3, scene); });
        EXPECT_EQ(written, refusal.empty()) << refusal;
        EXPECT_EQ(o.err,
                  refusal.empty()
                      ? ""
                      : "tovask-model: object \"o\" cannot be written as 3DS: " + refusal + "\n");
    }
    // One past each count on its own.
    for (const std::vector<size_t>& past :
         {std::vector<size_t>{65536, 1, 1}, {1, 65536, 1}, {1, 1, 65536}}) {
        MeshData d = mesh(1, 0, 0, false, {});
        d.objects[0].vertices.resize(past[0]);
        d.objects[0].faces.resize(past[1] * 3);
        d.objects[0].uvs.resize(past[2] * 2);
        TdsScene scene;
        const Output o = captureOutput([&] { EXPECT_FALSE(meshToTds(d, 3, scene)); });
        EXPECT_EQ(o.err,
                  "tovask-model: object \"o\" cannot be written as 3DS: it has more than "
                  "65535 vertices, faces or texture coordinates\n")
            << past[0] << " " << past[1] << " " << past[2];
    }
    // A textured object whose own material is plain names a textured one first; a material of
    // no name in the file is one no material has.
    MeshData d = mesh(1, 0, 1, true, {textured, plain});
    d.objects.push_back(mesh(1, 0, -1, false, {}).objects[0]);
    d.materials.push_back(unknown);
    TdsScene scene;
    ASSERT_TRUE(meshToTds(d, 3, scene));
    EXPECT_EQ(scene.objects[0].groups.size(), 2u);
    EXPECT_EQ(scene.objects[0].groups[0].material, "skin") << "the textured flag's group";
    EXPECT_EQ(scene.objects[0].groups[1].material, "plain") << "the own material's group";
    EXPECT_EQ(scene.objects[1].groups[0].material, "unknown material 1");
}
