// Models: plain and animated loading, interpolation, mirroring and the clock.
#include "Model.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "AnimationFile.h"
#include "CaptureOutput.h"
#include "ResourceFixtures.h"
#include "TdsWriter.h"
#include "TestFiles.h"

namespace {

using namespace std::string_literals;

// One object "part" whose vertices are given in game axes; the faces make a
// single triangle over the first three.
TdsScene sceneWith(std::vector<Vec3> gameVertices, int objects = 1) {
    TdsScene scene;
    for (int i = 0; i < objects; ++i) {
        TdsObject o;
        o.name = "part" + std::to_string(i);
        for (const Vec3& v : gameVertices) o.vertices.push_back(gameToFile(v.x, v.y, v.z));
        o.faces = {0, 1, 2};
        scene.objects.push_back(o);
    }
    return scene;
}

const std::vector<Vec3> KEY1 = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
const std::vector<Vec3> KEY2 = {{0, 0, 0}, {20, 0, 0}, {0, 10, 20}};

class ModelFiles : public testing::Test {
protected:
    ModelFiles() : cwd_(dir_.path()) {
        saveTds(sceneWith(KEY1), dir_.file("key1.3ds"));
        saveTds(sceneWith(KEY2), dir_.file("key2.3ds"));
    }
    // Loads quietly and returns whether it worked.
    bool load(Model& model, const char* name, bool mx = false, bool my = false, bool mz = false) {
        captureStderr();
        const bool ok = model.load(name, LISTS_NONE, mx, my, mz);
        stderr_ = capturedStderr();
        return ok;
    }

    TempDir dir_;
    ScopedWorkingDir cwd_;
    std::string stderr_;
};

// The vertices of a frame's first object.
std::string vertices(const Model& m, int frame) {
    return describe(m.frames.at(size_t(frame))->objects.at(0).vertices);
}

std::pair<int, int> clock(const Model& m) {
    return {m.time, m.currentFrame};
}

}  // namespace

TEST_F(ModelFiles, PlainFileIsOneStillFrame) {
    Model model;
    ASSERT_TRUE(model.load("key1.3ds", "Skin.bmp", "old.bmp", LISTS_NONE, false, false, false));
    EXPECT_EQ(
        std::make_tuple(model.loaded, model.frameCount(), model.length,
                        model.frames[0]->replacementTexture, model.frames[0]->replacedTexture,
                        model.boundsMax.y, model.radius),
        std::make_tuple(true, 1, 1, std::string("Skin.bmp"), std::string("old.bmp"), 10.0f, 5.0f));

    EXPECT_FALSE(model.load("key2.3ds", LISTS_NONE, false, false, false));  // already loaded
    // A name of 255 characters or more is not looked for; its start is shown.
    const std::string n254(254, 'n'), n255(255, 'n');
    for (const char* name :
         {"", static_cast<const char*>(nullptr), "absent.3ds", n254.c_str(), n255.c_str()}) {
        Model missing;
        EXPECT_FALSE(load(missing, name) || missing.loaded) << (name ? name : "null");
    }
    EXPECT_EQ(stderr_, "Unable to locate file " + n255.substr(0, 64) + "...\n");
}

TEST_F(ModelFiles, FramesBlendNeighbouringKeys) {
    dir_.write("walk3", "1000\n10\n2\nkey%d.3ds\n0\n");
    Model model;
    ASSERT_TRUE(model.load("walk3", "skin.bmp", "old.bmp", LISTS_NONE, false, false, false));
    EXPECT_EQ(
        (std::vector<int>{model.frameCount(), model.ticksPerFrame, model.length, model.looping}),
        (std::vector<int>{10, 100, 1000, 0}));
    // t 300: 0.6 of key 2; not looping, the last key stands behind itself.
    EXPECT_EQ(vertices(model, 0) + " | " + vertices(model, 3) + " | " + vertices(model, 9),
              "0.00 0.00 0.00, 10.00 0.00 0.00, 0.00 10.00 0.00 | 0.00 0.00 0.00, 16.00 0.00 0.00, "
              "0.00 10.00 12.00 | 0.00 0.00 0.00, 20.00 0.00 0.00, 0.00 10.00 20.00");
    // Frames take the skin for every texture.
    EXPECT_EQ(model.frames[3]->replacementTexture + "|" + model.frames[3]->replacedTexture,
              "skin.bmp|");
    // Bounds and normals follow the blended positions.
    EXPECT_FLOAT_EQ(model.frames[5]->boundsMax.z, 20.0f);
    EXPECT_LT(model.frames[5]->objects[0].normals[0].y, 0.0f);

    dir_.write("loop3", "1000\n10\n2\nkey%d.3ds\n1\n");
    Model looping;
    ASSERT_TRUE(looping.load("loop3", LISTS_NONE, false, false, false));
    // t 900: 0.8 of the way back to key 1.
    EXPECT_EQ(vertices(looping, 9), "0.00 0.00 0.00, 12.00 0.00 0.00, 0.00 10.00 4.00");
}

TEST_F(ModelFiles, LengthIsCutToWholeFramesAndTheClockWrapsWhenLoopingAndStopsOtherwise) {
    dir_.write("loop3", "1000\n3\n1\nkey%d.3ds\n1\n");
    dir_.write("once3", "1000\n3\n1\nkey%d.3ds\n0\n");
    Model looping, once;
    ASSERT_TRUE(looping.load("loop3", LISTS_NONE, false, false, false));
    ASSERT_TRUE(once.load("once3", LISTS_NONE, false, false, false));
    EXPECT_EQ(std::make_pair(looping.ticksPerFrame, looping.length), std::make_pair(333, 999));
    EXPECT_EQ(vertices(looping, 2), describe(KEY1)) << "one key blended with itself";

    Model empty;  // never loaded: the clock stays at zero
    // Columns: the model, the time set, the ticks it advances, the time and frame after. Times
    // of 998 and 999 (the length), 0 and -1 either way; many lengths back and forth.
    const std::tuple<Model*, int, int, int, int> steps[] = {
        {&looping, 0, 1000, 1, 0},  {&once, 0, 1000, 998, 2}, {&looping, 994, -2000000000, 992, 2},
        {&looping, 998, 0, 998, 2}, {&looping, 999, 0, 0, 0}, {&looping, 992, 2147483647, 273, 0},
        {&once, 999, 0, 998, 2},    {&looping, 5, -5, 0, 0},  {&looping, 5, -6, 998, 2},
        {&looping, 5, -10, 994, 2}, {&once, 5, -6, 0, 0},     {&once, 400, 0, 400, 1},
        {&empty, 0, 100, 0, 0},     {&empty, -3, 0, 0, 0}};
    for (const auto& [model, set, ticks, time, frame] : steps) {
        model->setTime(set);
        model->advance(ticks);
        const char* name = model == &once ? "once" : model == &looping ? "looping" : "empty";
        EXPECT_EQ(clock(*model), std::make_pair(time, frame))
            << name << " from " << set << " by " << ticks;
    }
    once.setTime(400);
    once.resetTime();
    EXPECT_EQ(clock(once), std::make_pair(0, 0)) << "reset from time 400, frame 1";
}

// Every mirrored axis negates that coordinate; an odd number of them swaps two corners of every
// face so that it keeps facing out, and normals and bounds follow.
TEST_F(ModelFiles, MirroringKeepsFacesFacingOutward) {
    const Vec3 normal = normalize(Vec3{0, -2, 1});  // of key 2's triangle, unmirrored
    for (int axes = 1; axes < 8; ++axes) {
        const Vec3 s{axes & 1 ? -1.0f : 1.0f, axes & 2 ? -1.0f : 1.0f, axes & 4 ? -1.0f : 1.0f};
        const auto flip = [&](Vec3 v) { return Vec3{s.x * v.x, s.y * v.y, s.z * v.z}; };
        Model model;
        ASSERT_TRUE(load(model, "key2.3ds", axes & 1, axes & 2, axes & 4));
        const MeshObject& o = model.frames[0]->objects[0];
        const Vec3 far = flip({20, 10, 20});  // the box's corner away from the origin
        const Vec3 lo{std::min(0.0f, far.x), std::min(0.0f, far.y), std::min(0.0f, far.z)};
        const Vec3 hi{std::max(0.0f, far.x), std::max(0.0f, far.y), std::max(0.0f, far.z)};
        EXPECT_EQ(describe(o.vertices) + " | " +
                      describe({o.normals[0], model.boundsMin, model.boundsMax}),
                  describe({flip(KEY2[0]), flip(KEY2[1]), flip(KEY2[2])}) + " | " +
                      describe({flip(normal), lo, hi}))
            << "mirrored axes " << axes;
        EXPECT_EQ(o.faces, s.x * s.y * s.z < 0 ? std::vector<uint32_t>({0, 2, 1})
                                               : std::vector<uint32_t>({0, 1, 2}))
            << "mirrored axes " << axes;
    }
}

TEST_F(ModelFiles, BrokenDescriptionFilesAreRefusedWithTheRuleTheyBreak) {
    const std::string NO_PATTERN =
        "the key file pattern needs exactly one %d and no other % than %%";
    const std::pair<std::string, std::string> broken[] = {
        {"", "the length must be 1 or more"},
        {"1000\n10\n", "the key count must be 1 or more"},
        {"1000\n10\n2\n", "the key file pattern is missing or too long"},
        {"0\n10\n2\nkey%d.3ds\n0\n", "the length must be 1 or more"},
        {"99999999999\n10\n2\nkey%d.3ds\n0\n", "the length must be 1 or more"},
        {"1000\n0\n2\nkey%d.3ds\n0\n", "the frame count must be 1 or more"},
        {"1000\nten\n2\nkey%d.3ds\n0\n", "the frame count must be 1 or more"},
        {"1001\n1001\n1\nk%d.3ds\n0\n", "the frame count is above 1000"},
        {"2147483647\n2147483647\n1\nk%d.3ds\n1\n", "the frame count is above 1000"},
        {"1000\n10\n-1\nkey%d.3ds\n0\n", "the key count must be 1 or more"},
        {"1010\n10\n101\nk%d.3ds\n0\n", "the key count is above 100"},
        {"1000\n10\n1\n" + std::string(253, 'k') + "%d\n0\n",
         "the key file pattern is missing or too long"},
        {"1000\n10\n2\nkey%d.3ds\n", "the looping flag is missing"},
        {"1000\n10\n2\nkey.3ds\n0\n", NO_PATTERN},
        {"1000\n10\n2\nkey%d%d.3ds\n0\n", NO_PATTERN},
        {"1000\n10\n2\nkey%s.3ds\n0\n", NO_PATTERN},
        {"1000\n10\n2\n%n%d\n0\n", NO_PATTERN},
        {"1000\n10\n2\nkey%100d\n0\n", NO_PATTERN},  // wider than a name buffer
        {"1000\n10\n100\n" + std::string(252, 'k') + "%d\n0\n", "the key file names are too long"},
        {"1\n1\n2\nkey%d.3ds\n0\n", "the length is shorter than the key count"},
        {"5\n10\n1\nkey%d.3ds\n0\n", "the length is shorter than the frame count"},
        {"10\n10\n3\nkey%d.3ds\n0\n", "late frames would need keys past the last"},
    };
    for (const auto& [text, reason] : broken) {
        dir_.write("broken3", text);
        Model model;
        EXPECT_FALSE(load(model, "broken3")) << text;
        EXPECT_FALSE(model.loaded || model.frameCount());
        EXPECT_EQ(stderr_, "Animation file broken3 refused: " + reason + "\n") << text;
    }
    // The largest counts and names allowed, width flags, and one tick a key and a frame are fine.
    for (const std::string& text :
         {"1000\n1000\n1\nk%d.3ds\n0\n"s, "1000\n10\n100\n" + std::string(251, 'k') + "%d\n0\n",
          "1000\n10\n1\n" + std::string(252, 'k') + "%d\n0\n", "10\n10\n2\nkey%02d.3ds\n0\n"s,
          "2\n2\n2\nkey%d.3ds\n0\n"s}) {
        AnimationDescription d;
        EXPECT_TRUE(readAnimationDescription(dir_.write("most3", text).c_str(), d)) << text;
    }
    AnimationDescription d;
    captureStderr();
    EXPECT_FALSE(readAnimationDescription("absent3", d));
    EXPECT_EQ(capturedStderr(), "Unable to open animation file absent3\n");
}

TEST_F(ModelFiles, KeysOfAnotherShapeBlendOnlyTheSharedPart) {
    saveTds(sceneWith({{0, 0, 0}, {30, 0, 0}, {0, 10, 0}, {5, 5, 5}}, 2), dir_.file("big1.3ds"));
    saveTds(sceneWith({{0, 0, 0}, {50, 0, 0}, {0, 10, 0}}), dir_.file("big2.3ds"));
    dir_.write("odd3", "1000\n2\n2\nbig%d.3ds\n0\n");
    Model model;
    ASSERT_TRUE(load(model, "odd3"));
    EXPECT_EQ(stderr_, "Animation file odd3: key 2 does not match key 1\n");
    ASSERT_EQ(model.frameCount(), 2);
    // Vertex 1 is shared: key 2's; vertex 3 and the second object only in key 1: kept.
    const auto& objects = model.frames[1]->objects;
    EXPECT_EQ((std::vector<float>{objects[0].vertices[1].x, objects[0].vertices[3].x,
                                  objects[1].vertices[1].x}),
              (std::vector<float>{50, 5, 30}));
}

// Frames copy key 1 whole: 1000 frames of 1000 elements are the budget, of 1001 one frame's
// worth over it.
TEST_F(ModelFiles, FramesHoldingMoreThanTheBudgetAreRefused) {
    for (const int elements : {1001, 1000}) {
        // One object, one face: the rest are vertices.
        saveTds(sceneWith(std::vector<Vec3>(size_t(elements) - OBJECT_ELEMENTS - 1)),
                dir_.file("body1.3ds"));
        dir_.write("many3", "1000\n1000\n1\nbody%d.3ds\n1\n");
        Model many;
        EXPECT_EQ(elements == 1000, load(many, "many3")) << elements;
        EXPECT_EQ(many.frameCount(), elements == 1000 ? 1000 : 0);
        // What the store counts: the key and every frame built, or the key read before refusing.
        EXPECT_EQ(elements == 1000 ? 1001000 : 1001, many.elementsRead);
        if (elements == 1000) continue;
        EXPECT_EQ(stderr_,
                  "Animation file many3 refused: 1000 frames of body1.3ds hold 1001000 elements "
                  "(1001 each), more than the 1000000 allowed\n");
    }
}
