// A mesh turned back into a 3DS scene: the format's counts up to 65535 and one past, the material
// choices the reader cannot make refused with the reason.
#include "MeshToTds.h"

#include <gtest/gtest.h>

#include <functional>

#include "CaptureOutput.h"

TEST(MeshToTds, CountsUpTo65535AndMaterialChoicesTheReaderCanMake) {
    const Material plain{"plain", ""}, textured{"skin", "skin.bmp"};
    // An object of so many vertices, faces and texture coordinate pairs, the last face pointing
    // at vertex `last`, in material `index`.
    auto mesh = [](size_t vertices, size_t faces, size_t uvs, uint32_t last, int index,
                   bool isTextured, std::vector<Material> m) {
        MeshData d;
        d.materials = std::move(m);
        MeshObject o;
        o.name = "o";
        o.vertices.resize(vertices);
        o.faces.resize(faces * 3);
        o.faces.back() = last;
        o.uvs.resize(uvs * 2);
        o.materialIndex = index;
        o.textured = isTextured;
        d.objects = {o};
        return d;
    };
    const std::string tooMany = "it has more than 65535 vertices, faces or texture coordinates";
    const std::pair<MeshData, std::string> cases[] = {
        {mesh(65535, 65535, 65535, 65535, 0, false, {}), ""},
        {mesh(1, 1, 1, 65536, 0, false, {}), "a face points past vertex 65535"},
        {mesh(1, 1, 1, 0, 1, false, {plain}), "its material index is past the materials"},
        {mesh(1, 1, 1, 0, -1, false, {}), "it names a material, but there are none"},
        {mesh(1, 1, 1, 0, 1, false, {plain, textured}),
         "it is untextured, but its material has a texture"},
        {mesh(1, 1, 1, 0, 1, false, {plain, plain}),
         "an earlier material has the same name as its own"},
        {mesh(1, 1, 1, 0, 0, true, {plain}), "it is textured, but no material has a texture"},
        {mesh(65536, 1, 1, 0, 0, false, {}), tooMany},
        {mesh(1, 65536, 1, 0, 0, false, {}), tooMany},
        {mesh(1, 1, 65536, 0, 0, false, {}), tooMany},
    };
    for (size_t row = 0; row < std::size(cases); ++row) {
        const auto& [data, refusal] = cases[row];
        SCOPED_TRACE("row " + std::to_string(row + 1));
        TdsScene scene;
        bool written = false;
        const Output o = captureOutput([&] { written = meshToTds(data, 3, scene); });
        EXPECT_EQ(std::to_string(written) + o.err,
                  refusal.empty()
                      ? "1"
                      : "0tovask-model: object \"o\" cannot be written as 3DS: " + refusal + "\n");
    }
}
