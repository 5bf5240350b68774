// Mesh drawing in a real window: materials, texture coordinates, display lists, the queue.
#include <gtest/gtest.h>

#include <string>

#include "GlTestWindow.h"
#include "Mesh.h"
#include "MeshFixtures.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"
#include "TransparentQueue.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255};
constexpr int CX = GlTestWindow::WIDTH / 2, CY = GlTestWindow::HEIGHT / 2;

class MeshDrawGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};

    void SetUp() override {
        GlTest::SetUp();
        GlTestWindow::perspectiveCamera();
        textureStore.setTextureQuality(0);
    }
    Rgb centre() { return GlTestWindow::pixel(CX, CY); }
    // A 2 x 2 texture: blue at texture coordinates (0, 0), green elsewhere.
    int cornerTexture() {
        TestImage image(2, 2, 0, 255, 0);
        image.set(0, 1, 0, 0, 255);  // bottom-left of the file is the texture's origin
        EXPECT_TRUE(writeBmp(image, dir.file("corner.bmp")));
        return textureStore.getTexture("corner.bmp");
    }
};

TEST_F(MeshDrawGl, UntexturedObjectsUseTheirMaterialColourOrWhite) {
    Mesh mesh;
    mesh.materials.push_back(colourMaterial(255, 0, 0));
    mesh.objects.push_back(triangle(-10, 0));
    mesh.objects.push_back(triangle(-10, 5));   // past the material list
    mesh.objects.push_back(triangle(-10, -1));  // unknown material
    mesh.objects.push_back(triangle(-10, 0, "_hidden"));
    finish(mesh, LISTS_NONE);

    mesh.renderObject(mesh.objects[0]);
    EXPECT_EQ(RED, centre());
    for (int i : {1, 2}) {
        GlTestWindow::resetState();
        GlTestWindow::perspectiveCamera();
        glColor3ub(1, 2, 3);
        mesh.renderObject(mesh.objects[size_t(i)]);
        EXPECT_EQ(WHITE, centre()) << "object " << i;
    }
    GlTestWindow::resetState();
    GlTestWindow::perspectiveCamera();
    mesh.drawObject(mesh.objects[3]);
    EXPECT_EQ(0, GlTestWindow::litPixels());
}

TEST_F(MeshDrawGl, VerticesBeyondTheTextureCoordinatesSampleTheTextureOrigin) {
    Mesh mesh;
    mesh.materials.push_back(texturedMaterial("corner.bmp"));
    mesh.materials[0].textureSlot = cornerTexture();
    mesh.objects.push_back(triangle(-10, 0));
    mesh.objects[0].textured = true;
    mesh.objects[0].uvs = {0.75f, 0.75f};  // vertex 0 only
    finish(mesh, LISTS_NONE);
    mesh.renderObject(mesh.objects[0]);
    // Vertices 1 and 2 sit at (0, 0) and pull most of the face to the blue texel.
    EXPECT_EQ(BLUE, GlTestWindow::pixel(CX, CY - 20));

    mesh.objects[0].uvs = {0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.75f};
    GlTestWindow::resetState();
    GlTestWindow::perspectiveCamera();
    mesh.renderObject(mesh.objects[0]);
    EXPECT_EQ(GREEN, centre());
    mesh.materials[0].textureSlot = -1;  // the store owns the reference; clearTextures frees it
}

TEST_F(MeshDrawGl, ListsReplayWhatWasCompiledAndAreDeletedWithTheMesh) {
    Mesh perObject, whole;
    for (Mesh* m : {&perObject, &whole}) {
        m->materials.push_back(colourMaterial(255, 0, 0));
        m->objects.push_back(triangle(-10, 0));
        m->objects.push_back(triangle(-10, 0, "_hidden"));
    }
    finish(perObject, LISTS_PER_OBJECT);
    finish(whole, LISTS_WHOLE_MESH);
    ASSERT_TRUE(perObject.objects[0].hasList);
    EXPECT_FALSE(perObject.objects[1].hasList);
    EXPECT_FALSE(perObject.wholeList);
    ASSERT_TRUE(whole.wholeList);
    EXPECT_FALSE(whole.objects[0].hasList);

    perObject.materials[0].colour[0] = 0;  // the list keeps the colour it was compiled with
    perObject.drawObject(perObject.objects[0]);
    EXPECT_EQ(RED, centre());
    GlTestWindow::resetState();
    GlTestWindow::perspectiveCamera();
    glCallList(whole.wholeListId);
    EXPECT_EQ(RED, centre());

    const GLuint objectList = perObject.objects[0].listId, wholeList = whole.wholeListId;
    whole.buildLists(7);  // unknown mode: fields stay as they were
    EXPECT_TRUE(whole.wholeList && glIsList(wholeList));
    whole.buildLists(LISTS_NONE);  // a rebuild drops the old lists
    EXPECT_FALSE(whole.wholeList || glIsList(wholeList));
    perObject.destroy();
    EXPECT_FALSE(glIsList(objectList));
    EXPECT_EQ(0, perObject.objectCount() + perObject.materialCount());
}

TEST_F(MeshDrawGl, SkinRulesChooseTheTextureOfEachMaterial) {
    for (const char* n : {"wall.bmp", "floor.bmp", "skin.bmp", "glass.bmp", "glass-.bmp"})
        ASSERT_TRUE(writeBmp(TestImage(2, 2), dir.file(n)));
    auto names = [](const Mesh& m) {
        std::string out;
        for (const Material& mat : m.materials) {
            const TextureEntry* e = textureStore.entry(mat.textureSlot);
            out += (e ? e->name : std::string("-")) + (mat.transparent ? "*" : "") + " ";
        }
        return out;
    };
    auto mesh = [](const char* replacement, const char* replaced) {
        auto m = std::make_unique<Mesh>();
        for (const char* t : {"Wall.BMP", "floor.bmp", "", "GLASS.bmp"})
            m->materials.push_back(texturedMaterial(t));
        m->replacementTexture = replacement;
        m->replacedTexture = replaced;
        m->assignTextures();
        return m;
    };
    auto plain = mesh("", "");
    EXPECT_EQ("wall.bmp floor.bmp - glass.bmp* ", names(*plain));
    EXPECT_EQ("wall.bmp", plain->materials[0].textureFile);
    EXPECT_EQ(-1, plain->materials[2].textureSlot);
    auto all = mesh("skin.bmp", "");
    EXPECT_EQ("skin.bmp skin.bmp - skin.bmp ", names(*all));
    auto one = mesh("skin.bmp", "wall.bmp");
    EXPECT_EQ("skin.bmp floor.bmp - glass.bmp* ", names(*one));

    const int skin = all->materials[0].textureSlot;
    EXPECT_EQ(4,
              textureStore.entry(skin)->refCount);  // three materials of one mesh, one of the other
    all.reset();
    EXPECT_EQ(1,
              textureStore.entry(skin)->refCount);  // destroying a mesh gives its references back
}

TEST_F(MeshDrawGl, QueuedObjectsDrawInQueuingOrderUnderTheirOwnMatrices) {
    Mesh mesh;
    mesh.materials.push_back(colourMaterial(255, 0, 0));
    mesh.materials.push_back(colourMaterial(0, 255, 0));
    mesh.objects.push_back(triangle(-10, 0));
    mesh.objects.push_back(triangle(-10, 1));
    finish(mesh, LISTS_NONE);

    glTranslatef(3, 0, 0);  // the red one 3 units (93 pixels) to the right
    transparentQueue.push(mesh.objects[0], mesh);
    glLoadIdentity();
    transparentQueue.push(mesh.objects[1], mesh);
    transparentQueue.push(mesh.objects[0], mesh);  // red last: on top in the centre
    glTranslatef(0, 50, 0);  // whatever is current at flush time must not matter
    EXPECT_EQ(0, GlTestWindow::litPixels());
    transparentQueue.flush();
    EXPECT_EQ(0, transparentQueue.size());
    EXPECT_EQ(RED, centre());
    EXPECT_EQ(RED, GlTestWindow::pixel(CX + 93, CY - 10));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(50.0f, m[13]);
}

TEST_F(MeshDrawGl, DestroyingAMeshDropsItsQueuedRecords) {
    auto mesh = std::make_unique<Mesh>();
    mesh->objects.push_back(triangle(-10, -1));
    finish(*mesh, LISTS_NONE);
    Mesh other;
    other.objects.push_back(triangle(-10, -1));
    finish(other, LISTS_NONE);
    transparentQueue.push(mesh->objects[0], *mesh);
    transparentQueue.push(other.objects[0], other);
    mesh.reset();
    EXPECT_EQ(1, transparentQueue.size());
    transparentQueue.flush();
    EXPECT_EQ(WHITE, centre());
}

}  // namespace
