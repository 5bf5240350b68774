// The texture cache against a real GL context: sharing, slots, companions, filters, GL state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlTestWindow.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

class TextureStoreGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    TextureStore& store = textureStore;

    void SetUp() override {
        GlTest::SetUp();
        store.setTextureQuality(1);
    }
    void image(const std::string& name, const TestImage& picture) {
        ASSERT_TRUE(writeBmp(picture, dir.file(name)));
    }
    // Level-0 pixels of the slot's texture, bottom row first.
    std::vector<uint8_t> pixels(int slot, GLenum format, int w, int h) {
        store.bindTexture(slot);
        std::vector<uint8_t> out(size_t(w) * h * (format == GL_RGBA ? 4 : 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    GLint texParameter(int slot, GLenum name) {
        store.bindTexture(slot);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    GLint levelWidth(int slot, int level) {
        store.bindTexture(slot);
        GLint w = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        return w;
    }
};

TEST_F(TextureStoreGl, NamesDifferingOnlyInCaseShareOneCountedSlot) {
    image("font.bmp", TestImage::gradient(4, 4));
    const int a = store.getTexture("font.bmp");
    const int b = store.getTexture("FONT.BMP");
    ASSERT_EQ(0, a);
    EXPECT_EQ(a, b);
    EXPECT_EQ(2, store.entry(a)->refCount);
    EXPECT_EQ("font.bmp", store.entry(a)->name);
    EXPECT_EQ(1, store.count());

    store.releaseTexture(a);
    ASSERT_NE(nullptr, store.entry(a));
    const GLuint glName = store.entry(a)->glName;
    store.releaseTexture(a);
    EXPECT_EQ(nullptr, store.entry(a));
    EXPECT_EQ(0, store.count());
    EXPECT_FALSE(glIsTexture(glName));
    store.releaseTexture(a);  // already gone: nothing happens
    store.releaseTexture(-1);
    store.releaseTexture(1000);
    EXPECT_EQ(0, store.count());
}

TEST_F(TextureStoreGl, PlainTextureHoldsTheImageBottomRowFirst) {
    const TestImage picture = TestImage::gradient(4, 3);
    image("pic.bmp", picture);
    const int slot = store.getTexture("pic.bmp");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(picture.bottomUp(), pixels(slot, GL_RGB, 4, 3));
}

TEST_F(TextureStoreGl, FreedSlotsAreReusedLowestFirst) {
    for (const char* n : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) image(n, TestImage(2, 2, 9, 9, 9));
    EXPECT_EQ(0, store.getTexture("a.bmp"));
    EXPECT_EQ(1, store.getTexture("b.bmp"));
    EXPECT_EQ(2, store.getTexture("c.bmp"));
    store.releaseTexture(1);
    store.deleteTexture(0);
    EXPECT_EQ(0, store.getTexture("d.bmp"));
    EXPECT_EQ(1, store.getTexture("b.bmp"));
    EXPECT_EQ(2, store.getTexture("c.bmp"));  // slots never move
    EXPECT_EQ(3, store.count());
}

TEST_F(TextureStoreGl, AFullTableRefusesNewNamesButStillFindsLoadedOnes) {
    for (int i = 0; i <= TextureStore::MAX_TEXTURES; ++i)
        image("t" + std::to_string(i) + ".bmp", TestImage(1, 1, uint8_t(i), 0, 0));
    for (int i = 0; i < TextureStore::MAX_TEXTURES; ++i)
        ASSERT_EQ(i, store.getTexture(("t" + std::to_string(i) + ".bmp").c_str()));
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, store.getTexture("t100.bmp"));
    EXPECT_EQ(-1, store.getTextureAuto("t100.bmp"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("MAX_TEXTURES too small - please use larger number.\n"))
        << err;
    EXPECT_NE(std::string::npos, err.find("file: ")) << err;
    EXPECT_EQ(57, store.getTexture("T57.BMP"));
    EXPECT_EQ(TextureStore::MAX_TEXTURES, store.count());
    store.clearTextures();
    EXPECT_EQ(0, store.count());
}

TEST_F(TextureStoreGl, FailedLoadsLeaveTheStoreAsItWas) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, store.getTexture("nothing.bmp"));
    EXPECT_EQ(-1, store.loadAlphaTexture("nothing.bmp", "nothing.bmp"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("Unable to locate file nothing.bmp\n")) << err;
    EXPECT_EQ(0, store.count());
    image("x.bmp", TestImage(2, 2));
    EXPECT_EQ(0, store.getTexture("x.bmp"));
}

TEST_F(TextureStoreGl, MinusCompanionBuildsANewBlendedSlotOnEveryCall) {
    TestImage colour = TestImage::gradient(4, 4);
    TestImage alpha(4, 4, 0, 0, 0);
    alpha.fill(0, 0, 4, 1, 200, 200, 200);  // top row of the file
    image("leaf.bmp", colour);
    image("leaf-.bmp", alpha);
    const int a = store.getTextureAuto("LEAF.BMP");
    const int b = store.getTextureAuto("leaf.bmp");
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_NE(a, b);
    for (int s : {a, b}) {
        EXPECT_EQ(1, store.entry(s)->refCount);
        EXPECT_TRUE(store.entry(s)->alpha);
        EXPECT_TRUE(store.entry(s)->blend);
        EXPECT_EQ("leaf.bmp", store.entry(s)->name);
    }
    const std::vector<uint8_t> rgba = pixels(a, GL_RGBA, 4, 4);
    const std::vector<uint8_t> rgb = colour.bottomUp();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(rgb[i * 3], rgba[i * 4]);
        EXPECT_EQ(rgb[i * 3 + 1], rgba[i * 4 + 1]);
        EXPECT_EQ(rgb[i * 3 + 2], rgba[i * 4 + 2]);
        EXPECT_EQ(i >= 12 ? 200 : 0, rgba[i * 4 + 3]) << "pixel " << i;  // file top = last row
    }
}

TEST_F(TextureStoreGl, PlusCompanionIsAlphaTestedAndPlainNamesStayPlain) {
    image("bush.bmp", TestImage(2, 2, 10, 20, 30));
    image("bush+.bmp", TestImage(2, 2, 255, 255, 255));
    image("rock.bmp", TestImage(2, 2));
    image("ab", TestImage(2, 2));
    const int bush = store.getTextureAuto("bush.bmp");
    ASSERT_GE(bush, 0);
    EXPECT_TRUE(store.entry(bush)->alpha);
    EXPECT_FALSE(store.entry(bush)->blend);
    const int rock = store.getTextureAuto("rock.bmp");
    ASSERT_GE(rock, 0);
    EXPECT_FALSE(store.entry(rock)->alpha);
    EXPECT_EQ(rock, store.getTextureAuto("ROCK.bmp"));  // plain ones do go through the cache
    EXPECT_EQ(2, store.entry(rock)->refCount);
    // Too short for an extension: no companion probing, loaded plain.
    const int shortName = store.getTextureAuto("AB");
    ASSERT_GE(shortName, 0);
    EXPECT_FALSE(store.entry(shortName)->alpha);
}

TEST_F(TextureStoreGl, AlphaCompanionOfAnotherSizeIsRefused) {
    image("big.bmp", TestImage(4, 4));
    image("big-.bmp", TestImage(2, 2));
    testing::internal::CaptureStderr();
    EXPECT_EQ(-1, store.getTextureAuto("big.bmp"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("is 2x2 but its colour image")) << err;
    EXPECT_EQ(0, store.count());
}

TEST_F(TextureStoreGl, QualityChoosesFiltersAndMipmapsForLaterLoads) {
    image("p.bmp", TestImage::gradient(8, 8));
    image("q.bmp", TestImage::gradient(8, 8));
    image("q+.bmp", TestImage(8, 8, 255, 255, 255));
    image("n.bmp", TestImage::gradient(8, 8));
    store.setTextureQuality(2);
    const int plain = store.getTexture("p.bmp");
    const int alpha = store.getTextureAuto("q.bmp");
    EXPECT_EQ(GL_LINEAR_MIPMAP_NEAREST, texParameter(plain, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, texParameter(plain, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(4, levelWidth(plain, 1));
    EXPECT_EQ(GL_LINEAR, texParameter(alpha, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(0, levelWidth(alpha, 1));

    store.setTextureQuality(0);
    store.setTextureQuality(7);  // ignored
    const int nearest = store.getTexture("n.bmp");
    EXPECT_EQ(GL_NEAREST, texParameter(nearest, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_NEAREST, texParameter(nearest, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_LINEAR_MIPMAP_NEAREST, texParameter(plain, GL_TEXTURE_MIN_FILTER));
}

TEST_F(TextureStoreGl, BindingSetsTheStateOfTheEntryKind) {
    image("plain.bmp", TestImage(2, 2));
    image("tested.bmp", TestImage(2, 2));
    image("tested+.bmp", TestImage(2, 2));
    image("blended.bmp", TestImage(2, 2));
    image("blended-.bmp", TestImage(2, 2));
    const int plain = store.getTextureAuto("plain.bmp");
    const int tested = store.getTextureAuto("tested.bmp");
    const int blended = store.getTextureAuto("blended.bmp");
    auto integer = [](GLenum e) {
        GLint v = 0;
        glGetIntegerv(e, &v);
        return v;
    };
    auto alphaRef = [] {
        GLfloat v = -1;
        glGetFloatv(GL_ALPHA_TEST_REF, &v);
        return v;
    };

    store.bindTexture(blended);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GLint(store.entry(blended)->glName), integer(GL_TEXTURE_BINDING_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(GL_SRC_ALPHA, integer(GL_BLEND_SRC));
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, integer(GL_BLEND_DST));
    EXPECT_EQ(GL_ALWAYS, integer(GL_ALPHA_TEST_FUNC));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));  // left alone

    store.bindTexture(tested);
    EXPECT_EQ(GL_ONE, integer(GL_BLEND_SRC));
    EXPECT_EQ(GL_ZERO, integer(GL_BLEND_DST));
    EXPECT_EQ(GL_GREATER, integer(GL_ALPHA_TEST_FUNC));
    EXPECT_NEAR(0.2f, alphaRef(), 1e-6);

    glColor3ub(10, 10, 10);
    store.bindTexture(plain);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(1.0f, colour[0]);

    store.bindTexture(-1);  // none: nothing changes
    EXPECT_EQ(GLint(store.entry(plain)->glName), integer(GL_TEXTURE_BINDING_2D));
    store.unbindTexture();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(0, integer(GL_TEXTURE_BINDING_2D));
}

}  // namespace
