// tovask-3dsinfo run as a program on writer fixtures and on garbage.
#include <gtest/gtest.h>

#include "CaptureOutput.h"
#include "ProgramRun.h"
#include "ToolFixtures.h"

namespace {

ProgramRun inspect(const std::string& args) {
    return runProgram(TOOLS + "3dsinfo/tovask-3dsinfo " + args);
}

TdsScene fixture() {
    TdsScene scene;
    scene.materials = {{"Stone", "Wall.BMP", {10, 20, 30}},
                       {"q\"\\\x01 é\xff"
                        "\xC0\xAF\xED\xA0\x80€\xF0\x8F\xBF\xBF😀",
                        "",
                        {1, 2, 3}}};
    // Above: quote, backslash, a control character, UTF-8, a stray byte, an
    // overlong form and a surrogate (invalid), then UTF-8 again, an overlong
    // four-byte form (invalid) and a four-byte character.
    const std::vector<TdsVertex> corners = {{1, 2, 3}, {0.1f, 2.5f, 1e7f}, {7, 8, 9}};
    scene.objects = {{"floor", corners, {0, 1, 2}, {0, 0, 1, 1}, {{"Stone", {0}}}},
                     {"_empty", {}, {}, {}, {{"Nothing", {}}}}};
    return scene;
}

// The JSON line of the fixture at path.
std::string json(const std::string& path) {
    return R"({"file":")" + path +
           R"(","materials":[{"index":0,"name":"Stone","textureFile":"Wall.BMP","colour":[10,20,30]},{"index":1,"name":"q\"\\\u0001 é\u00ff\u00c0\u00af\u00ed\u00a0\u0080€\u00f0\u008f\u00bf\u00bf😀","textureFile":"","colour":[1,2,3]}],"objects":[{"index":0,"name":"floor","visible":true,"vertices":3,"faces":1,"uvs":2,"materialIndex":0,"boundsMin":[0.1,3,-8],"boundsMax":[7,1e+07,-2]},{"index":1,"name":"_empty","visible":false,"vertices":0,"faces":0,"uvs":0,"materialIndex":-1}]}
)";
}

}  // namespace

TEST(Inspector, JsonAndTextDescribeWhatTheGameReadsAndUnreadableFilesFailAlone) {
    TempDir dir;
    const std::string path = dir.file("scene.3ds");
    ASSERT_TRUE(saveTds(fixture(), path));
    const ProgramRun run = inspect("--json " + path);
    EXPECT_EQ(said(run) + run.err, "0 " + json(path));
    // The text form of a newer file: totals and the reader's warnings.
    TdsScene newer = fixture();
    newer.version = 5;
    ASSERT_TRUE(saveTds(newer, path));
    const ProgramRun text = inspect(path);
    EXPECT_EQ(said(text) + text.err, "0 " + path + R"(: version 5, 2 objects, 2 materials
  object 0 "floor": 3 vertices, 1 faces, 2 uvs, material 0, bounds (0.1, 3, -8) - (7, 1e+07, -2)
  object 1 "_empty" (invisible): 0 vertices, 0 faces, 0 uvs, material -1
  material 0 "Stone": texture "Wall.BMP", colour 10 20 30
  material 1 "q\"\\\u0001 é\u00ff\u00c0\u00af\u00ed\u00a0\u0080€\u00f0\u008f\u00bf\u00bf😀": texture "", colour 1 2 3
  triangles: 1
  bounds: (0.1, 3, -8) - (7, 1e+07, -2), radius 5e+06
  warning: This 3DS file is over version 3 so it may load incorrectly (version 5)
  warning: object \"_empty\" names unknown material \"Nothing\"
)");

    // Garbage, a missing file, a folder, a main chunk of noise and a good file in one run.
    const std::string good = dir.file("good.3ds"), lost = dir.file("missing.3ds");
    ASSERT_TRUE(saveTds(fixture(), good));
    std::vector<uint8_t> noise(3000);
    uint32_t seed = 12345;
    for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    const std::string garbage = dir.write("garbage.3ds", noise);
    noise[0] = 0x4D, noise[1] = 0x4D;  // a main chunk full of noise still reads
    const std::string noisy = dir.write("noisy.3ds", noise);
    const ProgramRun all =
        inspect("--json " + garbage + " " + lost + " " + dir.path() + " " + noisy + " " + good);
    EXPECT_EQ(said(all) + all.err,
              "1 {\"file\":\"" + noisy + "\",\"materials\":[],\"objects\":[]}\n" + json(good) +
                  "Unable to load PRIMARY chuck from file: " + garbage +
                  "!\nUnable to find the file: " + lost +
                  "!\nUnable to load PRIMARY chuck from file: " + dir.path() + "!\n");
    EXPECT_EQ(inspect("").status, 2);
    // The fixtures' writer says which file it cannot open, or fill.
    for (const std::string& to : {dir.file("no/x.3ds"), std::string("/dev/full")}) {
        const Output o = captureOutput([&] { EXPECT_FALSE(saveTds(fixture(), to)); });
        EXPECT_EQ(o.err, "Unable to write " + to + "\n");
    }
}
