// tovask-model run as a program: what the game's reader makes of its output, and refusals that
// leave the output alone.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "ChunkReader.h"
#include "Mesh.h"
#include "ProgramRun.h"
#include "ToolFixtures.h"

namespace {

// Everything the game's reader keeps of a file, floats with `digits` significant digits.
std::string reading(const std::string& path, int digits = 9) {
    Mesh mesh;
    ImportReport report;
    if (!ChunkReader::import(mesh, path.c_str(), &report)) return "unreadable";
    std::ostringstream s;
    s << std::setprecision(digits) << "version " << report.version << "\n";
    for (const Material& m : mesh.materials)
        s << "material " << m.name << " texture '" << m.textureFile << "' colour "
          << int(m.colour[0]) << " " << int(m.colour[1]) << " " << int(m.colour[2]) << "\n";
    for (const MeshObject& o : mesh.objects) {
        s << "object " << o.name << (o.visible ? "" : " hidden") << " material " << o.materialIndex
          << (o.textured ? " textured" : "") << "\n vertices";
        for (const Vec3& v : o.vertices) s << " " << v.x << " " << v.y << " " << v.z << ",";
        s << "\n uvs";
        for (float f : o.uvs) s << " " << f;
        s << "\n faces";
        for (uint32_t f : o.faces) s << " " << f;
        s << "\n";
    }
    return s.str();
}

std::string readingOf(const TempDir& dir, const TdsScene& scene, int digits = 9) {
    return reading(dir.write("expected.3ds", tds(scene)), digits);
}

// A skinned four-vertex model, box x 1..3, y 0..6, z 3..5 in the game's axes: corners x, y, z
// one after the other.
TdsScene tetra(const std::vector<float>& xyz = {1, 2, 3, 3, 2, 3, 1, 6, 3, 1, 0, 5}) {
    TdsScene scene{3, {{"skin", "skin.bmp", {255, 255, 255}}}, {{"tetra", {}, {}, {}, {}}}};
    scene.objects[0].faces = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
    scene.objects[0].groups = {{"skin", {0, 1, 2, 3}}};
    for (size_t i = 0; i + 2 < xyz.size(); i += 3)
        scene.objects[0].vertices.push_back(gameToFile(xyz[i], xyz[i + 1], xyz[i + 2]));
    return scene;
}

// What a refused run left: the output file and how many files the folder holds.
std::string left(const TempDir& dir) {
    return readFile(dir.file("out.3ds")) + ", " +
           std::to_string(std::distance(std::filesystem::directory_iterator(dir.path()), {})) +
           " files";
}

}  // namespace

TEST(ModelFixer, CopiesEverythingTheReaderKeepsAndRenamesTexturesAsTheGameMatchesThem) {
    TdsScene scene;
    scene.version = 5;
    scene.materials = {{"Stone", "Wall.bmp", {10, 20, 30}},
                       {"Plain", "", {1, 2, 3}},
                       {"Moss", "wall.BMP", {4, 5, 6}},
                       {"Brick", "wall.bmp.tga", {7, 8, 9}},
                       {"unknown material 0", "", {0, 0, 0}}};  // a name the fixer must not take
    // Objects of three vertices with partial texture coordinates, then an empty one: name, groups.
    const std::pair<const char*, std::vector<TdsFaceGroup>> objects[] = {
        {"body", {{"Moss", {0, 1}}}},                        // a material of its own
        {"_helper", {}},                                     // hidden, no material named
        {"lost", {{"Missing", {0}}}},                        // a material that is not there
        {"sticky", {{"Brick", {0}}, {"Plain", {1}}}},        // textured, then plain
        {"sticky-lost", {{"Stone", {}}, {"Nowhere", {}}}}};  // textured, then lost
    const std::vector<TdsVertex> corners = {{1, 2, 3}, {-0.0f, 1e-20f, 3e7f}, {0.1f, 0.2f, 0.3f}};
    for (const auto& [name, groups] : objects)
        scene.objects.push_back(
            {name, corners, {0, 1, 2, 2, 1, 0}, {0.25f, 0.5f, 1.5f, -2}, groups});
    scene.objects.emplace_back().name = "empty";
    TempDir dir;
    dir.write("in.3ds", tds(scene));
    const ProgramRun run = model(dir, "texture WALL.BMP Floor.bmp in.3ds out.3ds");
    scene.materials[0].textureFile = scene.materials[2].textureFile = "Floor.bmp";
    EXPECT_EQ(said(run) + reading(dir.file("out.3ds")),
              "0 texture WALL.BMP Floor.bmp: 2 materials changed\n" + readingOf(dir, scene))
        << run.err;
}

// Verbs in a row apply in order, each measuring the model as the ones before left it, and their
// printed fix repeats them; a float's limits at the largest and the smallest number it holds;
// turns; the model written over itself.
TEST(ModelFixer, EachVerbMovesThePositionsAsMeasured) {
    const float most = 3.40282347e38f;
    const struct {
        const char* args;
        const char* printed;
        std::vector<float> positions;  // x, y, z of each corner
    } cases[] = {
        {"move 3.40282347e38 1e-45 -0",
         "move 3.4028235e+38 1e-45 0\n",
         {most, 2, 3, most, 2, 3, most, 6, 3, most, 1e-45f, 5}},
        // Quarter turns leave no crumbs where a coordinate becomes 0.
        {"turn x 90", "turn x 90\n", {1, -3, 2, 3, -3, 2, 1, -3, 6, 1, -5, 0}},
        {"turn y -90", "turn y -90\n", {-3, 2, 1, -3, 2, 3, -3, 6, 1, -5, 0, 1}},
        {"turn z 450", "turn z 450\n", {-2, 1, 3, -2, 3, 3, -6, 1, 3, 0, 1, 5}},
        {"turn y 30",
         "turn y 30\n",
         {2.3660254f, 2, 2.0980762f, 4.0980762f, 2, 1.0980762f, 2.3660254f, 6, 2.0980762f,
          3.3660254f, 0, 3.8301270f}},
        // Moved up and scaled first, so lift and centre measure the box they made; then turned.
        {"move 0 1 0 height 12 lift centre turn y 180",
         "move 0 1 0\nheight 12: scale 2\nlift: move 0 -2.5 0\ncentre: move -4 0 -8\nturn y 180\n",
         {2, 3.5, 2, -2, 3.5, 2, 2, 11.5, 2, 2, -.5, -2}},
        {"move 0 1 0 scale 2 move 0 -2.5 0 move -4 0 -8 turn y 180",
         "move 0 1 0\nscale 2\nmove 0 -2.5 0\nmove -4 0 -8\nturn y 180\n",
         {2, 3.5, 2, -2, 3.5, 2, 2, 11.5, 2, 2, -.5, -2}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.write("key.3ds", tds(tetra()));
        const ProgramRun run = model(dir, std::string(c.args) + " key.3ds key.3ds");
        EXPECT_EQ(said(run) + reading(dir.file("key.3ds"), 6),
                  "0 " + std::string(c.printed) + readingOf(dir, tetra(c.positions), 6))
            << c.args << ": " << run.err;
    }
}

TEST(ModelFixer, TextureCoordinatesSpanTheBoxUprightFromEachSide) {
    // Three triangles, each with vertices of its own, in the box 0..2 on every axis: one facing
    // the front (-z), one facing up, one facing right (+x); and an untextured object.
    TdsScene scene =
        tetra({0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 2, 0, 0, 2, 2, 2, 2, 0, 2, 0, 0, 2, 2, 0, 2, 0, 2});
    scene.objects[0].faces = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    scene.objects.push_back(box("plain", {0, 0, 0}, {2, 2, 2}));
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
    dir.write("in.3ds", tds(scene));
    for (const auto& c : cases) {
        const ProgramRun run = model(dir, std::string("uv ") + c.projection + " in.3ds out.3ds");
        EXPECT_EQ(
            said(run) + run.err,
            "0 uv " + std::string(c.projection) +
                ": 2 objects, 17 vertices\ntovask-model: uv: warning: object \"plain\" has no "
                "textured material, so the game draws it without these coordinates\n");
        TdsScene expected = scene;
        expected.objects[0].uvs = c.uvs;
        // The material is textured, so the game draws these coordinates.
        const std::string got = reading(dir.file("out.3ds")), want = readingOf(dir, expected);
        EXPECT_EQ(got.substr(0, got.find("object plain")),
                  want.substr(0, want.find("object plain")))
            << c.projection;
    }
}

// Refusals, one a line: the arguments, "|", the first line on stderr. Folders: none/ is missing,
// folder/ holds a file.
TEST(ModelFixer, RefusesBadRequestsWithoutTouchingTheOutput) {
    TempDir dir;
    dir.write("in.3ds", tds(tetra()));
    TdsScene hollow;
    hollow.objects.emplace_back().name = "nothing";
    dir.write("empty.3ds", tds(hollow));
    dir.write("flat.3ds", tds(tetra({0, 1, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1})));
    dir.write("nan.3ds", tds(tetra({0, 1, 0, 1, 1, 0, 0, NAN, 1, 1, 1, 1})));
    dir.write("garbage.3ds", "not a model at all");
    dir.write("folder/inside", "x");
    const std::string cases = expand(R"(frob in.3ds out.3ds|tovask-model: unknown verb frob
--bogus in.3ds out.3ds|tovask-model: unknown option --bogus
lift --bogus out.3ds|tovask-model: unknown option --bogus
 in.3ds out.3ds|tovask-model: give at least one fix before in.3ds
scale in.3ds out.3ds|tovask-model: scale takes 1 argument: scale FACTOR
scale 0 in.3ds out.3ds|tovask-model: scale: FACTOR must be above 0, not 0
lift height -2 in.3ds out.3ds|tovask-model: height: UNITS must be above 0, not -2
scale nan in.3ds out.3ds|tovask-model: scale: FACTOR must be a number a float holds, not "nan"
height inf in.3ds out.3ds|tovask-model: height: UNITS must be a number a float holds, not "inf"
move 1 2x 3 in.3ds out.3ds|tovask-model: move: DY must be a number a float holds, not "2x"
move 3.5e38 0 0 in.3ds out.3ds|tovask-model: move: DX must be a number a float holds, not "3.5e38"
move 0 0 1e-46 in.3ds out.3ds|tovask-model: move: DZ must be a number a float holds, not "1e-46"
turn w 90 in.3ds out.3ds|tovask-model: turn: AXIS must be x, y or z, not "w"
turn x 9o in.3ds out.3ds|tovask-model: turn: DEGREES must be a number a float holds, not "9o"
uv round in.3ds out.3ds|tovask-model: uv: the projection must be box, planar-x, planar-y or planar-z, not "round"
uv box empty.3ds out.3ds|tovask-model: uv: the model has no vertex to measure
texture sk.bmp a.bmp in.3ds out.3ds|tovask-model: texture: no material has the texture "sk.bmp" (in any letter case); the textures are: "skin.bmp"
texture sk.bmp a.bmp empty.3ds out.3ds|tovask-model: texture: no material has the texture "sk.bmp" (in any letter case); the textures are: none
texture "" a.bmp in.3ds out.3ds|tovask-model: texture: OLD and NEW must not be empty
texture skin.bmp @100n@ in.3ds out.3ds|tovask-model: texture: NEW is longer than 99 characters: the game does not load it
scale 1e30 scale 1e30 in.3ds out.3ds|tovask-model: scale: object "tetra" would get a vertex too far out for a float; nothing written
lift empty.3ds out.3ds|tovask-model: lift: the model has no vertex to measure
height 8 flat.3ds out.3ds|tovask-model: height: the model is 0 tall: no scale makes it 8 tall
turn y 90 nan.3ds out.3ds|tovask-model: turn: object "tetra" has a vertex that is not a finite number; nothing written
scale 2 nan.3ds out.3ds|tovask-model: scale: object "tetra" has a vertex that is not a finite number; nothing written
lift missing.3ds out.3ds|Unable to find the file: missing.3ds!
lift garbage.3ds out.3ds|Unable to load PRIMARY chuck from file: garbage.3ds!
lift in.3ds none/out.3ds|tovask-model: cannot write none/out.3ds: no temporary file in its folder: No such file or directory
lift in.3ds folder|tovask-model: cannot write folder: renaming: Is a directory
)");
    forEachRefusal(cases, [&](const std::string& args, const std::string& message) {
        dir.write("out.3ds", "the old output");
        const std::string run = refusal(model(dir, args));  // before left() looks
        EXPECT_EQ(run + "; " + left(dir), "2 " + message + "; the old output, 7 files");
    });
    // At the texture name's limit: written.
    EXPECT_EQ(model(dir, "texture skin.bmp " + std::string(99, 'n') + " in.3ds out.3ds").status, 0);

    // Writing stopped half-way (the file size limit): the old output stays, no part is left.
    std::vector<float> many(900, 2);
    many[1] = 5;
    dir.write("in.3ds", tds(tetra(many)));
    dir.write("out.3ds", "the old output");
    const ProgramRun cut = model(dir, "lift in.3ds out.3ds",
                                 "export GCOV_ERROR_FILE=/dev/null; trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(
        std::to_string(cut.status) + " " + cut.err + left(dir),
        "2 tovask-model: cannot write out.3ds: writing: File too large\nthe old output, 7 files");

    // A pipe as the output is written through, never replaced by a plain file.
    ASSERT_EQ(model(dir, "lift in.3ds lifted.3ds").status, 0);
    const ProgramRun piped = model(
        dir, "lift in.3ds fifo >said & } && timeout 20 cat fifo && wait $!", "mkfifo fifo && { ");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, readFile(dir.file("lifted.3ds"))) << "what came through the pipe";
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("fifo"))) << "the pipe is still one";
}
