// The texture cache against a real GL context: sharing, slots, companions, filters, GL state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "GlTestWindow.h"
#include "Model.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

class TextureStoreGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    TextureStore& store = textureStore;

    void image(const std::string& name, const TestImage& picture) {
        ASSERT_TRUE(writeBmp(picture, dir.file(name)));
    }
    // Level-0 texels of the slot's texture, bottom row first, tightly packed.
    std::vector<uint8_t> texels(int slot, GLenum format, int w, int h) {
        store.bindTexture(slot);
        std::vector<uint8_t> out(size_t(w) * h * (format == GL_RGBA ? 4 : 3));
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    // The slot's minifying and magnifying filters and the width of its mipmap level 1 (0: none).
    std::vector<GLint> filters(int slot) {
        store.bindTexture(slot);
        GLint v[3] = {};
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v[1]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &v[2]);
        return {v[0], v[1], v[2]};
    }
    // "count: slot name:references" with a for alpha and b for blended, every entry in slot order.
    std::string table() const {
        std::string s = std::to_string(store.count()) + ":";
        for (int i = 0; i < TextureStore::MAX_TEXTURES; ++i)
            if (const TextureEntry* e = store.entry(i))
                s += " " + std::to_string(i) + " " + e->name + ":" + std::to_string(e->refCount) +
                     (e->alpha ? "a" : "") + (e->blend ? "b" : "");
        return s;
    }
};

TEST_F(TextureStoreGl, NamesDifferingInCaseShareACountedSlotAndFreedSlotsAreReusedLowestFirst) {
    const TestImage picture = TestImage::gradient(3, 3);  // padded rows in the file
    for (const char* name : {"font.bmp", "b.bmp", "c.bmp"}) image(name, picture);
    ASSERT_EQ(0, store.getTexture("font.bmp"));
    EXPECT_EQ(picture.bottomUp(), texels(0, GL_RGB, 3, 3));
    // Companions are looked for quietly: a texture without any is no complaint.
    const Output quiet = captureOutput([&] {
        EXPECT_EQ(0, store.getTexture("FONT.BMP"));
        EXPECT_EQ(1, store.getTextureAuto("B.bmp"));
    });
    EXPECT_EQ("", quiet.out + quiet.err);
    EXPECT_EQ("2: 0 font.bmp:2 1 b.bmp:1", table());
    const GLuint glName = store.entry(0)->glName;
    store.releaseTexture(0);
    EXPECT_EQ("2: 0 font.bmp:1 1 b.bmp:1", table());
    store.releaseTexture(0);
    EXPECT_FALSE(glIsTexture(glName));
    for (int ignored : {0, -1, 1000}) store.releaseTexture(ignored);
    EXPECT_EQ("1: 1 b.bmp:1", table());
    EXPECT_EQ(0, store.getTexture("c.bmp"));  // slots never move
}

TEST_F(TextureStoreGl, AFullTableRefusesNewNamesButStillFindsLoadedOnes) {
    for (int i = 0; i <= TextureStore::MAX_TEXTURES; ++i)
        image("t" + std::to_string(i) + ".bmp", TestImage(1, 1, uint8_t(i), 0, 0));
    image("t100-.bmp", TestImage(1, 1));  // the companion path checks the table too
    for (int i = 0; i < TextureStore::MAX_TEXTURES; ++i)
        ASSERT_EQ(i, store.getTexture(("t" + std::to_string(i) + ".bmp").c_str()));
    captureStderr();
    EXPECT_EQ(-1, store.getTexture("t100.bmp"));
    EXPECT_EQ(-1, store.getTextureAuto("t100.bmp"));
    const std::string err = capturedStderr();
    const std::string once = err.substr(0, err.size() / 2);  // one message a refusal
    EXPECT_TRUE(err == once + once &&
                isWithLineNumber(once, "file: TextureStore.cpp, line: ",
                                 " MAX_TEXTURES too small - please use larger number.\n"))
        << err;
    EXPECT_EQ(57, store.getTexture("T57.BMP"));
}

TEST_F(TextureStoreGl, CompanionsBuildANewAlphaSlotOnEveryCall) {
    // Red-first files: colour in stored order, alpha the first stored byte (here red).
    const TestImage colour = TestImage::gradient(4, 4);
    TestImage alpha(4, 4);
    alpha.fill(0, 0, 4, 1, 200, 7, 9);  // top row of the file
    ASSERT_TRUE(writePpm(colour, dir.file("leaf.ppm")) && writePpm(alpha, dir.file("leaf-.ppm")));
    for (const char* name : {"bush.bmp", "abc", "abcd"}) image(name, colour);
    for (const char* name : {"bush+.bmp", "-abcd"}) image(name, alpha);
    // Three characters are too few to hold an extension: no companions, an ordinary cached
    // texture; four are enough.
    std::string slots;
    for (const char* name : {"LEAF.PPM", "leaf.ppm", "bush.bmp", "ABC", "abc", "abcd"})
        slots += std::to_string(store.getTextureAuto(name)) + " ";
    EXPECT_EQ("0 1 2 3 3 4 ", slots);
    EXPECT_EQ("5: 0 leaf.ppm:1ab 1 leaf.ppm:1ab 2 bush.bmp:1a 3 abc:2 4 abcd:1ab", table());
    const std::vector<uint8_t> rgb = colour.bottomUp();
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 16; ++i) {
        rgba.insert(rgba.end(), &rgb[i * 3], &rgb[i * 3 + 3]);
        rgba.push_back(i >= 12 ? 200 : 0);  // the file's top row is the last
    }
    EXPECT_EQ(rgba, texels(0, GL_RGBA, 4, 4));
    // Companions of another width or height, of either kind, leave the store as it was.
    image("odd.bmp", TestImage(4, 4));
    image("odd+.bmp", TestImage(4, 2));
    captureStderr();
    EXPECT_EQ(-1, store.getTextureAuto("odd.bmp"));
    image("odd-.bmp", TestImage(2, 4));
    EXPECT_EQ(-1, store.getTextureAuto("odd.bmp"));
    EXPECT_EQ(capturedStderr(),
              "Alpha image odd+.bmp is 4x2 but its colour image odd.bmp is 4x4\n"
              "Alpha image odd-.bmp is 2x4 but its colour image odd.bmp is 4x4\n");
    EXPECT_EQ("5: 0 leaf.ppm:1ab 1 leaf.ppm:1ab 2 bush.bmp:1a 3 abc:2 4 abcd:1ab", table());
    EXPECT_EQ(5, store.getTexture("odd.bmp"));
}

TEST_F(TextureStoreGl, QualityChoosesFiltersAndMipmapsForLaterLoadsOnly) {
    for (const char* n : {"p.bmp", "q.bmp", "q+.bmp", "n.bmp"}) image(n, TestImage(8, 8));
    store.setTextureQuality(2);
    const int plain = store.getTexture("p.bmp"), alpha = store.getTextureAuto("q.bmp");
    store.setTextureQuality(0);
    store.setTextureQuality(7);  // ignored
    const int nearest = store.getTexture("n.bmp");
    EXPECT_EQ(filters(plain), (std::vector<GLint>{GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, 4}));
    EXPECT_EQ(filters(alpha), (std::vector<GLint>{GL_LINEAR, GL_LINEAR, 0}));
    EXPECT_EQ(filters(nearest), (std::vector<GLint>{GL_NEAREST, GL_NEAREST, 0}));
}

// A quad over the whole window, texels 0 to 3 of a one-row texture from left
// to right, drawn over red after binding the slot; the colour current before
// the binding is dim green, which the binding must replace.
std::vector<Rgb> drawnOverRed(int slot) {
    GlTestWindow::resetState();
    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(0, 0.5f, 0, 0.5f);
    textureStore.bindTexture(slot);
    glBegin(GL_QUADS);
    for (const auto& [s, t] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        glTexCoord2f(float(s), float(t));
        glVertex2f(2.0f * s - 1, 2.0f * t - 1);
    }
    glEnd();
    std::vector<Rgb> row;
    for (int x = 32; x < 256; x += 64) row.push_back(GlTestWindow::pixel(x, 128));
    return row;
}

// Alpha is the first stored byte of the companion's pixel (blue in a bitmap).
// "+": texels at or below 0.2 are dropped and the rest drawn opaque; "-":
// mixed by alpha. Plain textures turn the depth test on; the others leave it.
TEST_F(TextureStoreGl, EachKindOfTextureBindsItsOwnDrawingState) {
    store.setTextureQuality(0);
    TestImage alpha(4, 1);
    const uint8_t alphas[] = {0, 51, 52, 128};
    for (int x = 0; x < 4; ++x) alpha.set(x, 0, 255, 77, alphas[x]);
    for (const char* name : {"plus.bmp", "minus.bmp", "plain.bmp"})
        image(name, TestImage(4, 1, 0, 0, 255));
    image("plus+.bmp", alpha);
    image("minus-.bmp", alpha);
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    EXPECT_EQ(drawnOverRed(store.getTextureAuto("plus.bmp")),
              (std::vector<Rgb>{red, red, blue, blue}));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    const std::vector<Rgb> mixed = drawnOverRed(store.getTextureAuto("minus.bmp"));
    const std::vector<Rgb> expected = {red, {204, 0, 51}, {203, 0, 52}, {127, 0, 128}};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(std::abs(mixed[i].r - expected[i].r) <= 1 && mixed[i].g == 0 &&
                    std::abs(mixed[i].b - expected[i].b) <= 1)
            << i;
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(drawnOverRed(store.getTexture("plain.bmp")), (std::vector<Rgb>(4, blue)));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST));
}

// The textures of an animated model's frames: references of their own, as if
// each frame and key read key 1's file.
TEST_F(TextureStoreGl, EveryModelFrameHoldsItsOwnReferencesAndCompanionTexturesTakeASlotEach) {
    image("plain.bmp", TestImage(2, 2, 200, 0, 0));
    image("glass.bmp", TestImage(2, 2, 0, 200, 0));
    image("glass-.bmp", TestImage(2, 2, 128, 128, 128));
    TdsScene key;
    key.materials = {{"plain", "Plain.bmp"}, {"glass", "glass.bmp"}, {"lost", "lost.bmp"}};
    key.objects = {{"body", {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 2}, {}, {}}};
    ASSERT_TRUE(saveTds(key, dir.file("key1.3ds")));
    ASSERT_TRUE(saveTds(key, dir.file("key2.3ds")));
    dir.write("walk3", "400\n4\n2\nkey%d.3ds\n1\n");

    Model model;
    captureStderr();
    ASSERT_TRUE(model.load("walk3", LISTS_NONE, false, false, false));
    const std::string err = capturedStderr();
    ASSERT_EQ(model.frameCount(), 4);

    // The keys' references went with the keys; each frame keeps one of the shared plain
    // texture and a companion-textured slot of its own. Frames as "plain, glass, lost slot"
    // with t for a transparent glass.
    std::string slots;
    for (const auto& frame : model.frames)
        for (const Material& m : frame->materials)
            slots += std::to_string(m.textureSlot) + (m.transparent ? "t " : " ");
    EXPECT_EQ("0 3t -1 0 4t -1 0 5t -1 0 6t -1 ", slots);
    EXPECT_EQ("5: 0 plain.bmp:4 3 glass.bmp:1ab 4 glass.bmp:1ab 5 glass.bmp:1ab 6 glass.bmp:1ab",
              table());
    // A texture that is not there is looked for once per load, not per frame.
    EXPECT_EQ(err, "Unable to locate file lost.bmp\n");
}

}  // namespace
