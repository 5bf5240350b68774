// tovask-model's preview verbs run as a program: where each view shows a model, a default
// character in a chosen skin and weapon with the ground and collision box marked, and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "GlTestWindow.h"  // Rgb
#include "ProgramRun.h"
#include "ToolFixtures.h"

namespace {

constexpr int VIEW = 320;  // pixels of a view; front, right side, back, top in reading order
const char* const VIEW_NAMES[] = {"front", "right side", "back", "top"};
enum { FRONT, RIGHT, BACK, TOP };
const Rgb YELLOW{255, 220, 0}, GROUND{96, 150, 96};

TestImage picture(const std::string& path) {
    std::string problem;
    const TestImage p = readImage(path, problem);
    const bool whole = p.width == 2 * VIEW && p.height == 2 * VIEW;
    EXPECT_TRUE(whole) << path << ": " << p.width << " x " << p.height << " " << problem;
    return whole ? p : TestImage(2 * VIEW, 2 * VIEW);
}

Rgb pixel(const TestImage& p, int view, int x, int y) {
    const size_t at = (size_t(view / 2 * VIEW + y) * p.width + view % 2 * VIEW + x) * 3;
    return {p.rgb[at], p.rgb[at + 1], p.rgb[at + 2]};
}

// The pixels of one view that pass a test: how many, and their bounding box.
struct Found {
    int count = 0;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Found find(const TestImage& p, int view, const std::function<bool(Rgb)>& test) {
    Found f;
    for (int y = 0; y < VIEW; ++y)
        for (int x = 0; x < VIEW; ++x)
            if (test(pixel(p, view, x, y))) {
                ++f.count;
                f.left = std::min(f.left, x), f.right = std::max(f.right, x);
                f.top = std::min(f.top, y), f.bottom = std::max(f.bottom, y);
            }
    return f;
}

// What the verbs print for a picture written.
std::string written(const char* verb, const std::string& drawn) {
    const std::string box = "(-2, 0, -2) to (2, 8, 2)";
    return std::string(verb) +
           ": out.png, 640 x 640: front, right side, back and top views\n  drawn: " + drawn +
           "\n  ground grid at y = -0.5; yellow: the creature's collision box " + box + "\n";
}

}  // namespace

TEST(ModelPreview, EachViewShowsAModelOrACharacterWhereItStandsAndTheBodyBoxToScale) {
    TempDir dir;
    // One unit wide, high and deep: right of the centre line (+x), ahead (-z), at chest height.
    dir.write("cube.3ds", tds(boxScene({0.25f, 2, -3.75f}, {1.25f, 3, -2.75f}, "", {255, 0, 0})));
    EXPECT_EQ(said(model(dir, "preview cube.3ds out.png")),
              "0 " + written("preview", "(0.25, 2, -3.75) to (1.25, 3, -2.75), 1 tall"));
    const TestImage p = picture(dir.file("out.png"));
    const auto isRed = [](Rgb c) { return c.r > 200 && c.g < 40 && c.b < 40; };

    // Which half of each view the cube must lie in: the front view sees the creature's right on
    // its left, the side view has the creature look right, the top view has the front up.
    for (int view = FRONT; view <= TOP; ++view) {
        const Found red = find(p, view, isRed);
        EXPECT_EQ(std::to_string(red.left >= VIEW / 2) + std::to_string(red.right >= VIEW / 2) +
                      std::to_string(view != TOP || red.bottom < VIEW / 2) +
                      std::to_string(std::abs(red.width() - red.height()) <= 1),
                  view == FRONT ? "0011" : "1111")
            << VIEW_NAMES[view] << ": the red from and to the right half, the front up on top, "
            << "as wide as high (one scale for every view): " << red.left << " to " << red.right
            << " x " << red.top << " to " << red.bottom;
    }

    // The collision body, 4 x 8 x 4 units from the creature's position up, measured against the
    // one-unit cube.
    const Found cube = find(p, FRONT, isRed);
    const Found box = find(p, FRONT, [](Rgb c) { return c == YELLOW; });
    const float unit = float(cube.width());
    EXPECT_NEAR(box.width(), 4 * unit, 2) << "front: the box outline";
    EXPECT_NEAR(box.height(), 8 * unit, 3) << "front: the box outline";
    EXPECT_NEAR(box.bottom - cube.bottom, 2 * unit, 2) << "front: the cube's bottom is at y = 2";

    // As far from the origin as a picture goes: a million units.
    dir.write("far.3ds", tds(boxScene({-1, 0, -1e6f}, {1, 1, 1})));
    EXPECT_EQ(said(model(dir, "preview far.3ds out.png")),
              "0 " + written("preview", "(-1, 0, -1e+06) to (1, 1, 1), 1 tall"));

    // A character wears the chosen skin, holds the chosen weapon and stands on the ground. The
    // second skin of the default character Pelmo, painted one colour in the modder's folder,
    // where the game looks first.
    const Rgb PAINT{255, 0, 255};
    dir.write("textures/pelmo_skin2.bmp", bmp(TestImage(16, 16, PAINT.r, PAINT.g, PAINT.b)));
    const auto painted = [&](Rgb c) {
        return std::abs(c.r - PAINT.r) <= 2 && c.g <= 2 && std::abs(c.b - PAINT.b) <= 2;
    };
    EXPECT_EQ(said(model(dir, "preview-character --skin 1 --weapon 5 pelmo.chr out.png")),
              "0 " + written("preview-character", "(-2, -0.5, -3.3) to (2, 8.25, 1.6), 8.75 tall"));
    const TestImage q = picture(dir.file("out.png"));
    for (int view = FRONT; view <= TOP; ++view)
        EXPECT_GT(find(q, view, painted).count, 1000) << VIEW_NAMES[view] << ": the skin";
    // The boots' soles touch the ground line.
    const int soles = find(q, FRONT, painted).bottom;
    const int ground = find(q, FRONT, [](Rgb c) { return c == GROUND; }).top;
    EXPECT_NEAR(ground, soles + 1, 2) << "front: soles at row " << soles;

    // Skin 0, weapon 1 (the first), or none at all: the arms at rest, wider than the guns.
    const std::pair<std::string, std::string> others[] = {
        {"", "(-2, -0.5, -3.7) to (2, 8.25, 1.6), 8.75 tall"},
        {"--weapon 0 ", "(-2.33001, -0.5, -0.9) to (2.33001, 8.25, 1.6), 8.75 tall"}};
    for (const auto& [options, drawn] : others) {
        const ProgramRun run = model(dir, "preview-character " + options + "pelmo.chr out.png");
        EXPECT_EQ(run.out, written("preview-character", drawn)) << options;
        EXPECT_EQ(find(picture(dir.file("out.png")), FRONT, painted).count, 0)
            << options << "front: skin 0 is Pelmo's own";
    }
}

// Refusals, one a line: the arguments, "|", the last line on stderr (without "tovask-model: ").
TEST(ModelPreview, RefusesWithoutWritingAndSaysWhy) {
    TempDir dir;
    dir.write("box.3ds", tds(boxScene({-1, -0.5f, -1}, {1, 7, 1})));
    TdsScene hidden = boxScene({-1, -0.5f, -1}, {1, 7, 1});
    hidden.objects[0].name = "_helper";
    dir.write("helper.3ds", tds(hidden));
    dir.write("Cube.3ds", tds(boxScene({-1, -0.5f, -1}, {1, 7, 1})));
    dir.write("far.3ds", tds(boxScene({-1, 0, -1000000.0625f}, {1, 1, 1})));
    // Pelmo with arm models that are not there; a character whose every part is hidden.
    const std::string pelmo = readFile(DATA + "/cfg/pelmo.chr");
    dir.write("cfg/armless.chr", pelmo.substr(0, pelmo.find("pelmo_arms")) + "lost" +
                                     pelmo.substr(pelmo.find("_arms") + 5));
    dir.write("cfg/unseen.chr",
              "0\n1\nUnseen\npelmo_skin%d.bmp\nhelper.3ds\nhelper.3ds\nhelper.3ds\nhelper."
              "3ds\nhelper.3ds\n1.0\nnone\nhelper.3ds\nhelper.3ds\n");
    dir.write("cfg/typeless.chr", "1" + pelmo.substr(1));
    dir.write("empty/.keep", "");
    const std::string cases = expand(
        R"(preview missing.3ds out.png|preview: missing.3ds is not found in ./, /.tovask/ and @DATA@/; nothing written
preview Cube.3ds out.png|preview: Cube.3ds is not found in ./, /.tovask/ and @DATA@/ (the game lowers model names: it looks for cube.3ds); nothing written
preview helper.3ds out.png|preview: helper.3ds draws nothing: it has no triangles in objects the game shows (names starting with _ are hidden); nothing written
preview --data empty box.3ds out.png|preview: the creature body c3.3ds is not found in ./, /.tovask/ and empty/: give the game's data folder with --data; nothing written
preview far.3ds out.png|preview: it reaches 1e+06 units from the origin, more than the 1000000 a picture shows; nothing written
preview box.3ds nowhere/out.png|cannot write nowhere/out.png: no temporary file in its folder: No such file or directory
preview --data|preview: --data needs a value; nothing written
preview --data nofolder box.3ds out.png|preview: no folder nofolder; nothing written
preview --skin 1 box.3ds out.png|preview: unknown option --skin; nothing written
preview box.3ds|preview: give IN.3ds and OUT.png; nothing written
preview box.3ds .png|preview: the picture's name must end in .png, not ".png"; nothing written
preview box.3ds out.pn|preview: the picture's name must end in .png, not "out.pn"; nothing written
preview-character out.png|preview-character: give NAME.chr and OUT.png; nothing written
preview-character armless.chr out.png|preview-character: the arm model lost1.3ds is not found in ./, /.tovask/ and @DATA@/; nothing written
preview-character --weapon 0 unseen.chr out.png|preview-character: Unseen draws nothing standing; nothing written
preview-character typeless.chr out.png|preview-character: typeless.chr is no character the game takes (see above); nothing written
preview-character --skin 3 pelmo.chr out.png|preview-character: Pelmo has 3 skins: give --skin 0 to 2; nothing written
preview-character --skin 1000000 pelmo.chr out.png|preview-character: Pelmo has 3 skins: give --skin 0 to 2; nothing written
preview-character --skin 1000001 pelmo.chr out.png|preview-character: --skin takes a skin number from 0, not "1000001"; nothing written
preview-character --skin -1 pelmo.chr out.png|preview-character: --skin takes a skin number from 0, not "-1"; nothing written
preview-character --weapon 6 pelmo.chr out.png|preview-character: --weapon takes 1 to 5, or 0 for empty hands, not "6"; nothing written
preview-character --weapon -1 pelmo.chr out.png|preview-character: --weapon takes 1 to 5, or 0 for empty hands, not "-1"; nothing written
preview-character nobody.chr out.png|preview-character: nobody.chr is not found in ./, /.tovask/ and @DATA@/ (nor in their cfg/ folders); nothing written
preview @255n@ out.png|preview: the name is longer than the 254 characters the game takes; nothing written
preview @254n@ out.png|preview: @254n@ is not found in ./, /.tovask/ and @DATA@/; nothing written
preview-character @256n@ out.png|preview-character: @256n@ is not found in ./, /.tovask/ and @DATA@/ (nor in their cfg/ folders); nothing written
)");
    forEachRefusal(cases, [&](const std::string& args, const std::string& message) {
        dir.write("out.png", "the old picture");
        const ProgramRun run = model(dir, args);
        EXPECT_EQ(std::to_string(run.status) + " " +
                      run.err.substr(run.err.rfind('\n', run.err.size() - 2) + 1) +
                      readFile(dir.file("out.png")),
                  "2 tovask-model: " + message + "\nthe old picture");
    });
}
