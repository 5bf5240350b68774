// tovask-model run as a program: what the game's reader makes of its output, and refusals that
// leave the output alone.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "ChunkReader.h"
#include "Mesh.h"
#include "ProgramRun.h"
#include "TdsWriter.h"
#include "TestFiles.h"

namespace {

const std::string FIXER = TOVASK_BUILD_DIR "/tools/model/tovask-model";

struct ToolRun : ProgramRun {
    std::string err;
};

// shell runs before the program, in the same shell.
ToolRun fix(const TempDir& dir, const std::string& args, const std::string& shell = "") {
    ToolRun run;
    const std::string errFile = dir.file("stderr.txt");
    static_cast<ProgramRun&>(run) = runProgram(shell + FIXER + " " + args + " 2>" + errFile);
    run.err = readFile(errFile);
    std::filesystem::remove(errFile);
    return run;
}

// Everything the game's reader keeps of a file, floats with `digits` significant digits.
std::string reading(const std::string& path, int digits = 9) {
    Mesh mesh;
    ImportReport report;
    if (!ChunkReader::import(mesh, path.c_str(), &report)) return "unreadable";
    const auto number = [digits](float f) {
        char text[32];
        std::snprintf(text, sizeof text, " %.*g", digits, double(f));
        return std::string(text);
    };
    std::string s = "version " + std::to_string(report.version) + "\n";
    for (const Material& m : mesh.materials)
        s += "material " + m.name + " texture '" + m.textureFile + "' colour " +
             std::to_string(m.colour[0]) + " " + std::to_string(m.colour[1]) + " " +
             std::to_string(m.colour[2]) + "\n";
    for (const MeshObject& o : mesh.objects) {
        s += "object " + o.name + (o.visible ? "" : " hidden") + " material " +
             std::to_string(o.materialIndex) + (o.textured ? " textured" : "") + "\n vertices";
        for (const Vec3& v : o.vertices) s += number(v.x) + number(v.y) + number(v.z) + ",";
        s += "\n uvs";
        for (float f : o.uvs) s += number(f);
        s += "\n faces";
        for (uint32_t f : o.faces) s += " " + std::to_string(f);
        s += "\n";
    }
    return s;
}

std::string readingOf(const TempDir& dir, const TdsScene& scene, int digits = 9) {
    const std::string path = dir.file("expected.3ds");
    saveTds(scene, path);
    const std::string text = reading(path, digits);
    std::filesystem::remove(path);
    return text;
}

struct P {
    float x, y, z;
};

// A skinned four-vertex model, box x 1..3, y 0..6, z 3..5 in the game's axes.
TdsScene tetra(const std::vector<P>& corners = {{1, 2, 3}, {3, 2, 3}, {1, 6, 3}, {1, 0, 5}}) {
    TdsScene scene;
    scene.materials = {{"skin", "skin.bmp", {255, 255, 255}}};
    TdsObject o;
    o.name = "tetra";
    for (const P& p : corners) o.vertices.push_back(gameToFile(p.x, p.y, p.z));
    o.faces = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
    o.groups = {{"skin", {0, 1, 2, 3}}};
    scene.objects = {o};
    return scene;
}

}  // namespace

TEST(ModelFixer, CopiesEverythingTheReaderKeepsAndRenamesTexturesAsTheGameMatchesThem) {
    TdsScene scene;
    scene.version = 5;
    scene.materials = {{"Stone", "Wall.bmp", {10, 20, 30}},
                       {"Plain", "", {1, 2, 3}},
                       {"Moss", "wall.BMP", {4, 5, 6}},
                       {"Brick", "wall.bmp.tga", {7, 8, 9}}};
    TdsObject body;  // a material of its own, partial texture coordinates
    body.name = "body";
    body.vertices = {{1, 2, 3}, {-0.0f, 1e-20f, 3e7f}, {0.1f, 0.2f, 0.3f}};
    body.faces = {0, 1, 2, 2, 1, 0};
    body.uvs = {0.25f, 0.5f, 1.5f, -2};
    body.groups = {{"Moss", {0, 1}}};
    TdsObject helper = body;  // hidden, no material named
    helper.name = "_helper";
    helper.groups.clear();
    TdsObject lost = body;  // a material that is not there
    lost.name = "lost";
    lost.groups = {{"Missing", {0}}};
    TdsObject sticky = body;  // textured by an earlier group, plain by the last
    sticky.name = "sticky";
    sticky.groups = {{"Brick", {0}}, {"Plain", {1}}};
    TdsObject stickyLost = sticky;
    stickyLost.name = "sticky-lost";
    stickyLost.groups = {{"Stone", {}}, {"Nowhere", {}}};
    TdsObject empty;
    empty.name = "empty";
    scene.objects = {body, helper, lost, sticky, stickyLost, empty};
    TempDir dir;
    const std::string in = dir.file("in.3ds"), out = dir.file("out.3ds");
    ASSERT_TRUE(saveTds(scene, in));

    const ToolRun run = fix(dir, "texture WALL.BMP Floor.bmp " + in + " " + out);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "texture WALL.BMP Floor.bmp: 2 materials changed\n");
    scene.materials[0].textureFile = scene.materials[2].textureFile = "Floor.bmp";
    const std::string expected = readingOf(dir, scene);
    EXPECT_NE(expected.find("object sticky-lost material -1 textured"), std::string::npos)
        << "the fixture lacks a case:\n"
        << expected;
    EXPECT_EQ(reading(out), expected);
}

TEST(ModelFixer, EachVerbMovesThePositionsAsMeasured) {
    const struct {
        const char* args;
        const char* printed;
        std::vector<P> positions;
    } cases[] = {
        {"scale 2", "scale 2\n", {{2, 4, 6}, {6, 4, 6}, {2, 12, 6}, {2, 0, 10}}},
        {"height 12", "height 12: scale 2\n", {{2, 4, 6}, {6, 4, 6}, {2, 12, 6}, {2, 0, 10}}},
        {"move 0.5 -1 2", "move 0.5 -1 2\n", {{1.5, 1, 5}, {3.5, 1, 5}, {1.5, 5, 5}, {1.5, -1, 7}}},
        {"lift", "lift: move 0 -0.5 0\n", {{1, 1.5, 3}, {3, 1.5, 3}, {1, 5.5, 3}, {1, -.5, 5}}},
        {"centre", "centre: move -2 0 -4\n", {{-1, 2, -1}, {1, 2, -1}, {-1, 6, -1}, {-1, 0, 1}}},
        // Quarter turns leave no crumbs where a coordinate becomes 0.
        {"turn x 90", "turn x 90\n", {{1, -3, 2}, {3, -3, 2}, {1, -3, 6}, {1, -5, 0}}},
        {"turn y -90", "turn y -90\n", {{-3, 2, 1}, {-3, 2, 3}, {-3, 6, 1}, {-5, 0, 1}}},
        {"turn z 450", "turn z 450\n", {{-2, 1, 3}, {-2, 3, 3}, {-6, 1, 3}, {0, 1, 5}}},
        {"turn y 30",
         "turn y 30\n",
         {{2.3660254f, 2, 2.0980762f},
          {4.0980762f, 2, 1.0980762f},
          {2.3660254f, 6, 2.0980762f},
          {3.3660254f, 0, 3.8301270f}}},
    };
    TempDir dir;
    const std::string in = dir.file("in.3ds"), out = dir.file("out.3ds");
    ASSERT_TRUE(saveTds(tetra(), in));
    for (const auto& c : cases) {
        const ToolRun run = fix(dir, std::string(c.args) + " " + in + " " + out);
        EXPECT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(run.out, c.printed) << c.args;
        EXPECT_EQ(reading(out, 6), readingOf(dir, tetra(c.positions), 6)) << c.args;
    }
}

TEST(ModelFixer, VerbsApplyInOrderAndTheirPrintedFixRepeatsThemOnAnotherKey) {
    TempDir dir;
    const std::string key1 = dir.file("key1.3ds"), key2 = dir.file("key2.3ds");
    ASSERT_TRUE(saveTds(tetra(), key1));
    ASSERT_TRUE(saveTds(tetra(), key2));
    // Scaled first, so lift and centre measure the scaled box; then turned half round.
    const ToolRun run = fix(dir, "height 12 lift centre turn y 180 " + key1 + " " + key1);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "height 12: scale 2\nlift: move 0 -0.5 0\ncentre: move -4 0 -8\nturn y 180\n");
    EXPECT_EQ(reading(key1),
              readingOf(dir, tetra({{2, 3.5, 2}, {-2, 3.5, 2}, {2, 11.5, 2}, {2, -.5, -2}})));

    const ToolRun again =
        fix(dir, "scale 2 move 0 -0.5 0 move -4 0 -8 turn y 180 " + key2 + " " + key2);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(reading(key2), reading(key1));
}

TEST(ModelFixer, TextureCoordinatesSpanTheBoxUprightFromEachSide) {
    // Three triangles, each with vertices of its own, in the box 0..2 on every
    // axis: one facing the front (-z), one facing up, one facing right (+x).
    TdsScene scene = tetra({{0, 0, 0},
                            {0, 2, 0},
                            {2, 0, 0},  // front
                            {0, 2, 0},
                            {0, 2, 2},
                            {2, 2, 0},  // top
                            {2, 0, 0},
                            {2, 2, 0},
                            {2, 0, 2}});  // right
    scene.objects[0].faces = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        const char* projection;
        std::vector<float> uvs;  // u, v for the nine vertices; v = 1 at the skin's top
    } cases[] = {
        {"box", {1, 0, 1, 1, 0, 0, /**/ 0, 1, 0, 0, 1, 1, /**/ 1, 0, 1, 1, 0, 0}},
        {"planar-z", {1, 0, 1, 1, 0, 0, /**/ 1, 1, 1, 1, 0, 1, /**/ 0, 0, 0, 1, 0, 0}},
        {"planar-x", {1, 0, 1, 1, 1, 0, /**/ 1, 1, 0, 1, 1, 1, /**/ 1, 0, 1, 1, 0, 0}},
        {"planar-y", {0, 1, 0, 1, 1, 1, /**/ 0, 1, 0, 0, 1, 1, /**/ 1, 1, 1, 1, 1, 0}},
    };
    TempDir dir;
    const std::string in = dir.file("in.3ds"), out = dir.file("out.3ds");
    ASSERT_TRUE(saveTds(scene, in));
    for (const auto& c : cases) {
        const ToolRun run = fix(dir, std::string("uv ") + c.projection + " " + in + " " + out);
        EXPECT_EQ(run.status, 0) << c.projection << ": " << run.err;
        EXPECT_EQ(run.out, std::string("uv ") + c.projection + ": 1 object, 9 vertices\n");
        TdsScene expected = scene;
        expected.objects[0].uvs = c.uvs;
        // The material is textured, so the game draws these coordinates.
        EXPECT_EQ(reading(out), readingOf(dir, expected)) << c.projection;
    }
}

TEST(ModelFixer, RefusesBadRequestsWithoutTouchingTheOutput) {
    TempDir dir;
    const std::string in = dir.file("in.3ds"), out = dir.file("out.3ds");
    ASSERT_TRUE(saveTds(tetra(), in));
    TdsScene hollow;
    hollow.objects.resize(1);
    hollow.objects[0].name = "nothing";
    const std::string empty = dir.file("empty.3ds");
    ASSERT_TRUE(saveTds(hollow, empty));
    const std::string flat = dir.file("flat.3ds"), broken = dir.file("nan.3ds");
    ASSERT_TRUE(saveTds(tetra({{0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 1, 1}}), flat));
    ASSERT_TRUE(saveTds(tetra({{0, 1, 0}, {1, 1, 0}, {0, NAN, 1}, {1, 1, 1}}), broken));
    const std::string garbage = dir.write("garbage.3ds", "not a model at all");
    dir.write("folder/inside", "x");
    const std::string noFolder = dir.file("none/out.3ds"), folder = dir.file("folder");
    const std::string plain = " " + in + " " + out;
    const struct {
        std::string args;
        std::string message;  // the first line on stderr
    } cases[] = {
        {"frob" + plain, "tovask-model: unknown verb frob"},
        {"--bogus" + plain, "tovask-model: unknown option --bogus"},
        {"lift --bogus " + out, "tovask-model: unknown option --bogus"},
        {plain, "tovask-model: give at least one fix before " + in},
        {"scale" + plain, "tovask-model: scale takes 1 argument: scale FACTOR"},
        {"scale 0" + plain, "tovask-model: scale: FACTOR must be above 0, not 0"},
        {"lift height -2" + plain, "tovask-model: height: UNITS must be above 0, not -2"},
        {"scale nan" + plain,
         "tovask-model: scale: FACTOR must be a number a float holds, not \"nan\""},
        {"height inf" + plain,
         "tovask-model: height: UNITS must be a number a float holds, not \"inf\""},
        {"move 1 2x 3" + plain,
         "tovask-model: move: DY must be a number a float holds, not \"2x\""},
        {"turn w 90" + plain, "tovask-model: turn: AXIS must be x, y or z, not \"w\""},
        {"uv round" + plain,
         "tovask-model: uv: the projection must be box, planar-x, planar-y or planar-z, not "
         "\"round\""},
        {"texture sk.bmp a.bmp" + plain,
         "tovask-model: texture: no material has the texture \"sk.bmp\" (in any letter case); the "
         "textures are: \"skin.bmp\""},
        {"scale 1e30 scale 1e30" + plain,
         "tovask-model: scale: object \"tetra\" would get a vertex too far out for a float; "
         "nothing written"},
        {"lift " + empty + " " + out, "tovask-model: lift: the model has no vertex to measure"},
        {"height 8 " + flat + " " + out,
         "tovask-model: height: the model is 0 tall: no scale makes it 8 tall"},
        {"turn y 90 " + broken + " " + out,
         "tovask-model: turn: object \"tetra\" has a vertex that is not a finite number; nothing "
         "written"},
        {"lift " + dir.file("missing.3ds") + " " + out,
         "Unable to find the file: " + dir.file("missing.3ds") + "!"},
        {"lift " + garbage + " " + out, "Unable to load PRIMARY chuck from file: " + garbage + "!"},
        {"lift " + in + " " + noFolder,
         "tovask-model: cannot write " + noFolder +
             ": no temporary file in its folder: No such file or directory"},
        {"lift " + in + " " + folder,
         "tovask-model: cannot write " + folder + ": renaming: Is a directory"},
    };
    for (const auto& c : cases) {
        dir.write("out.3ds", "the old output");
        const ToolRun run = fix(dir, c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.message) << c.args;
        EXPECT_EQ(readFile(out), "the old output") << c.args;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 7)
            << c.args << ": a temporary file was left";
    }

    // Writing stopped half-way (the file size limit): the old output stays, no part is left.
    std::vector<P> many(300, P{1, 2, 3});
    many[0].y = 5;
    ASSERT_TRUE(saveTds(tetra(many), in));
    const ToolRun cut = fix(dir, "lift" + plain, "trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(cut.status, 2);
    EXPECT_EQ(cut.err, "tovask-model: cannot write " + out + ": writing: File too large\n");
    EXPECT_EQ(readFile(out), "the old output");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 7);

    const ToolRun help = fix(dir, "lift --help " + in + " " + out);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, help.out.find('\n')),
              "usage: tovask-model VERB [ARGS] [VERB [ARGS] ...] IN.3ds OUT.3ds");
    EXPECT_EQ(readFile(out), "the old output");
}
