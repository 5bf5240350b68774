// Mesh drawing in a real window: materials, texture coordinates, lists, culling, the queue.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "FrameStats.h"
#include "GlTestWindow.h"
#include "Mesh.h"
#include "MeshFixtures.h"
#include "Model.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255};
constexpr int CX = GlTestWindow::WIDTH / 2, CY = GlTestWindow::HEIGHT / 2;

class MeshGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};

    void SetUp() override {
        GlTest::SetUp();
        textureStore.setTextureQuality(0);
        clearFrame();
        viewFrustum.updateFrustum();
        frameStats.trianglesThisFrame = 0;
    }
    void clearFrame() {
        GlTestWindow::resetState();
        GlTestWindow::perspectiveCamera();
    }
    // The pixel dx, dy from the centre.
    Rgb centre(int dx = 0, int dy = 0) { return GlTestWindow::pixel(CX + dx, CY + dy); }
    void image(const char* name, const TestImage& picture) {
        ASSERT_TRUE(writeBmp(picture, dir.file(name)));
    }
};

TEST_F(MeshGl, UntexturedObjectsTakeTheirMaterialColourAndMissingMaterialsDrawWhite) {
    Mesh mesh;
    mesh.materials.push_back(colourMaterial(255, 0, 0));
    // Material 5 lies past the list, -1 is unknown, "_hidden" is never drawn.
    mesh.objects = {triangle(-10, 0), triangle(-10, 5), triangle(-10, -1),
                    triangle(-10, 0, "_hidden")};
    finish(mesh, LISTS_NONE);
    // Lit from the viewer, the object's own normals count, not the current one:
    // edge-on to the light it shows only the ambient fifth of its red.
    glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT);
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    for (GLenum on : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL}) glEnable(on);
    mesh.objects[0].normals.assign(3, Vec3{1, 0, 0});
    glNormal3f(0, 0, 1);
    mesh.renderObject(mesh.objects[0]);
    EXPECT_NEAR(centre().r, 51, 2);
    mesh.objects[0].normals.clear();  // none: the current normal, facing the light
    mesh.objects[0].faces.insert(mesh.objects[0].faces.end(), {0, 1, 3});  // past the vertices
    glNormal3f(0, 0, 1);
    mesh.renderObject(mesh.objects[0]);
    EXPECT_EQ(RED, centre());
    glPopAttrib();
    for (size_t i : {1, 2}) {
        clearFrame();
        glColor3ub(1, 2, 3);
        mesh.renderObject(mesh.objects[i]);
        EXPECT_EQ(WHITE, centre()) << "object " << i;
    }
    clearFrame();
    mesh.drawObject(mesh.objects[3]);
    EXPECT_EQ(0, GlTestWindow::litPixels());
}

TEST_F(MeshGl, VerticesBeyondTheTextureCoordinatesSampleTheTextureOrigin) {
    TestImage corner(2, 2, 0, 255, 0);
    corner.set(0, 1, 0, 0, 255);  // the file's bottom-left pixel is texel (0, 0)
    image("corner.bmp", corner);
    Mesh mesh;
    mesh.materials.push_back(texturedMaterial("corner.bmp"));
    mesh.assignTextures();
    mesh.objects.push_back(triangle(-10, 0));
    mesh.objects[0].textured = true;
    mesh.objects[0].uvs = {0.75f, 0.75f};  // vertex 0 only
    finish(mesh, LISTS_NONE);
    mesh.renderObject(mesh.objects[0]);
    EXPECT_EQ(BLUE, GlTestWindow::pixel(CX, CY - 20));  // pulled to (0, 0) by vertices 1 and 2
    mesh.objects[0].uvs = {0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.75f};
    clearFrame();
    mesh.renderObject(mesh.objects[0]);
    EXPECT_EQ(GREEN, centre());
}

TEST_F(MeshGl, SkinRulesChooseTheTextureOfEachMaterial) {
    for (const char* n : {"wall.bmp", "floor.bmp", "skin.bmp", "glass.bmp", "glass-.bmp"})
        image(n, TestImage(2, 2));
    auto mesh = [](const char* replacement, const char* replaced) {
        auto m = std::make_unique<Mesh>();
        for (const char* t : {"Wall.BMP", "floor.bmp", "", "GLASS.bmp"})
            m->materials.push_back(texturedMaterial(t));
        m->replacementTexture = replacement;
        m->replacedTexture = replaced;
        m->assignTextures();
        std::string names;  // texture names, '*' for transparent, '-' for none
        for (const Material& mat : m->materials) {
            const TextureEntry* e = textureStore.entry(mat.textureSlot);
            names += (e ? e->name : std::string("-")) + (mat.transparent ? "* " : " ");
        }
        return std::make_pair(std::move(m), names);
    };
    EXPECT_EQ("wall.bmp floor.bmp - glass.bmp* ", mesh("", "").second);
    auto all = mesh("skin.bmp", "");
    EXPECT_EQ("skin.bmp skin.bmp - skin.bmp ", all.second);
    EXPECT_EQ("skin.bmp floor.bmp - glass.bmp* ", mesh("skin.bmp", "wall.bmp").second);
    EXPECT_EQ("wall.bmp", all.first->materials[0].textureFile);  // lowered in place

    const int skin = all.first->materials[0].textureSlot;
    EXPECT_EQ(3, textureStore.entry(skin)->refCount);
    all.first.reset();  // destroying a mesh gives its references back
    EXPECT_EQ(nullptr, textureStore.entry(skin));
}

// Objects are culled one by one, a whole-mesh list as one; lists replay what was compiled, and
// go with a rebuild or with the mesh.
TEST_F(MeshGl, CullingDrawsAndCountsOnlyWhatMayBeSeenAndListsReplayWhatWasCompiled) {
    Mesh front, behind;
    front.materials = behind.materials = {colourMaterial(255, 0, 0)};
    front.objects = {triangle(10, 0, "behind"), triangle(-10, 0, "_hidden"), triangle(-10, 0)};
    behind.objects = {triangle(10, 0), triangle(10, 0)};
    finish(front, LISTS_PER_OBJECT);
    finish(behind, LISTS_WHOLE_MESH);
    EXPECT_TRUE(front.objects[2].hasList && !front.objects[1].hasList);
    EXPECT_TRUE(behind.wholeList && !behind.objects[0].hasList);
    front.materials[0].colour[0] = 0;  // the lists keep the colour they were compiled with
    behind.draw(0, 0, 0);
    front.draw(0, 0, 20);  // the position moves the boxes behind the camera
    EXPECT_EQ(0, GlTestWindow::litPixels());
    EXPECT_EQ(0, frameStats.trianglesThisFrame);
    front.draw(0, 0, 0);
    EXPECT_EQ(RED, centre());
    EXPECT_EQ(1, frameStats.trianglesThisFrame);
    behind.draw(0, 0, -20);  // a whole-mesh list counts all its triangles
    EXPECT_EQ(3, frameStats.trianglesThisFrame);
    Mesh unloaded;
    unloaded.objects.push_back(triangle(-10, 0));
    unloaded.draw(0, 0, 0);
    EXPECT_EQ(3, frameStats.trianglesThisFrame);

    const GLuint objectList = front.objects[2].listId, wholeList = behind.wholeListId;
    behind.buildLists(7);  // unknown mode: fields stay as they were
    EXPECT_TRUE(behind.wholeList && glIsList(wholeList));
    behind.buildLists(LISTS_NONE);  // a rebuild drops the old lists
    EXPECT_FALSE(behind.wholeList || glIsList(wholeList) || glIsList(wholeList + 1));
    front.destroy();
    EXPECT_FALSE(glIsList(objectList));
    EXPECT_EQ(0, front.objectCount() + front.materialCount());
}

TEST_F(MeshGl, TransparentObjectsWaitForTheQueueUnlessTheMeshIsOneList) {
    // Material 0 red; material 1 green under a half-covering blended companion.
    image("glass.bmp", TestImage(2, 2, 0, 255, 0));
    image("glass-.bmp", TestImage(2, 2, 128, 128, 128));
    MeshObject glass = triangle(-10, 1, "glass");
    glass.textured = true;
    glass.uvs = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    Mesh queued, inList;
    for (Mesh* mesh : {&queued, &inList}) {
        mesh->materials = {colourMaterial(255, 0, 0), texturedMaterial("glass.bmp")};
        mesh->assignTextures();
    }
    queued.objects = {glass, triangle(-20, 0, "wall")};
    inList.objects = {glass};
    finish(queued, LISTS_PER_OBJECT);
    finish(inList, LISTS_WHOLE_MESH);
    queued.draw(0, 0, 0);
    EXPECT_EQ(1, transparentQueue.size());
    EXPECT_EQ(2, frameStats.trianglesThisFrame);  // queued ones count too
    EXPECT_EQ(RED, centre());
    transparentQueue.flush();
    EXPECT_NEAR(127, centre().r, 2);  // half glass over the wall
    EXPECT_NEAR(128, centre().g, 2);

    clearFrame();
    inList.draw(0, 0, 0);
    EXPECT_EQ(0, transparentQueue.size());
    EXPECT_NEAR(128, centre().g, 2);  // drawn at once, over the black background
}

TEST_F(MeshGl, TheQueueDrawsInQueuingOrderUnderEachRecordsMatrix) {
    auto mesh = std::make_unique<Mesh>();
    mesh->materials = {colourMaterial(255, 0, 0), colourMaterial(0, 255, 0)};
    mesh->objects = {triangle(-10, 0), triangle(-10, 1)};
    finish(*mesh, LISTS_NONE);
    Mesh doomed;
    doomed.objects.push_back(triangle(-10, -1));
    finish(doomed, LISTS_NONE);

    glTranslatef(3, 0, 0);  // 3 units = 93 pixels to the right
    transparentQueue.push(mesh->objects[0], *mesh);
    glLoadIdentity();
    transparentQueue.push(doomed.objects[0], doomed);
    transparentQueue.push(mesh->objects[1], *mesh);
    transparentQueue.push(mesh->objects[0], *mesh);  // red last: on top in the centre
    doomed.destroy();                                // its record goes with it
    glTranslatef(0, 50, 0);  // what is current at flush time does not matter
    EXPECT_EQ(3, transparentQueue.size());
    transparentQueue.flush();
    EXPECT_EQ(RED, centre());
    EXPECT_EQ(RED, GlTestWindow::pixel(CX + 93, CY - 10));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(50.0f, m[13]);
}

// Mirroring after loading compiles the lists again, from the mirrored vertices. (Which frame a
// model draws is the model preview's test.)
TEST_F(MeshGl, AMirroredModelsListHoldsTheMirroredVertices) {
    const std::vector<TdsVertex> right = {gameToFile(1.5f, -0.5f, -10),
                                          gameToFile(2.5f, -0.5f, -10), gameToFile(2, 0.5f, -10)};
    ASSERT_TRUE(
        saveTds(TdsScene{3, {}, {{"marker", right, {0, 1, 2}, {}, {}}}}, dir.file("m.3ds")));
    Model mirrored;
    ASSERT_TRUE(mirrored.load("m.3ds", LISTS_WHOLE_MESH, true, false, false));
    ASSERT_TRUE(mirrored.frames[0]->wholeList);
    mirrored.draw(0, 0, 0);
    EXPECT_EQ(std::make_pair(Rgb{}, true), std::make_pair(centre(62, 0), centre(-62, 0) != Rgb{}))
        << "lit on the left only";
}

}  // namespace
