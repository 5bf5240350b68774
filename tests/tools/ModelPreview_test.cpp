// tovask-model's preview verbs run as a program: where each view shows a model, a default
// character in a chosen skin with the ground and collision box marked, and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include "ProgramRun.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"

namespace {

const std::string TOOL = TOVASK_BUILD_DIR "/tools/model/tovask-model";
const std::string DATA = TOVASK_BUILD_DIR "/data";
constexpr int VIEW = 320;  // pixels of a view; front, right side, back, top in reading order
const char* const VIEW_NAMES[] = {"front", "right side", "back", "top"};
enum { FRONT, RIGHT, BACK, TOP };

struct ToolRun : ProgramRun {
    std::string err;
};

// Runs the tool in dir, as a modder runs it in his folder.
ToolRun preview(const TempDir& dir, const std::string& args) {
    ToolRun run;
    static_cast<ProgramRun&>(run) =
        runProgram("cd " + dir.path() + " && " + TOOL + " " + args + " 2>stderr.txt");
    run.err = readFile(dir.file("stderr.txt"));
    return run;
}

TestImage picture(const std::string& path) {
    std::string problem;
    TestImage p = readImage(path, problem);
    EXPECT_EQ(problem, "") << path;
    EXPECT_EQ(p.width, 2 * VIEW) << path;
    EXPECT_EQ(p.height, 2 * VIEW) << path;
    if (p.width != 2 * VIEW || p.height != 2 * VIEW) return TestImage(2 * VIEW, 2 * VIEW);
    return p;
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb YELLOW{255, 220, 0}, GROUND{96, 150, 96};

Rgb pixel(const TestImage& p, int view, int x, int y) {
    const size_t at = (size_t(view / 2 * VIEW + y) * p.width + view % 2 * VIEW + x) * 3;
    return {p.rgb[at], p.rgb[at + 1], p.rgb[at + 2]};
}

bool isRed(Rgb c) {
    return c.r > 200 && c.g < 40 && c.b < 40;
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
                f.left = std::min(f.left, x);
                f.right = std::max(f.right, x);
                f.top = std::min(f.top, y);
                f.bottom = std::max(f.bottom, y);
            }
    return f;
}

// A box of one plain colour from lo to hi (game axes), its faces wound to be
// seen from outside.
TdsScene colouredBox(const float lo[3], const float hi[3], uint8_t r, uint8_t g, uint8_t b) {
    TdsScene scene;
    scene.materials = {{"paint", "", {r, g, b}}};
    TdsObject o;
    o.name = "box";
    float corner[8][3];
    for (int i = 0; i < 8; ++i) {
        for (int axis = 0; axis < 3; ++axis)
            corner[i][axis] = (i >> axis & 1) ? hi[axis] : lo[axis];
        o.vertices.push_back(gameToFile(corner[i][0], corner[i][1], corner[i][2]));
    }
    // Each side: the four corners whose bit `axis` is `bit`, in a cycle.
    for (int axis = 0; axis < 3; ++axis)
        for (int bit = 0; bit < 2; ++bit) {
            const int u = 1 << (axis + 1) % 3, v = 1 << (axis + 2) % 3, base = bit << axis;
            uint16_t quad[4] = {uint16_t(base), uint16_t(base + u), uint16_t(base + u + v),
                                uint16_t(base + v)};
            // u, v, axis are right-handed: the cycle faces +axis; turn it for the low side.
            if (bit == 0) std::swap(quad[1], quad[3]);
            o.faces.insert(o.faces.end(), {quad[0], quad[1], quad[2], quad[0], quad[2], quad[3]});
        }
    std::vector<uint16_t> all(o.faces.size() / 3);
    for (size_t i = 0; i < all.size(); ++i) all[i] = uint16_t(i);
    o.groups = {{"paint", all}};
    scene.objects = {o};
    return scene;
}

}  // namespace

TEST(ModelPreview, EachViewShowsAColouredModelWhereItStandsAndTheBodyBoxToScale) {
    TempDir dir;
    // One unit wide, high and deep: right of the centre line (+x), ahead (-z), at chest height.
    const float lo[3] = {0.25f, 2, -3.75f}, hi[3] = {1.25f, 3, -2.75f};
    ASSERT_TRUE(saveTds(colouredBox(lo, hi, 255, 0, 0), dir.file("cube.3ds")));
    const ToolRun run = preview(dir, "preview cube.3ds cube.png");
    ASSERT_EQ(run.status, 0) << run.err;
    const TestImage p = picture(dir.file("cube.png"));
    const Rgb background = pixel(p, FRONT, VIEW - 4, VIEW / 2);

    // Which half of each view the cube must lie in: the front view sees the
    // creature's right on its left, the side view has the creature look right,
    // the top view has the front up.
    const struct {
        int view;
        bool rightHalf;
    } halves[] = {{FRONT, false}, {RIGHT, true}, {BACK, true}, {TOP, true}};
    for (const auto& h : halves) {
        const char* name = VIEW_NAMES[h.view];
        const Found red = find(p, h.view, isRed);
        ASSERT_GT(red.count, 0) << name << ": no red";
        EXPECT_EQ(h.rightHalf, red.left >= VIEW / 2) << name << ": red from column " << red.left;
        EXPECT_EQ(h.rightHalf, red.right >= VIEW / 2) << name << ": red to column " << red.right;
        if (h.view == TOP) {
            EXPECT_LT(red.bottom, VIEW / 2) << "top: the front is not up";
        }
        // Where a mirrored picture would have put it: background.
        const int x = VIEW - 1 - (red.left + red.right) / 2, y = (red.top + red.bottom) / 2;
        EXPECT_EQ(background, pixel(p, h.view, x, y)) << name << ": mirror image at " << x;
        // One scale for every view: the cube is one unit every way.
        EXPECT_NEAR(red.width(), red.height(), 1) << name;
    }

    // The collision body, 4 x 8 x 4 units from the creature's position up,
    // measured against the one-unit cube; the ground half a unit below it.
    const Found cube = find(p, FRONT, isRed);
    const Found box = find(p, FRONT, [](Rgb c) { return c == YELLOW; });
    const float unit = float(cube.width());
    EXPECT_NEAR(box.width(), 4 * unit, 2) << "front: the box outline";
    EXPECT_NEAR(box.height(), 8 * unit, 3) << "front: the box outline";
    EXPECT_NEAR(box.bottom - cube.bottom, 2 * unit, 2) << "front: the cube's bottom is at y = 2";
    const Found ground = find(p, FRONT, [](Rgb c) { return c == GROUND; });
    EXPECT_NEAR(ground.top - box.bottom, 0.5 * unit, 2) << "front: the ground line";
    EXPECT_EQ(ground.top, ground.bottom) << "front: the ground is seen edge on";
    const Found grid = find(p, TOP, [](Rgb c) { return c == GROUND; });
    EXPECT_GT(grid.height(), VIEW * 9 / 10) << "top: the ground grid fills the view";
}

TEST(ModelPreview, ACharacterWearsTheChosenSkinAndStandsOnTheGround) {
    TempDir dir;
    // The second skin of the default character Pelmo, painted one colour in
    // the modder's folder, where the game looks first.
    const Rgb PAINT{255, 0, 255};
    dir.write("textures/.keep", "");
    ASSERT_TRUE(writeBmp(TestImage(16, 16, PAINT.r, PAINT.g, PAINT.b),
                         dir.file("textures/pelmo_skin2.bmp")));
    const auto painted = [&](Rgb c) {
        return std::abs(c.r - PAINT.r) <= 2 && c.g <= 2 && std::abs(c.b - PAINT.b) <= 2;
    };

    const ToolRun second = preview(dir, "preview-character --skin 1 pelmo.chr second.png");
    ASSERT_EQ(second.status, 0) << second.err;
    const TestImage p = picture(dir.file("second.png"));
    for (int view = FRONT; view <= TOP; ++view) {
        EXPECT_GT(find(p, view, painted).count, 1000) << VIEW_NAMES[view] << ": the skin";
        EXPECT_GT(find(p, view, [](Rgb c) { return c == YELLOW; }).count, 500)
            << VIEW_NAMES[view] << ": the body box";
        EXPECT_GT(find(p, view, [](Rgb c) { return c == GROUND; }).count, 100)
            << VIEW_NAMES[view] << ": the ground";
    }
    // The boots' soles touch the ground line.
    const int soles = find(p, FRONT, painted).bottom;
    const int ground = find(p, FRONT, [](Rgb c) { return c == GROUND; }).top;
    EXPECT_NEAR(ground, soles + 1, 2) << "front: soles at row " << soles;

    const ToolRun first = preview(dir, "preview-character pelmo.chr first.png");
    ASSERT_EQ(first.status, 0) << first.err;
    const TestImage q = picture(dir.file("first.png"));
    for (int view = FRONT; view <= TOP; ++view)
        EXPECT_EQ(find(q, view, painted).count, 0) << VIEW_NAMES[view] << ": skin 0 is Pelmo's own";
}

TEST(ModelPreview, RefusesWithoutWritingAndSaysWhy) {
    TempDir dir;
    const float lo[3] = {-1, -0.5f, -1}, hi[3] = {1, 7, 1};
    ASSERT_TRUE(saveTds(colouredBox(lo, hi, 0, 0, 255), dir.file("box.3ds")));
    TdsScene hidden = colouredBox(lo, hi, 0, 0, 255);
    hidden.objects[0].name = "_helper";
    ASSERT_TRUE(saveTds(hidden, dir.file("helper.3ds")));
    ASSERT_TRUE(saveTds(colouredBox(lo, hi, 0, 0, 255), dir.file("Cube.3ds")));
    const float far[3] = {-1, -0.5f, -3e38f};
    ASSERT_TRUE(saveTds(colouredBox(far, hi, 0, 0, 255), dir.file("far.3ds")));
    // Pelmo with arm models that are not there.
    dir.write("cfg/armless.chr",
              "0\n1\nArmless\npelmo_skin%d.bmp\nlost%d.3ds\npelmo_stand3\npelmo_walk3\n"
              "pelmo_strafe3\npelmo_strafe3\n1.0\nnone\npelmo_gear.3ds\npelmo_death3\n");
    dir.write("empty/.keep", "");
    const std::string searched = "./, /.tovask/ and " + DATA + "/";
    const std::string none = "; nothing written";
    const struct {
        std::string args;
        std::string message;  // the last line on stderr
    } cases[] = {
        {"preview missing.3ds out.png",
         "tovask-model: preview: missing.3ds is not found in " + searched + none},
        {"preview Cube.3ds out.png", "tovask-model: preview: Cube.3ds is not found in " + searched +
                                         " (the game lowers model names: it looks for cube.3ds)" +
                                         none},
        {"preview helper.3ds out.png",
         "tovask-model: preview: helper.3ds draws nothing: it has no triangles in objects the "
         "game shows (names starting with _ are hidden)" +
             none},
        {"preview --data empty box.3ds out.png",
         "tovask-model: preview: the creature body c3.3ds is not found in ./, /.tovask/ and "
         "empty/: give the game's data folder with --data" +
             none},
        {"preview far.3ds out.png",
         "tovask-model: preview: it reaches 3e+38 units from the origin, more than the 1000000 "
         "a picture shows" +
             none},
        {"preview box.3ds nowhere/out.png",
         "tovask-model: cannot write nowhere/out.png: no temporary file in its folder: No such "
         "file or directory"},
        {"preview-character armless.chr out.png",
         "tovask-model: preview-character: the arm model lost1.3ds is not found in " + searched +
             none},
        {"preview-character --skin 3 pelmo.chr out.png",
         "tovask-model: preview-character: Pelmo has 3 skins: give --skin 0 to 2" + none},
        {"preview-character nobody.chr out.png",
         "tovask-model: preview-character: nobody.chr is not found in " + searched +
             " (nor in their cfg/ folders)" + none},
    };
    for (const auto& c : cases) {
        dir.write("out.png", "the old picture");
        const ToolRun run = preview(dir, c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_EQ(run.err.substr(run.err.rfind('\n', run.err.size() - 2) + 1), c.message + "\n")
            << c.args;
        EXPECT_EQ(readFile(dir.file("out.png")), "the old picture") << c.args;
    }
}
