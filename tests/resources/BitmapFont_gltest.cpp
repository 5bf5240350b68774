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

// The lit window pixels as "columns x0-x1 rows y0-y1: n lit", rows from the bottom.
std::string litBox() {
    const std::vector<uint8_t> rgb = GlTestWindow::frame();
    const int w = GlTestWindow::WIDTH;
    int x0 = w, x1 = -1, y0 = w, y1 = -1, n = 0;
    for (int i = 0; i < int(rgb.size()) / 3; ++i)
        if (rgb[3 * i] | rgb[3 * i + 1] | rgb[3 * i + 2]) {
            x0 = std::min(x0, i % w), x1 = std::max(x1, i % w), ++n;
            y0 = std::min(y0, i / w), y1 = std::max(y1, i / w);
        }
    return "columns " + std::to_string(x0) + "-" + std::to_string(x1) + " rows " +
           std::to_string(y0) + "-" + std::to_string(y1) + ": " + std::to_string(n) + " lit";
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
};

// 'A' is glyph 96 + 65, '?' 96 + 63, 'B' a black cell: a glyph is 16 x 16 units, each character
// advances 10. Long texts are passed on in pieces; the origin moves on across them. 127 is
// glyph 223 (dark here); 128 and above would be negative list offsets.
TEST_F(BitmapFontGl,
       CapitalAIsColumnOneRowTenEachCharacterAdvancesTenUnitsAndHighBytesAreQuestionMarks) {
    load(fontImage({159, 161}), font);
    font.printText(320, 240, "BA");  // the A from (330, 240)
    const Rgb inside = GlTestWindow::pixel(GlTestWindow::textX(338), GlTestWindow::textY(248));
    EXPECT_EQ(std::make_tuple(255, 128, 128), std::make_tuple(inside.r, inside.g, inside.b))
        << "colour (1, 0.5, 0.5) added onto black";
    EXPECT_EQ("columns 132-137 rows 128-136: 54 lit", litBox());
    GlTestWindow::resetState();
    font.printText(320 - 2560, 240, (std::string(256, 'B') + "A").c_str());
    EXPECT_EQ("columns 128-133 rows 128-136: 54 lit", litBox()) << "the A, 2560 units on";
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

// (Where lines of one pass begin: the menu's label tests.)
TEST_F(BitmapFontGl, APassRestoresTheMatricesAndTheDepthTest) {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    font.begin2D();
    font.end2D();
    GLint mode = 0, depth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ((std::vector<float>{GL_MODELVIEW, 1, 1, 2, 3, 1}),
              (std::vector<float>{float(mode), float(depth), m[12], m[13], m[14],
                                  float(glIsEnabled(GL_DEPTH_TEST))}))
        << "matrix mode, modelview depth, projection translation, depth test";
}

TEST_F(BitmapFontGl, ReloadingKeepsOneSetOfListsAndOneTextureReference) {
    load(fontImage({161}), font);
    load(fontImage({161}), font);
    const GLuint base = font.listBase();
    ASSERT_NE(0u, base);
    for (GLuint i = 0; i < 256; ++i) ASSERT_TRUE(glIsList(base + i)) << i;
    EXPECT_FALSE(glIsList(base + 256));
    EXPECT_EQ("1 1", std::to_string(textureStore.count()) + " " +
                         std::to_string(textureStore.entry(font.textureSlot())->refCount));
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
