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

struct Case {
    const char* name;
    std::function<void(const TempDir&)> spoil;  // writes into the working directory
    std::string finding;                        // "FILE[:LINE]: severity: start of message"
    int status;
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
                            "/\"]}\n{\"errors\":0,\"warnings\":0,\"read\":[\"" + DATA + "/\"]}\n");
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
         "cfg/pelmo.chr:2: error: 4 skins, but skin 4's texture pelmo_skin4.bmp is not found", 1},
        {"an animation key of another shape",
         [](const TempDir& d) {
             d.write("models/pelmo_walk2.3ds", readFile(DATA + "/models/pelmo_arms0.3ds"));
         },
         "models/pelmo_walk2.3ds: error: as key 2 of " + DATA + "/models/pelmo_walk3, it", 1},
        {"a companion of another height",
         [](const TempDir& d) { writeBmp(TestImage(128, 64), d.file("textures/grate+.bmp")); },
         "textures/grate+.bmp: error: this alpha companion is 128 x 64 pixels but its colour "
         "image " +
             DATA + "/textures/grate.bmp is 128 x 128",
         1},
        {"skins with alpha companions: a texture slot for every frame",
         [](const TempDir& d) {
             for (const char* skin : {"textures/pelmo_skin1+.bmp", "textures/pelmo_skin2+.bmp"})
                 writeBmp(TestImage(256, 256), d.file(skin));
         },
         DATA + "/cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 138 "
                "textures, on Bunker 133, on Canyon 132, above the 100",
         1},
        {"a character that alone overflows the model table",
         [&](const TempDir& d) { d.write("cfg/pelmo.chr", pelmo13); },
         "cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 104 models, on "
         "Bunker 102, on Canyon 103, above the 100",
         1},
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
         1},
        {"a collision triangle at the start point",
         [&](const TempDir& d) { saveTds(collision, d.file("models/arena_col.3ds")); },
         "models/arena_col.3ds: error: the player's start (0, 0, -50) touches a triangle", 1},
        {"an animation's key file pattern too long",
         [](const TempDir& d) {
             d.write("models/pelmo_stand3", "2\n2\n1\n" + std::string(300, 'k') + "%d.3ds\n");
         },
         "models/pelmo_stand3:4: error: the game refuses this animation: the key file pattern is "
         "missing or too long",
         1},
        {"a creature type that is no number: later fields are where the game reads them",
         [](const TempDir& d) { d.write("cfg/pelmo.chr", withLine("cfg/pelmo.chr", 1, "x")); },
         "cfg/pelmo.chr:4: error: the stand model \"pelmo_skin%d.bmp\" is not found", 1},
        {"a settings value that is no number, quoted whole",
         [](const TempDir& d) { d.write("tovask.cfg", "640 -x 0 0 1 1 1\n"); },
         "tovask.cfg:1: warning: the window height \"-x\" is not a whole number", 0},
        {"an empty list", [](const TempDir& d) { d.write("chars", ""); },
         "chars: error: names no character file: the game stops at start-up", 1},
        {"a lying model",
         [&](const TempDir& d) {
             saveTds(lying, d.file("models/pelmo_stand1.3ds"));
             saveTds(lying, d.file("models/pelmo_stand2.3ds"));
         },
         "models/pelmo_stand1.3ds: warning: the figure lies down: 2.0 tall but 8.0 across", 0},
        {"float colours",
         [](const TempDir& d) { d.write("models/pelmo_gear.3ds", floatColourModel()); },
         "models/pelmo_gear.3ds: warning: material \"paint\" stores its colour as floats (1, 0.5, "
         "0.25); the game reads their first bytes and shows (0, 0, 128)",
         0},
        {"a keyword not spelled exactly",
         [](const TempDir& d) {
             d.write("scenes/bunker.map", withLine("scenes/bunker.map", 5, "NoSky"));
         },
         "scenes/bunker.map:5: error: \"NoSky\" is not the keyword nosky", 1},
        {"a texture file named in another case",
         [&](const TempDir& d) {
             saveTds(yard, d.file("models/pelmo_gear.3ds"));
             writeBmp(TestImage(4, 4), d.file("textures/Yard_Wall.BMP"));
         },
         "models/pelmo_gear.3ds: error: material \"wall\"'s texture \"Yard_Wall.BMP\" is not found "
         "(the game lowers texture names to yard_wall.bmp); textures/Yard_Wall.BMP differs only "
         "in case",
         1},
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
    }
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
    const std::string file = cwd.write("file", "");
    for (const std::string& args : {std::string("--bogus"), DATA + " " + DATA, file})
        EXPECT_EQ(check(cwd, args).status, 2) << args;
    const ProgramRun help = check(cwd, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: tovask-check [--json] [DATA_FOLDER]\n", 0), 0u);
}
