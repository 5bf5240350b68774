// The bitmap font drawn into a real window: glyph choice, placement, lists and GL state.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "BitmapFont.h"
#include "CaptureOutput.h"
#include "GlTestWindow.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

// A 256 x 256 font image, 16 pixels per cell; only the listed glyphs are white.
TestImage fontImage(std::initializer_list<int> litGlyphs) {
    TestImage image(256, 256);
    for (int g : litGlyphs) {
        const int x = (g % 16) * 16, y = (g / 16) * 16;
        image.fill(x, y, x + 16, y + 16, 255, 255, 255);
    }
    return image;
}

// Window pixel at a virtual-screen position (640 x 480 over the window).
Rgb at(int x, int y) {
    return GlTestWindow::pixel(GlTestWindow::textX(x), GlTestWindow::textY(y));
}

class BitmapFontGl : public GlTest {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    BitmapFont font;

    void SetUp() override {
        GlTest::SetUp();
        textureStore.setTextureQuality(0);  // nearest: cells do not bleed into each other
    }
    void TearDown() override {
        font.releaseFont();
        GlTest::TearDown();
    }
    void load(const TestImage& image, BitmapFont& into) {
        ASSERT_TRUE(writeBmp(image, dir.file("font.bmp")));
        captureStdout();
        EXPECT_TRUE(into.loadFont("font.bmp"));
        EXPECT_EQ("Loading font font.bmp\n", capturedStdout());
    }
    void load(const TestImage& image) { load(image, font); }
};

// Long texts are passed on in pieces; the origin moves on across them. 127 is glyph 223 (dark
// here); 128 and above would be negative list offsets.
TEST_F(BitmapFontGl,
       CapitalAIsColumnOneRowTenEachCharacterAdvancesTenUnitsAndHighBytesAreQuestionMarks) {
    load(fontImage({159, 161}));     // '?' is glyph 96 + 63
    font.printText(320, 240, "BA");  // 'B' is a black cell
    const Rgb inside = at(338, 248);
    EXPECT_EQ(255, inside.r);
    EXPECT_NEAR(128, inside.g, 2);  // colour (1, 0.5, 0.5), added onto black
    EXPECT_NEAR(128, inside.b, 2);
    EXPECT_EQ(255, at(344, 248).r);
    for (int x : {318, 328, 348}) EXPECT_EQ(Rgb{}, at(x, 248));
    for (int y : {230, 262}) EXPECT_EQ(Rgb{}, at(338, y));
    // 16 x 16 units from (330, 240): pixel columns 132 to 137 and rows 128 to 136, no more.
    EXPECT_EQ(6 * 9, GlTestWindow::litPixels());

    GlTestWindow::resetState();
    font.printText(320 - 2560, 240, (std::string(256, 'B') + "A").c_str());
    EXPECT_EQ(255, at(328, 248).r) << "the A, 2570 units on";
    EXPECT_EQ(Rgb{}, at(340, 248));

    GlTestWindow::resetState();
    font.printText(100, 100, " ??A");
    const std::vector<uint8_t> expected = GlTestWindow::frame();
    GlTestWindow::resetState();
    font.printText(100, 100,
                   "\x7f\x80\xFF"
                   "A");
    EXPECT_TRUE(expected == GlTestWindow::frame()) << "the frame of \" ??A\"";
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(BitmapFontGl, LinesOfOnePassKeepTheirOwnOriginsAndThePassRestoresTheMatrices) {
    load(fontImage({161}));
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    font.begin2D();
    font.printLine(10, 10, "A");
    font.printLine(20, 460, "A");
    font.end2D();
    EXPECT_EQ(255, at(18, 18).r);   // lower-left corner
    EXPECT_EQ(255, at(28, 468).r);  // upper-left corner
    EXPECT_EQ(Rgb{}, at(118, 18));
    GLint mode = 0, depth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ((std::vector<GLint>{GL_MODELVIEW, 1}), (std::vector<GLint>{mode, depth}));
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ((std::vector<float>{1, 2, 3}), std::vector<float>(m + 12, m + 15));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(BitmapFontGl, ReloadingKeepsOneSetOfListsAndOneTextureReference) {
    load(fontImage({161}));
    load(fontImage({161}));
    const GLuint base = font.listBase();
    ASSERT_NE(0u, base);
    for (GLuint i = 0; i < 256; ++i) ASSERT_TRUE(glIsList(base + i)) << i;
    EXPECT_FALSE(glIsList(base + 256));
    EXPECT_EQ(1, textureStore.count());
    EXPECT_EQ(1, textureStore.entry(font.textureSlot())->refCount);

    font.releaseFont();
    EXPECT_EQ(
        std::make_tuple(0u, -1, GLboolean(GL_FALSE), 0),
        std::make_tuple(font.listBase(), font.textureSlot(), glIsList(base), textureStore.count()));
    // Unloaded, it draws nothing and calls none of the lists another font now holds.
    BitmapFont other;
    load(TestImage(256, 256, 255, 255, 255), other);
    font.printText(10, 10, "AB");
    font.printText(10, 10, nullptr);
    EXPECT_EQ(0, GlTestWindow::litPixels());
    other.releaseFont();
}

}  // namespace
