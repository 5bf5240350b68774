// Mesh::draw against the view frustum: what is drawn, queued and counted.
#include <gtest/gtest.h>

#include "FrameStats.h"
#include "GlTestWindow.h"
#include "Mesh.h"
#include "MeshFixtures.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

namespace {

const Rgb RED{255, 0, 0};
constexpr int CX = GlTestWindow::WIDTH / 2, CY = GlTestWindow::HEIGHT / 2;

class MeshCullingGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};

    void SetUp() override {
        GlTest::SetUp();
        GlTestWindow::perspectiveCamera();
        viewFrustum.updateFrustum();
        frameStats.trianglesThisFrame = 0;
    }
    Rgb centre() { return GlTestWindow::pixel(CX, CY); }
    // Material 0 red and opaque; material 1 green, half covering (blended companion).
    void materials(Mesh& mesh) {
        ASSERT_TRUE(writeBmp(TestImage(2, 2, 0, 255, 0), dir.file("glass.bmp")));
        ASSERT_TRUE(writeBmp(TestImage(2, 2, 128, 128, 128), dir.file("glass-.bmp")));
        mesh.materials.push_back(colourMaterial(255, 0, 0));
        mesh.materials.push_back(texturedMaterial("glass.bmp"));
        mesh.assignTextures();
        ASSERT_TRUE(mesh.materials[1].transparent);
    }
    MeshObject glassTriangle(float z) {
        MeshObject o = triangle(z, 1, "glass");
        o.textured = true;
        o.uvs = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
        return o;
    }
};

TEST_F(MeshCullingGl, AMeshInFrontIsDrawnAndCountedOneBehindIsNeither) {
    Mesh front, behind;
    front.materials.push_back(colourMaterial(255, 0, 0));
    front.objects.push_back(triangle(-10, 0));
    finish(front, LISTS_PER_OBJECT);
    behind.materials.push_back(colourMaterial(0, 255, 0));
    behind.objects.push_back(triangle(10, 0));
    behind.objects.push_back(triangle(10, 0));
    finish(behind, LISTS_WHOLE_MESH);

    behind.draw(0, 0, 0);
    EXPECT_EQ(0, GlTestWindow::litPixels());
    EXPECT_EQ(0, frameStats.trianglesThisFrame);
    front.draw(0, 0, 0);
    EXPECT_EQ(RED, centre());
    EXPECT_EQ(1, frameStats.trianglesThisFrame);
}

TEST_F(MeshCullingGl, ThePositionMovesTheBoxesForCullingOnly) {
    Mesh mesh;
    mesh.materials.push_back(colourMaterial(255, 0, 0));
    mesh.objects.push_back(triangle(-10, 0));
    finish(mesh, LISTS_NONE);
    mesh.draw(0, 0, 20);  // its box would lie behind the camera
    EXPECT_EQ(0, GlTestWindow::litPixels());
    mesh.draw(0, 0, -20);  // still drawn where the modelview puts it
    EXPECT_EQ(RED, centre());
}

TEST_F(MeshCullingGl, ObjectsAreCulledOneByOneAndHiddenOnesNeverDrawn) {
    Mesh mesh;
    mesh.materials.push_back(colourMaterial(255, 0, 0));
    mesh.objects.push_back(triangle(10, 0, "behind"));
    mesh.objects.push_back(triangle(-10, 0, "_hidden"));
    mesh.objects.push_back(triangle(-10, 0, "front"));
    finish(mesh, LISTS_PER_OBJECT);
    mesh.draw(0, 0, 0);
    EXPECT_EQ(1, frameStats.trianglesThisFrame);
    EXPECT_EQ(RED, centre());
    Mesh unloaded;
    unloaded.objects.push_back(triangle(-10, 0));
    unloaded.draw(0, 0, 0);
    EXPECT_EQ(1, frameStats.trianglesThisFrame);
}

TEST_F(MeshCullingGl, TransparentObjectsWaitInTheQueueAndStillCount) {
    Mesh mesh;
    materials(mesh);
    mesh.objects.push_back(glassTriangle(-10));
    mesh.objects.push_back(triangle(-20, 0, "wall"));
    finish(mesh, LISTS_PER_OBJECT);
    mesh.draw(0, 0, 0);
    EXPECT_EQ(1, transparentQueue.size());
    EXPECT_EQ(2, frameStats.trianglesThisFrame);
    EXPECT_EQ(RED, centre());  // only the opaque wall so far
    transparentQueue.flush();
    const Rgb mixed = centre();  // glass blended half and half over the wall
    EXPECT_NEAR(127, mixed.r, 2);
    EXPECT_NEAR(128, mixed.g, 2);
}

TEST_F(MeshCullingGl, AWholeMeshListDrawsTransparentObjectsInPlace) {
    Mesh mesh;
    materials(mesh);
    mesh.objects.push_back(glassTriangle(-10));
    finish(mesh, LISTS_WHOLE_MESH);
    mesh.draw(0, 0, 0);
    EXPECT_EQ(0, transparentQueue.size());
    EXPECT_EQ(1, frameStats.trianglesThisFrame);
    EXPECT_NEAR(128, centre().g, 2);  // blended over the black background
    EXPECT_EQ(0, centre().r);
}

}  // namespace
