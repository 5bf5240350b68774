// The off-screen GL context: its frame read back, and the game's meshes, GLU's
// camera and GLU's mipmaps drawn in it with no display at all.
#include <GL/glu.h>
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CaptureOutput.h"
#include "Mesh.h"
#include "MeshFixtures.h"
#include "OffscreenGl.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

using Rgba = std::array<uint8_t, 4>;
const Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255};

// The pixel (x, y) of a frame read back top row first, y counted from the top.
Rgba pixelAt(const std::vector<uint8_t>& frame, int width, int x, int y) {
    const size_t at = (size_t(y) * width + x) * 4;
    return {frame[at], frame[at + 1], frame[at + 2], frame[at + 3]};
}

std::string text(const Rgba& c) {
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) +
           ", " + std::to_string(c[3]) + ")";
}

// Sides from 1 to 4096 pixels, each way: at both ends and one past them.
TEST(OffscreenGl, TakesSidesFrom1To4096AndSaysWhichSizeItRefuses) {
    for (const auto& [w, h] : {std::pair{1, 1}, {4096, 1}, {1, 4096}})
        EXPECT_NE(nullptr, OffscreenGl::create(w, h)) << w << " x " << h;
    for (const auto& [w, h] : {std::pair{0, 1}, {1, 0}, {4097, 1}, {1, 4097}}) {
        std::unique_ptr<OffscreenGl> gl;
        const Output o = captureOutput([&, w = w, h = h] { gl = OffscreenGl::create(w, h); });
        EXPECT_EQ(nullptr, gl) << w << " x " << h;
        EXPECT_EQ("off-screen GL: size " + std::to_string(w) + " x " + std::to_string(h) +
                      " is outside 1 to 4096 pixels\n",
                  o.err);
    }
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext());
}

TEST(OffscreenGl, ReadsItsFrameBackTopRowFirstAndTakesItsContextAlong) {
    constexpr int W = 6, H = 4;
    auto gl = OffscreenGl::create(W, H);
    ASSERT_NE(nullptr, gl);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 2, 1);  // GL counts rows from the bottom
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    std::vector<uint8_t> want;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Rgba& c = y == H - 1 && x < 2 ? RED : BLUE;
            want.insert(want.end(), c.begin(), c.end());
        }
    EXPECT_EQ(want, gl->rgba()) << "the red corner belongs bottom left";

    {
        auto other = OffscreenGl::create(2, 2);
        ASSERT_NE(nullptr, other);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_EQ(GREEN, pixelAt(other->rgba(), 2, 1, 1));
    }
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext()) << "a context outlived its object";
    EXPECT_EQ(want, gl->rgba()) << "another context drew into this one's frame";
    ASSERT_TRUE(gl->makeCurrent());
    EXPECT_NE(nullptr, OSMesaGetCurrentContext());
    gl.reset();
    EXPECT_EQ(nullptr, OSMesaGetCurrentContext());
}

// The game's drawing code in the off-screen context: the texture store, GLU's
// mipmaps and camera, meshes, the depth buffer.
class OffscreenGame : public ::testing::Test {
protected:
    static constexpr int SIZE = 64;  // pixels
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    std::unique_ptr<OffscreenGl> gl = OffscreenGl::create(SIZE, SIZE);

    void TearDown() override {
        textureStore.clearTextures();
        textureStore.setTextureQuality(1);
    }
};

TEST_F(OffscreenGame, MeshesDrawMipmappedTexturesBuiltByGluBehindGlusCamera) {
    ASSERT_NE(nullptr, gl);
    // Left half red, right half blue: the 1 x 1 level is their average.
    TestImage halves(8, 8, 255, 0, 0);
    halves.fill(4, 0, 8, 8, 0, 0, 255);
    ASSERT_TRUE(writeBmp(halves, dir.file("halves.bmp")));
    textureStore.setTextureQuality(2);

    Mesh mesh;
    mesh.materials = {texturedMaterial("halves.bmp"), colourMaterial(0, 255, 0)};
    mesh.assignTextures();
    const int slot = mesh.materials[0].textureSlot;
    ASSERT_GE(slot, 0);
    // gluBuild2DMipmaps made every level down to 1 x 1 in this context.
    textureStore.bindTexture(slot);
    for (int level = 0; level <= 3; ++level) {
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(8 >> level, width) << "level " << level;
    }
    uint8_t last[3] = {0, 0, 0};
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, last);
    EXPECT_TRUE(last[0] >= 127 && last[0] <= 128 && last[1] == 0 && last[2] >= 127 &&
                last[2] <= 128)
        << "the 1 x 1 level is (" << int(last[0]) << ", " << int(last[1]) << ", " << int(last[2])
        << ")";

    // Triangles 3 units left and right of the view axis at depth 10: on the
    // left the texture's red texels, magnified, with a green triangle behind
    // them; on the right the whole texture 64 times over, the smallest level.
    auto place = [](MeshObject o, float dx, std::vector<float> uvs) {
        for (Vec3& v : o.vertices) v.x += dx;
        o.textured = !uvs.empty();
        o.uvs = std::move(uvs);
        return o;
    };
    mesh.objects = {place(triangle(-10, 0), -3, {0.0625f, 0.5f, 0.0625f, 0.5f, 0.0625f, 0.5f}),
                    place(triangle(-10, 0), 3, {0, 0, 64, 0, 32, 64}),
                    place(triangle(-20, 1), -6, {})};
    finish(mesh, LISTS_NONE);
    glViewport(0, 0, SIZE, SIZE);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 1.0, 1.0, 250.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    for (const MeshObject& o : mesh.objects) mesh.renderObject(o);

    const std::vector<uint8_t> frame = gl->rgba();
    // The middle row's centres: 3 units off the axis at depth 10 (and 6 at 20)
    // with a 45 degree view lie 3 / (10 tan 22.5) = 0.72 half widths out.
    const int left = 9, right = SIZE - 1 - left, row = SIZE / 2;
    const Rgba leftPixel = pixelAt(frame, SIZE, left, row);
    const Rgba rightPixel = pixelAt(frame, SIZE, right, row);
    EXPECT_EQ(RED, leftPixel) << text(leftPixel)
                              << " (green: the farther triangle passed the depth test)";
    EXPECT_TRUE(rightPixel[0] >= 127 && rightPixel[0] <= 128 && rightPixel[1] == 0 &&
                rightPixel[2] >= 127 && rightPixel[2] <= 128)
        << "smallest level drawn as " << text(rightPixel);
    EXPECT_EQ((Rgba{0, 0, 0, 255}), pixelAt(frame, SIZE, SIZE / 2, 2)) << "background";
}

}  // namespace
