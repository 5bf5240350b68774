// tovask-check run as a program on the default data and on copies with one thing broken.
#include <gtest/gtest.h>

#include <functional>

#include "ProgramRun.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"

namespace {

const std::string CHECK = TOVASK_BUILD_DIR "/tools/check/tovask-check";
const std::string DATA = TOVASK_BUILD_DIR "/data";

// The checker run in dir (its working directory, searched before the data folder).
ProgramRun check(const TempDir& dir, const std::string& args) {
    return runProgram("cd " + dir.path() + " && exec " + CHECK + " " + args + " 2>&1");
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A default data file with one line replaced (lines from 1).
std::string withLine(const std::string& file, int line, const std::string& text) {
    std::string out, all = readFile(DATA + "/" + file);
    size_t start = 0;
    for (int n = 1; start < all.size(); ++n) {
        const size_t end = all.find('\n', start);
        out += (n == line ? text : all.substr(start, end - start)) + "\n";
        start = end == std::string::npos ? all.size() : end + 1;
    }
    return out;
}

// A closed box in game axes (y up), faces wound outwards.
TdsObject box(const std::string& name, float x0, float y0, float z0, float x1, float y1, float z1) {
    TdsObject o;
    o.name = name;
    for (int i = 0; i < 8; ++i)
        o.vertices.push_back(gameToFile(i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0));
    o.faces = {0, 1, 5, 0, 5, 4, 2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2,
               1, 3, 7, 1, 7, 5, 0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6};
    return o;
}

// A model whose only material keeps its colour as floats (chunk 0x0010).
std::vector<uint8_t> floatColourModel() {
    TdsChunk faces(0x4120);
    faces.u16(1).u16(0).u16(1).u16(2).u16(0).child(TdsChunk(0x4130).str("paint").u16(1).u16(0));
    TdsChunk vertices(0x4110);
    vertices.u16(3);
    for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, 1.f}) vertices.f32(v);
    TdsChunk material(0xAFFF);
    material.child(TdsChunk(0xA000).str("paint"))
        .child(TdsChunk(0xA020).child(TdsChunk(0x0010).f32(1.0f).f32(0.5f).f32(0.25f)));
    TdsChunk editor(0x3D3D);
    editor.child(TdsChunk(0x3D3E).u32(3))
        .child(material)
        .child(TdsChunk(0x4000).str("box").child(TdsChunk(0x4100).child(vertices).child(faces)));
    return TdsChunk(0x4D4D).child(editor).bytes();
}

// A default data file with a UTF-8 byte-order mark before it.
std::string withMark(const std::string& file) {
    return "\xEF\xBB\xBF" + readFile(DATA + "/" + file);
}

// A figure standing on the ground: a box in game axes from soles to head.
TdsScene figure(float soles, float head) {
    TdsScene scene;
    const float half = (head - soles) / 4;
    scene.objects = {box("body", -half, soles, -half / 2, half, head, half / 2)};
    return scene;
}

struct Case {
    const char* name;
    std::function<void(const TempDir&)> spoil;  // writes into the working directory
    std::string finding;  // "FILE[:LINE]: severity: message", or its start for older cases
    int status;
    int findings;  // how many the run gives (errors and warnings), 0: not counted
};

}  // namespace

TEST(DataCheck, DefaultContentHasNoFindingAndSaysWhatItSearches) {
    TempDir cwd;
    const ProgramRun text = check(cwd, DATA);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out,
              "tovask-check: reading the data as the game does, from ./, then /.tovask/, then " +
                  DATA +
                  "/ (each with its folders textures/ models/ sound/ maps/ scenes/ cfg/)\n"
                  "tovask-check: 0 errors, 0 warnings; files read from " +
                  DATA + "/\n");
    const ProgramRun json = check(cwd, "--json " + DATA);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "{\"searched\":[\"./\",\"/.tovask/\",\"" + DATA +
                            "/\"]}\n{\"errors\":0,\"warnings\":0,\"read\":[\"" + DATA +
                            "/\"],\"elsewhere\":{}}\n");
}

TEST(DataCheck, EachBrokenFolderGivesItsFindingOnceAtTheFileAtFault) {
    const std::string pelmo13 =
        "0\n7\nPelmo\npelmo_skin%d.bmp\npelmo_arms%d.3ds\npelmo_stand3\npelmo_walk3\n"
        "pelmo_strafe3\nkvark_walk3\n1.0\nnone\npelmo_gear.3ds\npelmo_death3\n";
    TdsScene collision;  // walls around the level, and a post where the player starts
    collision.objects = {
        box("north", -170, -8, -250, 170, 30, -240), box("south", -170, -8, 150, 170, 30, 160),
        box("west", -180, -8, -250, -170, 30, 160), box("east", 170, -8, -250, 180, 30, 160),
        box("post", -0.5f, 0, -50.5f, 0.5f, 8, -49.5f)};
    TdsScene lying;  // 2 tall, 8 long
    lying.objects = {box("body", -2, 0, -4, 2, 2, 4)};
    TdsScene yard;
    yard.materials = {{"wall", "Yard_Wall.BMP"}};
    yard.objects = {box("gear", -1, 4, 0.5f, 1, 8, 1.5f)};
    yard.objects[0].groups = {{"wall", {0}}};
    const Case cases[] = {
        {"a skin file missing",
         [](const TempDir& d) { d.write("cfg/pelmo.chr", withLine("cfg/pelmo.chr", 2, "4")); },
         "cfg/pelmo.chr:2: error: 4 skins, but skin 4's texture pelmo_skin4.bmp is not found", 1,
         0},
        {"an animation key of another shape",
         [](const TempDir& d) {
             d.write("models/pelmo_walk2.3ds", readFile(DATA + "/models/pelmo_arms0.3ds"));
         },
         "models/pelmo_walk2.3ds: error: as key 2 of " + DATA + "/models/pelmo_walk3, it", 1, 0},
        {"a companion of another height",
         [](const TempDir& d) { writeBmp(TestImage(128, 64), d.file("textures/grate+.bmp")); },
         "textures/grate+.bmp: error: this alpha companion is 128 x 64 pixels but its colour "
         "image " +
             DATA + "/textures/grate.bmp is 128 x 128",
         1, 0},
        {"skins with alpha companions: a texture slot for every frame",
         [](const TempDir& d) {
             for (const char* skin : {"textures/pelmo_skin1+.bmp", "textures/pelmo_skin2+.bmp"})
                 writeBmp(TestImage(256, 256), d.file(skin));
         },
         DATA + "/cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 138 "
                "textures, on Bunker 133, on Canyon 132, above the 100",
         1, 0},
        {"a character that alone overflows the model table",
         [&](const TempDir& d) { d.write("cfg/pelmo.chr", pelmo13); },
         "cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 104 models, on "
         "Bunker 102, on Canyon 103, above the 100",
         1, 0},
        {"animations adding up past what a fight may load",
         [](const TempDir& d) {
             TdsScene cloud;  // 1000 vertices: 900 frames of it stay under one model's cap
             cloud.objects.resize(1);
             for (int i = 0; i < 1000; ++i) cloud.objects[0].vertices.push_back({float(i), 0, 0});
             saveTds(cloud, d.file("models/big1.3ds"));
             // Five such models a look: no character's three skins reach the
             // budget, seven looks of three characters do.
             d.write("chars", "pelmo.chr\nkvark.chr\nbrusk.chr\n");
             for (const char* c : {"pelmo", "kvark", "brusk"})
                 for (const char* a : {"stand", "walk", "strafe", "death"})
                     d.write(std::string("models/") + c + "_" + a + "3",
                             "900\n900\n1\nbig%d.3ds\n1\n");
         },
         "chars: error: a fight on Arena can need 32073001 mesh elements, on Bunker 32070413, on "
         "Canyon 32071212, "
         "above the 20000000",
         1, 0},
        {"a collision triangle at the start point",
         [&](const TempDir& d) { saveTds(collision, d.file("models/arena_col.3ds")); },
         "models/arena_col.3ds: error: the player's start (0, 0, -50) touches a triangle", 1, 0},
        {"an animation's key file pattern too long",
         [](const TempDir& d) {
             d.write("models/pelmo_stand3", "2\n2\n1\n" + std::string(300, 'k') + "%d.3ds\n");
         },
         "models/pelmo_stand3:4: error: the game refuses this animation: the key file pattern is "
         "missing or too long",
         1, 0},
        {"a creature type that is no number: later fields are where the game reads them",
         [](const TempDir& d) { d.write("cfg/pelmo.chr", withLine("cfg/pelmo.chr", 1, "x")); },
         "cfg/pelmo.chr:4: error: the stand model \"pelmo_skin%d.bmp\" is not found", 1, 0},
        {"a settings value that is no number, quoted whole",
         [](const TempDir& d) { d.write("tovask.cfg", "640 -x 0 0 1 1 1\n"); },
         "tovask.cfg:1: warning: the window height \"-x\" is not a whole number", 0, 0},
        {"an empty list", [](const TempDir& d) { d.write("chars", ""); },
         "chars: error: names no character file: the game stops at start-up", 1, 0},
        {"a lying model",
         [&](const TempDir& d) {
             saveTds(lying, d.file("models/pelmo_stand1.3ds"));
             saveTds(lying, d.file("models/pelmo_stand2.3ds"));
         },
         "models/pelmo_stand1.3ds: warning: the figure lies down: 2.0 tall but 8.0 across", 0, 0},
        {"float colours",
         [](const TempDir& d) { d.write("models/pelmo_gear.3ds", floatColourModel()); },
         "models/pelmo_gear.3ds: warning: material \"paint\" stores its colour as floats (1, 0.5, "
         "0.25); the game reads their first bytes and shows (0, 0, 128)",
         0, 0},
        {"a keyword not spelled exactly",
         [](const TempDir& d) {
             d.write("scenes/bunker.map", withLine("scenes/bunker.map", 5, "NoSky"));
         },
         "scenes/bunker.map:5: error: \"NoSky\" is not the keyword nosky", 1, 0},
        {"a texture file named in another case",
         [&](const TempDir& d) {
             saveTds(yard, d.file("models/pelmo_gear.3ds"));
             writeBmp(TestImage(4, 4), d.file("textures/Yard_Wall.BMP"));
         },
         "models/pelmo_gear.3ds: error: material \"wall\"'s texture \"Yard_Wall.BMP\" is not found "
         "(the game lowers texture names to yard_wall.bmp); textures/Yard_Wall.BMP differs only "
         "in case",
         1, 0},
        {"a character file with a byte-order mark: named once, the rest read without it",
         [](const TempDir& d) { d.write("cfg/pelmo.chr", withMark("cfg/pelmo.chr")); },
         "cfg/pelmo.chr:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF BB "
         "BF), which the game takes for text: it cannot read the creature type nor the skin count "
         "as numbers (left 0) and takes \"\\xEF\\xBB\\xBF0\" for the name: every later field "
         "shifts by 2; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest "
         "is checked as if it were gone",
         1, 1},
        {"a map file with a byte-order mark",
         [](const TempDir& d) { d.write("scenes/arena.map", withMark("scenes/arena.map")); },
         "scenes/arena.map:1: warning: the file starts with a UTF-8 byte-order mark (the bytes EF "
         "BB BF), which the game takes for text: the map's name reads \"\\xEF\\xBB\\xBFArena\" "
         "(the menu shows three junk characters before Arena); save it without the mark (as plain "
         "ASCII, or UTF-8 without BOM); the rest is checked as if it were gone",
         0, 1},
        {"a list with a byte-order mark",
         [](const TempDir& d) { d.write("chars", "\xEF\xBB\xBFpelmo.chr\n"); },
         "chars:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which "
         "the game takes for text: it reads the first name as \"\\xEF\\xBB\\xBFpelmo.chr\", finds "
         "no such file and skips that character; save it without the mark (as plain ASCII, or "
         "UTF-8 without BOM); the rest is checked as if it were gone",
         1, 1},
        {"a settings file with a byte-order mark",
         [](const TempDir& d) { d.write("tovask.cfg", withMark("tovask.cfg")); },
         "tovask.cfg:1: warning: the file starts with a UTF-8 byte-order mark (the bytes EF BB "
         "BF), which the game takes for text: it reads none of its values and keeps 0 for all "
         "seven: a 640 x 480 window, texture quality 0, polygons drawn as outlines; save it "
         "without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it "
         "were gone",
         0, 1},
        {"an animation description with a byte-order mark",
         [](const TempDir& d) { d.write("models/pelmo_walk3", withMark("models/pelmo_walk3")); },
         "models/pelmo_walk3:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF "
         "BB BF), which the game takes for text: it refuses this animation (the length must be 1 "
         "or more) and does not load the model; save it without the mark (as plain ASCII, or "
         "UTF-8 without BOM); the rest is checked as if it were gone",
         1, 1},
        {"two characters of one name",
         [](const TempDir& d) {
             d.write("chars", "pelmo.chr\nkvark.chr\n");
             d.write("cfg/kvark.chr", withLine("cfg/kvark.chr", 3, "Pelmo"));
         },
         "cfg/kvark.chr:3: warning: the character name \"Pelmo\" is also that of " + DATA +
             "/cfg/pelmo.chr: the menu cannot tell them apart",
         0, 1},
        {"two maps of one name",
         [](const TempDir& d) {
             d.write("scenes/bunker.map", withLine("scenes/bunker.map", 1, "Arena"));
         },
         "scenes/bunker.map:1: warning: the map name \"Arena\" is also that of " + DATA +
             "/scenes/arena.map: the menu cannot tell them apart",
         0, 1},
        {"a list naming a file twice",
         [](const TempDir& d) { d.write("chars", "pelmo.chr\npelmo.chr\n"); },
         "chars:2: warning: names pelmo.chr again (first on line 1): the game loads it twice and "
         "the menu offers it twice",
         0, 1},
        {"a figure a thousand times too small: the scale, with the other key",
         [](const TempDir& d) {
             for (const char* key : {"models/pelmo_stand1.3ds", "models/pelmo_stand2.3ds"})
                 saveTds(figure(-0.0005f, 0.0073f), d.file(key));
         },
         "models/pelmo_stand1.3ds: warning: the figure is 0.0078 tall, 990 times too small beside "
         "the default characters (7.6 to 7.9 tall): tovask-model height 7.75 "
         "models/pelmo_stand1.3ds models/pelmo_stand1.3ds makes it 7.75 tall; it is key 1 of " +
             DATA +
             "/models/pelmo_stand3: then give every other key (pelmo_stand2.3ds) the same fix as "
             "the call prints it, tovask-model scale F KEY KEY",
         0, 0},
        {"a figure far too tall standing on y = 0: the scale and the lift",
         [](const TempDir& d) {
             saveTds(figure(0, 7800), d.file("models/zorg.3ds"));
             d.write("cfg/pelmo.chr", withLine("cfg/pelmo.chr", 6, "zorg.3ds"));
         },
         "models/zorg.3ds: warning: the figure is 7800 tall, 1000 times too big beside the default "
         "characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/zorg.3ds "
         "models/zorg.3ds makes it 7.75 tall with its soles at y = -0.5",
         0, 0},
        {"arms far too small: the scale, not the facing",
         [](const TempDir& d) {
             TdsScene arms;
             arms.objects = {box("arms", -0.002f, 0.003f, -0.001f, 0.002f, 0.0058f, 0.0003f)};
             saveTds(arms, d.file("models/pelmo_arms1.3ds"));
         },
         "models/pelmo_arms1.3ds: warning: arm pose 1 reaches up to y = 0.0058 where the default "
         "characters' shoulders are at 5.6 to 5.8: it is about 980 times too small; give it the "
         "scale F that tovask-model height prints for the body, tovask-model scale F "
         "models/pelmo_arms1.3ds models/pelmo_arms1.3ds",
         0, 2},  // and the skin does not show: the arms have no texture
        {"a material's texture named by its 8.3 name",
         [&](const TempDir& d) {
             TdsScene gear = yard;
             gear.materials[0].textureFile = "MYSKIN~1.BMP";
             saveTds(gear, d.file("models/pelmo_gear.3ds"));
             writeBmp(TestImage(4, 4), d.file("textures/myskin_large.bmp"));
         },
         "models/pelmo_gear.3ds: error: material \"wall\"'s texture \"MYSKIN~1.BMP\" is not "
         "found (the game lowers texture names to myskin~1.bmp); textures/myskin_large.bmp is the "
         "name this 8.3 name was cut from: tovask-model texture MYSKIN~1.BMP myskin_large.bmp "
         "models/pelmo_gear.3ds models/pelmo_gear.3ds renames it in the model; the game draws what "
         "uses it with the texture, or the plain colour, of whatever it drew just before",
         1, 0},
        {"a texture file cut to 8.3",
         [&](const TempDir& d) {
             TdsScene gear = yard;
             gear.materials[0].textureFile = "myskin_large.bmp";
             saveTds(gear, d.file("models/pelmo_gear.3ds"));
             writeBmp(TestImage(4, 4), d.file("textures/myskin_l.bmp"));
         },
         "models/pelmo_gear.3ds: error: material \"wall\"'s texture \"myskin_large.bmp\" is not "
         "found; textures/myskin_l.bmp is this name cut to 8.3: rename it myskin_large.bmp; the "
         "game draws what uses it with the texture, or the plain colour, of whatever it drew just "
         "before",
         1, 0},
        {"a misspelt sky texture",
         [](const TempDir& d) {
             d.write("scenes/arena.map", withLine("scenes/arena.map", 5, "sky_dya.bmp"));
         },
         "scenes/arena.map:5: error: the sky texture \"sky_dya.bmp\" is not found; " + DATA +
             "/textures/sky_day.bmp is the closest name: write sky_day.bmp here; the game draws "
             "what uses it with the texture, or the plain colour, of whatever it drew just before",
         1, 0},
        {"an extra model not found: drawn without it",
         [](const TempDir& d) {
             d.write("cfg/pelmo.chr", withLine("cfg/pelmo.chr", 12, "robot_pack.3ds"));
             d.write("models/none.3ds", "");
         },
         "cfg/pelmo.chr:12: warning: the extra model \"robot_pack.3ds\" is not found: the game "
         "draws the character without it; for no extra model, name none.3ds, the game's empty "
         "model",
         0, 0},
        {"a start beyond the collision box and its grid on z",
         [&](const TempDir& d) {
             TdsScene short_;
             short_.objects = {box("north", -170, -8, -250, 170, 50, -240),
                               box("south", -170, -8, -60, 170, 50, -52)};
             saveTds(short_, d.file("models/arena_col.3ds"));
         },
         "models/arena_col.3ds: error: the player's start (0, 0, -50) lies outside this model's "
         "box on z (z -250 to -52), beyond the collision map's grid, which files it in a cell at "
         "the box's other side whose triangles lie far off: nothing stops the player, who can "
         "walk off outside the level",
         1, 0},
        {"a collision box below the creatures' centres",
         [&](const TempDir& d) {
             TdsScene low;
             low.objects = {box("north", -170, -8, -250, 170, 2, -240),
                            box("south", -170, -8, 150, 170, 2, 160)};
             saveTds(low, d.file("models/arena_col.3ds"));
         },
         "models/arena_col.3ds: error: the player's start (0, 0, -50) lies outside this model's "
         "box on y (y -8 to 2), where the collision map has no cell: every move is undone, so the "
         "player is stuck",
         1, 0},
        {"a start just outside the collision box, inside its grid",
         [&](const TempDir& d) {
             TdsScene near;
             near.objects = {box("north", -170, -8, -49, 170, 30, -48),
                             box("south", -170, -8, 150, 170, 30, 160)};
             saveTds(near, d.file("models/arena_col.3ds"));
         },
         "models/arena_col.3ds: error: the player's start (0, 0, -50) lies outside this model's "
         "box on z (z -49 to 160): no wall of it can stop the player, who stands outside the level",
         1, 0},
        {"files the game takes from outside the folder checked",
         [](const TempDir& d) { d.write("cfg/pelmo.chr", readFile(DATA + "/cfg/pelmo.chr")); },
         "tovask-check: uses 2 files from ./, not from " + DATA + "/: cfg/pelmo.chr, chars", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir cwd;
        cwd.write("chars", "pelmo.chr\n");  // one character: no fight overflows a table
        for (const char* folder : {"cfg", "models", "scenes", "textures"})
            cwd.write(std::string(folder) + "/.made", "");
        c.spoil(cwd);
        const ProgramRun run = check(cwd, DATA);
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_EQ(count(run.out, "\n" + c.finding), 1u) << run.out;
        if (c.findings > 0) {
            EXPECT_EQ(count(run.out, ": error: ") + count(run.out, ": warning: "),
                      size_t(c.findings))
                << run.out;
        }
    }
}

TEST(DataCheck, ObjectsAreNumberedAsTheInspectorNumbersThem) {
    // Keys with a hidden empty object first: it counts, in the checker as in the inspector.
    TempDir cwd;
    cwd.write("chars", "pelmo.chr\n");
    cwd.write("models/.made", "");
    TdsObject tag;
    tag.name = "_tag";
    TdsScene key1;
    key1.objects = {tag, box("body", -2, -0.5f, -1, 2, 7.3f, 1)};
    TdsScene key2 = key1;
    key2.objects[1].vertices.resize(4);
    key2.objects[1].faces = {0, 1, 2, 1, 3, 2};
    ASSERT_TRUE(saveTds(key1, cwd.file("models/pelmo_stand1.3ds")));
    ASSERT_TRUE(saveTds(key2, cwd.file("models/pelmo_stand2.3ds")));
    const ProgramRun checked = check(cwd, DATA);
    EXPECT_EQ(count(checked.out, "\nmodels/pelmo_stand2.3ds: error: as key 2 of " + DATA +
                                     "/models/pelmo_stand3, its object 1 \"body\" has 4 vertices "
                                     "where key 1's (models/pelmo_stand1.3ds) has 8: the frames "
                                     "blend only what the keys share\n"),
              1u)
        << checked.out;
    const ProgramRun inspected = runProgram(TOVASK_BUILD_DIR "/tools/3dsinfo/tovask-3dsinfo " +
                                            cwd.file("models/pelmo_stand2.3ds"));
    EXPECT_NE(inspected.out.find("\n  object 1 \"body\": 4 vertices"), std::string::npos)
        << inspected.out;
}

TEST(DataCheck, JsonFindingsAndBadUsage) {
    TempDir cwd;
    cwd.write("scenes/bunker.map", withLine("scenes/bunker.map", 5, "NoSky"));
    const ProgramRun json = check(cwd, "--json " + DATA);
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\n{\"file\":\"scenes/bunker.map\",\"line\":5,\"severity\":\"error\","
                            "\"message\":\"\\\"NoSky\\\" is not the keyword nosky (written exactly "
                            "so): the game takes it for a file name\"}\n"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(",\"elsewhere\":{\"./\":[\"scenes/bunker.map\"]}}\n"),
              std::string::npos)
        << json.out;
    const std::string file = cwd.write("file", "");
    for (const std::string& args : {std::string("--bogus"), DATA + " " + DATA, file})
        EXPECT_EQ(check(cwd, args).status, 2) << args;
    const ProgramRun help = check(cwd, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: tovask-check [--json] [DATA_FOLDER]\n", 0), 0u);
}
