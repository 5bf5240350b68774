// The textures of an animated model's frames: references of their own, as if each frame and key
// read key 1's file.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "GlTestWindow.h"
#include "Model.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

class ModelTexturesGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
};

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST_F(ModelTexturesGl, EveryFrameHoldsItsOwnReferencesAndCompanionTexturesTakeASlotEach) {
    ASSERT_TRUE(writeBmp(TestImage(2, 2, 200, 0, 0), dir.file("plain.bmp")));
    ASSERT_TRUE(writeBmp(TestImage(2, 2, 0, 200, 0), dir.file("glass.bmp")));
    ASSERT_TRUE(writeBmp(TestImage(2, 2, 128, 128, 128), dir.file("glass-.bmp")));
    TdsScene key;
    key.materials = {{"plain", "Plain.bmp"}, {"glass", "glass.bmp"}, {"lost", "lost.bmp"}};
    TdsObject body;
    body.name = "body";
    body.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    body.faces = {0, 1, 2};
    key.objects = {body};
    ASSERT_TRUE(saveTds(key, dir.file("key1.3ds")));
    ASSERT_TRUE(saveTds(key, dir.file("key2.3ds")));
    dir.write("walk3", "400\n4\n2\nkey%d.3ds\n1\n");

    Model model;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(model.load("walk3", LISTS_NONE, false, false, false));
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(model.frameCount(), 4);

    // The keys' references went with the keys; each frame keeps one of the
    // shared plain texture and a companion-textured slot of its own.
    const int plain = model.frames[0]->materials[0].textureSlot;
    ASSERT_NE(textureStore.entry(plain), nullptr);
    EXPECT_EQ(textureStore.entry(plain)->refCount, 4);
    std::set<int> glassSlots;
    for (const auto& frame : model.frames) {
        EXPECT_EQ(frame->materials[0].textureSlot, plain);
        glassSlots.insert(frame->materials[1].textureSlot);
        EXPECT_TRUE(frame->materials[1].transparent);
        EXPECT_EQ(frame->materials[2].textureSlot, -1);
    }
    EXPECT_EQ(glassSlots.size(), 4u);
    EXPECT_EQ(glassSlots.count(-1), 0u);
    EXPECT_EQ(textureStore.count(), 5);
    // A texture that is not there is looked for once per load, not per frame.
    EXPECT_EQ(count(err, "lost.bmp"), 1) << err;
}
