// tovask-check run as a program on the default data and on copies with things broken: each run's
// findings compared whole (one per line: a line missing or extra is named), every limit of the
// checker tried at the limit and one past it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>
#include <vector>

#include "../ToolFixtures.h"

namespace {

// The checker run in dir (its working directory, searched before the data folder).
ProgramRun check(const TempDir& dir, const std::string& args = DATA) {
    return runProgram("cd " + dir.path() + " && exec " + TOOLS + "check/tovask-check " + args);
}

// A default data file with some lines replaced: changes "LINE=TEXT|LINE=TEXT" (lines from 1; the
// last change of a line holds).
std::string edited(const std::string& file, const std::string& changes) {
    std::map<int, std::string> lines;
    std::istringstream in(changes), data(readFile(DATA + "/" + file));
    std::string out, line;
    while (std::getline(in, line, '|'))
        if (!line.empty()) lines[std::stoi(line)] = line.substr(line.find('=') + 1);
    for (int n = 1; std::getline(data, line); ++n)
        out += (lines.count(n) ? lines.at(n) : line) + "\n";
    return out;
}

// A figure standing from soles to head, width across and half as deep, skinned.
std::string figure(float soles, float head, float width = 4) {
    return tds(boxScene({-width / 2, soles, -width / 4}, {width / 2, head, width / 4}, "skin.bmp"));
}

// A 3DS scene of one object of this many vertices in a row, no triangles.
std::string cloud(int vertices) {
    TdsScene scene;
    scene.objects.resize(1);
    for (int i = 0; i < vertices; ++i) scene.objects[0].vertices.push_back({float(i), 0, 0});
    return tds(scene);
}

// A working folder to be: files, and the lists "chars" and "maps" when anything is added to them.
struct Folder {
    std::vector<std::pair<std::string, std::string>> files;  // path, content
    std::string chars, maps;

    Folder& file(const std::string& path, const std::string& content) {
        files.push_back({path, content});
        return *this;
    }
    Folder& model(const std::string& name, const std::string& content) {
        return file("models/" + name, content);
    }
    Folder& texture(const std::string& name, const TestImage& image = TestImage(4, 4)) {
        return file("textures/" + name, bmp(image));
    }
    // cfg/NAME.chr, listed: Pelmo's description named NAME, with one skin (pelmo_skin1.bmp), and
    // with some lines changed as edited() takes them.
    Folder& character(const std::string& name, const std::string& changes = "") {
        chars += name + ".chr ";
        return file("cfg/" + name + ".chr",
                    edited("cfg/pelmo.chr", "2=1|3=" + name + "|4=pelmo_skin1.bmp|" + changes));
    }
    // scenes/NAME.map, listed: Arena's description named NAME, with some lines changed.
    Folder& map(const std::string& name, const std::string& changes = "") {
        maps += name + ".map ";
        return file("scenes/" + name + ".map",
                    edited("scenes/arena.map", "1=" + name + "|" + changes));
    }
};

// The lines of a run's output but the checker's own "tovask-check: " ones, sorted.
std::string findingsOf(const std::string& out) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1)
        if (out.compare(at, 14, "tovask-check: ") != 0)
            lines.push_back(out.substr(at, end - at + 1));
    std::sort(lines.begin(), lines.end());
    return std::accumulate(lines.begin(), lines.end(), std::string());
}

// The checker run in a folder of these files on the default data: its exit status and its
// findings, each once and none else (the difference names a line missing or extra).
void expectFindings(const Folder& folder, int status, const std::string& findings) {
    TempDir dir;
    for (const auto& [path, content] : folder.files) dir.write(path, content);
    if (!folder.chars.empty()) dir.write("chars", folder.chars + "\n");
    if (!folder.maps.empty()) dir.write("maps", folder.maps + "\n");
    const ProgramRun run = check(dir);
    EXPECT_EQ(
        std::to_string(run.status) + "\n" + findingsOf(run.out),
        std::to_string(status) + "\n" + findingsOf(expand(findings.substr(findings[0] == '\n'))));
}

// A model whose only material keeps its colour as floats (chunk 0x0010): one triangle of it.
std::string floatColourModel() {
    TdsChunk material(0xAFFF), editor(0x3D3D), mesh(0x4100);
    material.child(TdsChunk(0xA000).str("paint"))
        .child(TdsChunk(0xA020).child(TdsChunk(0x0010).f32(1.0f).f32(0.5f).f32(0.25f)));
    mesh.child(
            TdsChunk(0x4110).u16(3).f32(0).f32(0).f32(0).f32(1).f32(0).f32(0).f32(0).f32(0).f32(1))
        .child(TdsChunk(0x4120).u16(1).u16(0).u16(1).u16(2).u16(0).child(
            TdsChunk(0x4130).str("paint").u16(1).u16(0)));
    editor.child(TdsChunk(0x3D3E).u32(3))
        .child(material)
        .child(TdsChunk(0x4000).str("box").child(mesh));
    return bytes(TdsChunk(0x4D4D).child(editor).bytes());
}

}  // namespace

TEST(DataCheck, DefaultContentHasNoFindingAndFindingsShowAsTextAndJson) {
    TempDir cwd;
    const std::string searched =
        R"(tovask-check: reading the data as the game does, from ./, then /.tovask/, then @DATA@/ (each with its folders textures/ models/ sound/ maps/ scenes/ cfg/)
)";
    EXPECT_EQ(
        said(check(cwd)),
        expand("0 " + searched + "tovask-check: 0 errors, 0 warnings; files read from @DATA@/\n"));
    // One error, two warnings, one of them about the file as a whole.
    cwd.write("tovask.cfg", "0 768 0 0 3 1 1\n");
    cwd.write("chars", "pelmo.chr lost.chr\n");
    EXPECT_EQ(
        said(check(cwd)),
        expand("1 " + searched +
               R"(tovask.cfg: warning: the window size 0 x 768 is unusable: the game opens 640 x 480
tovask.cfg:1: warning: texture quality 3: the game knows 0, 1 and 2 and ignores other values
chars:1: error: the character file "lost.chr" is not found: the game skips it
tovask-check: uses 2 files from ./, not from @DATA@/: chars, tovask.cfg
tovask-check: 1 error, 2 warnings; files read from ./, @DATA@/
)"));
    const std::string json = R"(1 {"searched":["./","/.tovask/","@DATA@/"]}
{"file":"tovask.cfg","line":null,"severity":"warning","message":"the window size 0 x 768 is unusable: the game opens 640 x 480"}
{"file":"tovask.cfg","line":1,"severity":"warning","message":"texture quality 3: the game knows 0, 1 and 2 and ignores other values"}
{"file":"chars","line":1,"severity":"error","message":"the character file \"lost.chr\" is not found: the game skips it"}
{"errors":1,"warnings":2,"read":["./","@DATA@/"],"elsewhere":{"./":["chars","tovask.cfg"]}}
)";
    EXPECT_EQ(said(check(cwd, "--json " + DATA)), expand(json));
}

// Skin counts and patterns: the counted skins (64) at and past their cap, names at the game's 254
// characters and one past, the texture store's 99; texture quality one below 0 (0: FightTables).
TEST(DataCheck, SkinsAndPatterns) {
    Folder f;
    f.chars = "pelmo.chr ";
    f.character("typeless", "1=1").character("negative", "1=-1").character("single");
    f.character("skinless", "2=0|4=pelmo_skin%d.bmp").character("one", "4=pelmo_skin%d.bmp");
    f.character("four", "2=4|4=pelmo_skin%d.bmp").character("twin", "2=2");
    f.character("percent", "2=3|4=pelmo_skin%s.bmp").file("tovask.cfg", "1024 768 0 0 -1 1 1\n");
    f.character("long", expand("4=@155x@%99d")).character("longer", expand("4=@156x@%99d"));
    for (int n : {63, 64, 65})
        f.character("many" + std::to_string(n),
                    "4=many%d.bmp|5=pelmo_arms1.3ds|2=" + std::to_string(n));
    for (int skin : {1, 2, 3, 64, 65}) f.texture("many" + std::to_string(skin) + ".bmp");
    expectFindings(f, 1, R"(
cfg/four.chr:2: error: 4 skins, but skin 4's texture pelmo_skin4.bmp is not found: the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/long.chr:4: error: skin texture "@60x@..." is longer than 99 characters: the game refuses it, so the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/longer.chr:4: error: the skin pattern makes names longer than 254 characters, which the game refuses: the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/many63.chr:2: error: 63 skins, but skin 4's texture many4.bmp is not found (60 of the 63 checked are missing): the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/many63.chr:2: warning: many64.bmp is there but the skin count is 63: the menu never offers it
cfg/many64.chr:2: error: 64 skins, but skin 4's texture many4.bmp is not found (60 of the 64 checked are missing): the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/many65.chr:2: error: 65 skins, but skin 4's texture many4.bmp is not found (60 of the 64 checked are missing): the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
tovask.cfg:1: warning: texture quality -1: the game knows 0, 1 and 2 and ignores other values
cfg/negative.chr:1: error: creature type -1: only 0 exists, so the game drops this character ("Invalid character data")
cfg/one.chr:2: warning: pelmo_skin2.bmp is there but the skin count is 1: the menu never offers it
cfg/percent.chr:2: error: 3 skins, but skin 1's texture pelmo_skin%s.bmp is not found (3 of the 3 checked are missing); @DATA@/textures/pelmo_skin1.bmp is the closest name: the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
cfg/percent.chr:4: warning: the skin texture pattern "pelmo_skin%s.bmp" is not a single number format (one %d): the game uses it as it is, so all 3 are the same file
cfg/skinless.chr:2: error: skin count 0: the player cannot choose this character (the game refuses skin 0) and computer creatures wear skin file pelmo_skin1.bmp
cfg/twin.chr:4: warning: the skin texture pattern "pelmo_skin1.bmp" has no %d: all 2 are the same file
cfg/typeless.chr:1: error: creature type 1: only 0 exists, so the game drops this character ("Invalid character data")
)");
}

// Figures measured against the default characters: heights a quarter off theirs, soles 0.25 off
// the floor, down to y = -1, as tall as wide, arms a third or three times their shoulders' height,
// hands ahead of -0.25, a death key 0.95 as wide as the arms, fixes for the other keys listed up
// to three. Settings that stop short.
TEST(DataCheck, FiguresArmsAndAnimations) {
    const float third = 5.6f / 3, thrice = 5.8f * 3;
    auto arms = [](float top, float z, const std::string& texture = "skin.bmp") {
        return tds(boxScene({-2.33f, top - 1, z - 0.5f}, {2.33f, top, z + 0.5f}, texture));
    };
    Folder f;
    f.file("tovask.cfg", "1024 768\n0\n");  // three of the seven settings
    f.character("figures",
                "6=at_low.3ds|7=past_low.3ds|8=at_high.3ds|9=past_high.3ds|13=lift_at.3ds");
    f.model("at_low.3ds", figure(0, 6.08f)).model("past_low.3ds", figure(0, 6.07f));
    f.model("at_high.3ds", figure(0, 9.875f)).model("past_high.3ds", figure(0, 9.88f));
    f.model("lift_at.3ds", figure(-0.09375f, 0.875f, 0.5f));  // 8 times too small
    f.character("lifted",
                "6=lift_past.3ds|7=below_at.3ds|8=below_past.3ds|9=square.3ds|13=flat.3ds");
    f.model("lift_past.3ds", figure(-0.0947265625f, 0.8740234375f, 0.5f));
    f.model("below_at.3ds", figure(-1, 6.75f)).model("below_past.3ds", figure(-1.01f, 6.74f));
    f.model("square.3ds", figure(-0.5f, 7.25f, 7.75f))
        .model("flat.3ds", figure(-0.5f, 7.25f, 7.76f));
    f.character("keyed", "6=tiny3|7=small3|8=solo3");
    for (const auto& [name, keys] : {std::pair{"tiny", 4}, {"small", 5}, {"solo", 1}}) {
        f.model(name + std::string("3"),
                "480\n12\n" + std::to_string(keys) + "\n" + name + "%d.3ds\n1\n");
        for (int k = 1; k <= keys; ++k)
            f.model(name + std::to_string(k) + ".3ds", figure(0, 1, 0.5f));
    }
    f.character("armsy", "5=arms%d.3ds");
    f.model("arms0.3ds", arms(third, 0)).model("arms1.3ds", arms(third - 0.01f, -2));
    f.model("arms2.3ds", arms(thrice, -0.26f)).model("arms3.3ds", arms(thrice + 0.01f, -2));
    f.model("arms4.3ds", arms(5.7f, -0.25f)).model("arms5.3ds", arms(5.7f, -2, ""));
    f.character("deathly", "5=wide.3ds|13=dead_at.3ds")
        .character("deathlier", "5=wide.3ds|13=dead_past.3ds");
    f.model("wide.3ds", tds(boxScene({-2, 4.7f, -1.5f}, {2, 5.7f, -0.5f}, "skin.bmp")));
    f.model("dead_at.3ds", figure(-0.5f, 7.25f, 3.8f))
        .model("dead_past.3ds", figure(-0.5f, 7.25f, 3.79f));
    f.character("loopy",
                "7=loopy_walk3|8=loopy_walk3|9=loopy_walk3|12=robot_pack.3ds|13=loopy_death3");
    f.model("loopy_walk3", edited("models/pelmo_walk3", "5=0"));
    f.model("loopy_death3", edited("models/pelmo_death3", "5=1"));
    expectFindings(f, 0, R"(
tovask.cfg:2: warning: holds 3 of the 7 values: the game keeps 0 from the full screen on
cfg/loopy.chr:12: warning: the extra model "robot_pack.3ds" is not found: the game draws the character without it; for no extra model, name none.3ds, the game's empty model
models/arms1.3ds: warning: arm pose 1 reaches up to y = 1.86 where the default characters' shoulders are at 5.6 to 5.8: it is about 3.1 times too small; give it the scale F that tovask-model height prints for the body, tovask-model scale F models/arms1.3ds models/arms1.3ds
models/arms3.3ds: warning: arm pose 3 reaches up to y = 17.4 where the default characters' shoulders are at 5.6 to 5.8: it is about 3.1 times too big; give it the scale F that tovask-model height prints for the body, tovask-model scale F models/arms3.3ds models/arms3.3ds
models/arms4.3ds: warning: arm pose 4 holds a gun, so its hands belong ahead of the body (-z), but the model reaches from z = -0.8 to 0.2: the character faces away from -z; turn it to face -z
models/arms5.3ds: warning: no material names a texture, so the skin does not show on this model: give it a textured material with texture coordinates
models/below_past.3ds: warning: the figure reaches down to y = -1.0, below the floor at y = -0.5 where the soles stand: tovask-model lift models/below_past.3ds models/below_past.3ds puts its soles there
models/dead_past.3ds: warning: the first death key is 3.8 wide, narrower than the arms (4.0): the game draws the death model alone, without arm models, so it must carry the arms
models/flat.3ds: warning: the figure lies down: 7.8 tall but 7.8 across (x 7.8, z 3.9); the game's y is up, so turn the model upright (did the exporter keep y up where the game's files have z up?)
models/lift_at.3ds: warning: the figure is 0.969 tall, 8.0 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 models/lift_at.3ds models/lift_at.3ds makes it 7.75 tall
models/lift_past.3ds: warning: the figure is 0.969 tall, 8.0 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/lift_past.3ds models/lift_past.3ds makes it 7.75 tall with its soles at y = -0.5
models/loopy_death3: warning: the death animation loops: the dead creature gets up and falls again until it is revived
models/loopy_walk3: warning: the walk animation does not loop: the creature freezes on its last key while it goes on moving
models/loopy_walk3: warning: the strafe animation does not loop: the creature freezes on its last key while it goes on moving
models/loopy_walk3: warning: the diagonal animation does not loop: the creature freezes on its last key while it goes on moving
models/past_high.3ds: warning: the figure is 9.88 tall, 1.3 times too big beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/past_high.3ds models/past_high.3ds makes it 7.75 tall with its soles at y = -0.5
models/past_low.3ds: warning: the figure is 6.07 tall, 1.3 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/past_low.3ds models/past_low.3ds makes it 7.75 tall with its soles at y = -0.5
models/small1.3ds: warning: the figure is 1 tall, 7.8 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/small1.3ds models/small1.3ds makes it 7.75 tall with its soles at y = -0.5; it is key 1 of models/small3: then give every other key (small2.3ds, small3.3ds, small4.3ds and 1 more) the same fix as the call prints it, tovask-model scale F move 0 Y 0 KEY KEY
models/solo1.3ds: warning: the figure is 1 tall, 7.8 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/solo1.3ds models/solo1.3ds makes it 7.75 tall with its soles at y = -0.5
models/tiny1.3ds: warning: the figure is 1 tall, 7.8 times too small beside the default characters (7.6 to 7.9 tall): tovask-model height 7.75 lift models/tiny1.3ds models/tiny1.3ds makes it 7.75 tall with its soles at y = -0.5; it is key 1 of models/tiny3: then give every other key (tiny2.3ds, tiny3.3ds, tiny4.3ds) the same fix as the call prints it, tovask-model scale F move 0 Y 0 KEY KEY
)");
}

// Maps: the keywords, the fog colour's range, the collision model around the places creatures
// appear (12 units clear, a body 0 to 8 high, inside its box and grid), the sky's bottom rows 40
// off the fog colour; settings empty.
TEST(DataCheck, MapsAndCollisionModels) {
    auto block = [](float x0, float y0, float z0, float x1, float y1, float z1) {
        return box("block", {x0, y0, z0}, {x1, y1, z1});
    };
    auto wall = [&](float x0, float z0, float x1, float z1, float top = 30) {
        return block(x0, -8, z0, x1, top, z1);
    };
    const std::vector<TdsObject> walls = {wall(-170, -250, 170, -240), wall(-170, 150, 170, 160),
                                          wall(-180, -250, -170, 160), wall(170, -250, 180, 160)};
    auto inWalls = [&](std::vector<TdsObject> more) {
        more.insert(more.end(), walls.begin(), walls.end());
        return more;
    };
    TdsObject points = block(0, 0, 0, 1, 1, 1), slant = wall(-170, -250, 170, 160);
    points.faces.clear();
    slant.faces = std::vector<uint16_t>(18000, 0);  // one huge slanted triangle, 6000 times
    for (size_t i = 0; i < slant.faces.size(); i += 3)
        slant.faces[i + 1] = 3, slant.faces[i + 2] = 7;
    const std::pair<std::string, std::vector<TdsObject>> collisions[] = {
        {"post", inWalls({block(-0.5f, 0, -50.5f, 0.5f, 8, -49.5f)})},
        {"spawn", inWalls({block(4.5f, 0, -20.5f, 5.5f, 8, -19.5f)})},
        {"clear", inWalls({block(-5, 0, -63, 5, 8, -62), block(-5, -1, -55, 5, 0, -45),
                           block(-5, 8, -55, 5, 9, -45)})},
        {"crowded", inWalls({block(-5, 0, -63, 5, 8, -61.99f)})},
        {"low", inWalls({block(-5, -1, -55, 5, 0.01f, -45)})},
        {"high", inWalls({block(-5, 7.99f, -55, 5, 9, -45)})},
        {"short", {wall(-170, -250, 170, -240, 50), wall(-170, -60, 170, -52, 50)}},
        {"under", {wall(-170, -250, 170, -240, 2), wall(-170, 150, 170, 160, 2)}},
        {"near", {wall(1, -250, 170, -240), wall(1, 150, 170, 160)}},
        {"edge", {wall(-170, -260, 170, -250), wall(150, -60, 170, -50)}},
        {"tight", {wall(-110, -250, -100, 160), wall(100, -250, 110, 160)}},
        {"hollow", {points}},
        {"void", {}},
        {"stray", inWalls({block(1e6f, 0, 0, 1e6f + 1, 1, 1)})},
        {"dense", inWalls({slant})},
    };
    Folder f;
    for (const auto& [name, objects] : collisions) {
        TdsScene scene;
        scene.objects = objects;
        f.map(name, "8=" + name + ".3ds").model(name + ".3ds", tds(scene));
    }
    f.map("ground", "3=noroof").map("case", "5=NoSky").map("misty", "5=sky_dya.bmp");
    f.map("red", "7=1.01 0 0 1").map("green", "7=0 -0.01 0 1").map("blue", "7=0 0 nan 1");
    f.map("alpha", "7=0 0 0 1.01").map("edges", "7=0 1 0 1").file("tovask.cfg", "");
    // Skies black but for some of their bottom rows, over a level too small to hide their rim,
    // in black fog.
    f.model("floor.3ds", tds(boxScene({-10, -1, -10}, {10, 0, 10})));
    const struct {
        std::string name;
        int height;
        std::map<int, uint8_t> grey;  // row: grey level
    } skies[] = {{"band", 64, {{62, 42}, {63, 40}}},
                 {"even", 64, {{61, 200}, {62, 40}, {63, 40}}},
                 {"thin", 31, {{30, 41}}}};
    for (const auto& [name, height, grey] : skies) {
        TestImage image(4, height);
        for (const auto& [row, g] : grey) image.fill(0, row, 4, row + 1, g, g, g);
        f.map(name, "2=floor.3ds|3=noground|4=noroof|7=0 0 0 1|5=" + name + ".bmp");
        f.texture(name + ".bmp", image);
    }
    expectFindings(f, 1, R"(
tovask.cfg: warning: holds 0 of the 7 values: the game keeps 0 from the window width on
tovask.cfg: warning: the window size 0 x 0 is unusable: the game opens 640 x 480
models/crowded.3ds: warning: a triangle reaching into a creature's height (0 to 8) comes within 12 units of the start or of where computer creatures appear: creatures start pressed against it (the guide keeps 12 clear)
models/dense.3ds: error: building its collision map needs 9326542 triangle-in-cell tests, more than the 4000000 the game allows (split huge and long slanted triangles): the game builds no collisions and creatures cannot move
models/edge.3ds: error: the player's start (0, 0, -50) lies at the far edge of this model's box on z (z -260 to -50), where the collision map has no cell: every move is undone, so the player is stuck
models/edge.3ds: warning: its box (x -170 to 170, z -260 to -50) does not enclose the level's (x -159 to 159, z -224 to 144): creatures and shots stop at an invisible edge inside the level
models/high.3ds: warning: a triangle reaching into a creature's height (0 to 8) comes within 12 units of the start or of where computer creatures appear: creatures start pressed against it (the guide keeps 12 clear)
models/hollow.3ds: error: the collision model holds no triangles: nothing but the edge of its box stops creatures and shots
models/hollow.3ds: warning: holds no triangles: the game draws nothing for it
models/low.3ds: warning: a triangle reaching into a creature's height (0 to 8) comes within 12 units of the start or of where computer creatures appear: creatures start pressed against it (the guide keeps 12 clear)
models/near.3ds: error: the player's start (0, 0, -50) lies outside this model's box on x (x 1 to 170): no wall of it can stop the player, who stands outside the level
models/near.3ds: warning: its box (x 1 to 170, z -250 to 160) does not enclose the level's (x -159 to 159, z -224 to 144): creatures and shots stop at an invisible edge inside the level
models/post.3ds: error: the player's start (0, 0, -50) lies inside a closed block of this model: creatures appearing there are shut in
models/post.3ds: error: the player's start (0, 0, -50) touches a triangle (one comes within 1 unit of a creature's centre): the player is stuck
models/short.3ds: error: the player's start (0, 0, -50) lies outside this model's box on z (z -250 to -52), beyond the collision map's grid, which files it in a cell at the box's other side whose triangles lie far off: nothing stops the player, who can walk off outside the level
models/short.3ds: warning: its box (x -170 to 170, z -250 to -52) does not enclose the level's (x -159 to 159, z -224 to 144): creatures and shots stop at an invisible edge inside the level
models/spawn.3ds: error: the place (6, 0, -19) where computer creatures appear touches a triangle (one comes within 1 unit of a creature's centre): creatures dropped there are stuck (9 of the 700 places)
models/stray.3ds: error: its box (1.00018e+06 x 38 x 410) gives no grid of 20-unit cells within the game's 1000000 (a stray vertex?): the game builds no collisions and creatures cannot move
models/tight.3ds: warning: its box (x -110 to 110, z -250 to 160) does not enclose the level's (x -159 to 159, z -224 to 144): creatures and shots stop at an invisible edge inside the level
models/under.3ds: error: the player's start (0, 0, -50) lies outside this model's box on y (y -8 to 2), where the collision map has no cell: every move is undone, so the player is stuck
models/void.3ds: error: the collision model holds nothing, so its box is a point: every creature stands outside it and cannot move
models/void.3ds: warning: holds no triangles: the game draws nothing for it
scenes/alpha.map:7: warning: the fog colour's alpha is 1.01: OpenGL takes values from 0 to 1 and clamps the rest
scenes/band.map:5: warning: the sky's bottom rows average (41, 41, 41) but the fog colour is (0, 0, 0), and this map's models do not reach 121 units beyond where creatures go: the chase camera sees the clear colour (the fog colour) as a band under the sky's rim; paint the bottom rows of textures/band.bmp in the fog colour
scenes/blue.map:7: warning: the fog colour's blue is nan: OpenGL takes values from 0 to 1 and clamps the rest
scenes/case.map:5: error: "NoSky" is not the keyword nosky (written exactly so): the game takes it for a file name
scenes/case.map:5: error: the sky texture "NoSky" is not found (the game lowers texture names to nosky); the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
scenes/green.map:7: warning: the fog colour's green is -0.01: OpenGL takes values from 0 to 1 and clamps the rest
scenes/ground.map:3: error: "noroof" leaves out another part; the keyword of this one is noground: the game takes it for a file name
scenes/ground.map:3: error: the ground model "noroof" is not found
scenes/red.map:7: warning: the fog colour's red is 1.01: OpenGL takes values from 0 to 1 and clamps the rest
scenes/thin.map:5: warning: the sky's bottom rows average (41, 41, 41) but the fog colour is (0, 0, 0), and this map's models do not reach 121 units beyond where creatures go: the chase camera sees the clear colour (the fog colour) as a band under the sky's rim; paint the bottom rows of textures/thin.bmp in the fog colour
textures/thin.bmp: warning: the image is 4 x 31 pixels: make both sides powers of two, or graphics without OpenGL 2 draw it white
scenes/misty.map:5: error: the sky texture "sky_dya.bmp" is not found; @DATA@/textures/sky_day.bmp is the closest name: write sky_day.bmp here; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
)");
}

// Models and textures: what the reader makes of a file, animation descriptions and their keys,
// texture names at the store's 99 characters and one past, images the game cannot use, the file
// probably meant; a setting that is no number.
TEST(DataCheck, ModelsAndTextures) {
    TdsScene odd;  // texture coordinates for 2 of 8 vertices, a group of no material
    odd.materials = {{"skin", "pelmo_skin1.bmp"}};
    odd.objects = {box("a", {-2, -0.5f, -1}, {2, 7.2f, 1}, "skin", true),
                   box("b", {0, 0, 0}, {1, 1, 1}, "lost")};
    odd.objects[0].uvs.resize(4);
    TdsScene textured;  // a material for every texture name tried
    for (const char* t : {"@99t@", "@100t@", "broken.bmp", "odd.bmp", "glassy.bmp", "Yard_Wall.BMP",
                          "MYSKIN~1.BMP", "yourskin_large.bmp", "gunmetl.bmp"})
        textured.materials.push_back({"m" + std::to_string(textured.materials.size()), expand(t)});
    textured.objects = {box("a", {-1, 0, -1}, {1, 1, 1}, "m0", true)};
    TdsScene tagged;  // a hidden empty object first: the objects are numbered from it
    tagged.objects = {TdsObject(), box("body", {-2, -0.5f, -1}, {2, 7.3f, 1})};
    tagged.objects[0].name = "_tag";
    TdsScene cut = tagged, pair;
    cut.objects[1].vertices.resize(4);
    cut.objects[1].faces = {0, 1, 2, 1, 3, 2};
    pair.objects = {box("a", {-2, -0.5f, -1}, {2, 7.2f, 1}), box("b", {0, 0, 0}, {1, 1, 1})};
    Folder f;
    f.file("tovask.cfg", "640 -x 0 0 1 1 1\n");  // a word where a number belongs
    f.character("junk", "12=junk.3ds").model("junk.3ds", "not a model");
    f.character("odd", "12=odd.3ds").model("odd.3ds", tds(odd));
    f.character("paint", "12=paint.3ds").model("paint.3ds", floatColourModel());
    f.character("textured", "12=textured.3ds").model("textured.3ds", tds(textured));
    for (const char* name : {"glassy.bmp", "Yard_Wall.bmp", "myskin_large.bmp", "yourskin.bmp"})
        f.texture(name);
    f.file("textures/broken.bmp", "BM not a picture").texture("odd.bmp", TestImage(3, 4));
    f.file("textures/glassy-.bmp", "garbage").texture("grate+.bmp", TestImage(128, 64));
    f.character("solid", "6=solid3").model("solid3", figure(-0.5f, 7.25f));
    f.character("longkeys", "6=longkeys3").character("dying", "13=heavy3");  // refused
    f.model("longkeys3", "2\n2\n1\n" + std::string(300, 'k') + "%d.3ds\n");
    f.character("marked", "7=marked3");
    f.model("marked3", "\xEF\xBB\xBF" + readFile(DATA + "/models/pelmo_walk3"));
    // Animations: their description, the keys present.
    const std::pair<std::string, std::vector<int>> animations[] = {
        {"480 12 4 gone", {2, 3, 4}},      {"480 12 4 holes", {1}},
        {"480 12 4 gap", {1, 2, 4}},       {"480 12 2 split", {1}},
        {"490 12 4 uneven", {1, 2, 3, 4}}, {"1200 600 1 heavy", {}},
        {"480 12 2 numbered", {}},         {"1 1 2 short", {}},
        {"480 12 0 keyless", {}}};
    for (const auto& [text, keys] : animations) {
        const std::string name = text.substr(text.rfind(' ') + 1);
        std::string description = text + "%d.3ds\n1\n";
        std::replace(description.begin(), description.end(), ' ', '\n');
        f.character(name, "6=" + name + "3").model(name + "3", description);
        for (int k : keys) f.model(name + std::to_string(k) + ".3ds", figure(-0.5f, 7.25f));
    }
    // 2000 vertices: 600 frames of them are past the budget.
    f.model("split2.3ds", tds(pair)).model("heavy1.3ds", cloud(2000));
    f.model("numbered1.3ds", tds(tagged)).model("numbered2.3ds", tds(cut));
    expectFindings(f, 1, R"(
tovask.cfg: warning: the window size 640 x 0 is unusable: the game opens 640 x 480
tovask.cfg:1: warning: the window height "-x" is not a whole number: the game reads no further and keeps 0 for the rest
models/gap3:4: error: key 3 (gap3.3ds) is not found: the game blends a missing key as an empty one, so the frames near it stand still
models/gone3:4: error: key 1 (gone1.3ds) is not found (@DATA@/models/none.3ds is the closest name): every frame is built from key 1, so the model draws nothing
models/heavy1.3ds: warning: holds no triangles: the game draws nothing for it
models/heavy3:2: error: 600 frames of key 1 hold 1209600 elements (2016 each), more than the 1000000 the game allows: it refuses the model
models/holes3:4: error: key 2 (holes2.3ds) is not found, nor 2 more keys: the game blends a missing key as an empty one, so the frames near it stand still
models/keyless3:3: error: the game refuses this animation: the key count must be 1 or more; the model is not loaded
models/junk.3ds: error: not a 3DS file (no main chunk): the game draws nothing for it
models/longkeys3:4: error: the game refuses this animation: the key file pattern is missing or too long; the model is not loaded
models/marked3:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game takes for text: it refuses this animation (the length must be 1 or more) and does not load the model; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it were gone
models/numbered1.3ds: warning: no material names a texture, so the skin does not show on this model: give it a textured material with texture coordinates
models/numbered2.3ds: error: as key 2 of models/numbered3, its object 1 "body" has 4 vertices where key 1's (models/numbered1.3ds) has 8: the frames blend only what the keys share
models/odd.3ds: warning: object 0 "a" is textured but only 2 of its 8 vertices have texture coordinates: the others show one corner of the texture
models/odd.3ds: warning: the 3DS reader notes: object "b" names unknown material "lost"
models/short3:1: error: the game refuses this animation: the length is shorter than the key count; the model is not loaded
models/paint.3ds: warning: material "paint" stores its colour as floats (1, 0.5, 0.25); the game reads their first bytes and shows (0, 0, 128): store it as a 24-bit colour
models/solid3:1: error: the game refuses this animation: the length must be 1 or more (this is a 3DS file, but a model name ending in 3 names an animation description); the model is not loaded
models/split2.3ds: error: as key 2 of models/split3, it holds 2 objects where key 1 (models/split1.3ds) holds 1: the frames blend only what the keys share
models/textured.3ds: error: material "m0"'s texture "@99t@" is not found; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/textured.3ds: error: material "m1"'s texture "@60t@..." is longer than 99 characters: the game refuses it, so the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/textured.3ds: error: material "m5"'s texture "Yard_Wall.BMP" is not found (the game lowers texture names to yard_wall.bmp); textures/Yard_Wall.bmp differs only in case: rename it yard_wall.bmp; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/textured.3ds: error: material "m6"'s texture "MYSKIN~1.BMP" is not found (the game lowers texture names to myskin~1.bmp); textures/myskin_large.bmp is the name this 8.3 name was cut from: tovask-model texture MYSKIN~1.BMP myskin_large.bmp models/textured.3ds models/textured.3ds renames it in the model; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/textured.3ds: error: material "m7"'s texture "yourskin_large.bmp" is not found; textures/yourskin.bmp is this name cut to 8.3: rename it yourskin_large.bmp; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/textured.3ds: error: material "m8"'s texture "gunmetl.bmp" is not found; @DATA@/textures/gunmetal.bmp is the closest name: tovask-model texture gunmetl.bmp gunmetal.bmp models/textured.3ds models/textured.3ds renames it in the model; the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
models/uneven3:1: warning: the length 490 ms is not a multiple of the 12 frames: the game cuts it to 480 ms
models/uneven3:1: warning: the length 490 ms is not a multiple of the 4 keys: the keys fall every 122 ms and 2 ms of the length are left over
textures/broken.bmp: error: the game cannot decode this image (BMP header cut short): the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
textures/glassy-.bmp: error: the game cannot decode this image as part of an alpha texture (not an image format the game reads (BMP, CUR, GIF, ICO, JPEG, PCX, PNG, PNM, TGA, TIFF, WEBP)), so it refuses glassy.bmp: the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
textures/grate+.bmp: error: this alpha companion is 128 x 64 pixels but its colour image @DATA@/textures/grate.bmp is 128 x 128: the game refuses the texture, so the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
textures/odd.bmp: warning: the image is 3 x 4 pixels: make both sides powers of two, or graphics without OpenGL 2 draw it white
)");
}

// Text files: content lists and description files read word by word, names at the game's 254
// characters and one past, leftover words quoted up to 40 characters, byte-order marks (one on
// the settings).
TEST(DataCheck, ListsAndDescriptions) {
    const std::string w40(40, 'w');
    Folder f;
    f.chars = "pelmo.chr caf\351.chr " + std::string(250, 'n') + ".chr\n" + std::string(251, 'n') +
              ".chr\npelmo.chr short.chr ";
    f.file("cfg/short.chr", "0\n1\nShort\npelmo_skin1.bmp\npelmo_arms%d.3ds\n");
    f.character("wordy").files.back().second += w40 + " more\n";
    f.character("wordier").files.back().second += w40 + "x more\n";
    f.character("extra", "12=" + std::string(255, 'e'))
        .character("typo", "1=x|2=3|3=Typo|4=pelmo_skin%d.bmp");
    f.character("marked").files.back().second.insert(0, "\xEF\xBB\xBF");
    f.character("twin", "3=Pelmo").file("tovask.cfg", "\357\273\2771024 768 0 0 2 1 1\n");
    f.maps = "\357\273\277arena.map\narena.map ";
    f.map("bunker", "1=Arena").map("cut", "7=0 0|8=").map("fogless", "7=red 0 0 1");
    f.map("marked").files.back().second.insert(0, "\xEF\xBB\xBF");
    expectFindings(f, 1, R"(
tovask.cfg:1: warning: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game takes for text: it reads none of its values and keeps 0 for all seven: a 640 x 480 window, texture quality 0, polygons drawn as outlines; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it were gone
cfg/extra.chr:12: error: the extra model is longer than 254 characters: the game leaves it empty
cfg/marked.chr:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game takes for text: it cannot read the creature type nor the skin count as numbers (left 0) and takes "\xEF\xBB\xBF0" for the name: every later field shifts by 2; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it were gone
cfg/short.chr:5: error: the file ends before the stand model (field 6 of 13): the game leaves it and every later field empty
cfg/twin.chr:3: warning: the character name "Pelmo" is also that of @DATA@/cfg/pelmo.chr: the menu cannot tell them apart
cfg/typo.chr:10: error: the death model "1.0" is not found
cfg/typo.chr:1: error: skin count 0: the player cannot choose this character (the game refuses skin 0) and computer creatures wear skin file 3
cfg/typo.chr:1: error: the creature type "x" is not a whole number: the game reads what it can and every later field shifts
cfg/typo.chr:3: error: the arm model of pose 0 "Typo" is not found (the game lowers model names to typo)
cfg/typo.chr:4: error: the stand model "pelmo_skin%d.bmp" is not found; @DATA@/textures/pelmo_skin1.bmp is the closest name: write pelmo_skin1.bmp here
cfg/typo.chr:5: error: the walk model "pelmo_arms%d.3ds" is not found; @DATA@/models/pelmo_arms0.3ds is the closest name: write pelmo_arms0.3ds here
cfg/wordier.chr:14: warning: the words from "@40w@" on, after the death model, are not read
cfg/wordy.chr:14: warning: the words from "@40w@" on, after the death model, are not read
chars:1: error: the character file "caf\xe9.chr" is not found: the game skips it
chars:1: error: the character file "@250n@.chr" is not found: the game skips it
chars:2: error: a name longer than 254 characters: the game skips it
chars:3: warning: names pelmo.chr again (first on line 1): the game loads it twice and the menu offers it twice
maps:1: error: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game takes for text: it reads the first name as "\xEF\xBB\xBFarena.map", finds no such file and skips that map; save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it were gone
maps:2: warning: names arena.map again (first on line 1): the game loads it twice and the menu offers it twice
scenes/bunker.map:1: warning: the map name "Arena" is also that of @DATA@/scenes/arena.map: the menu cannot tell them apart
scenes/cut.map:7: error: the file ends before the fog colour (field 7 of 8): the game leaves it and every later field empty
scenes/fogless.map:7: error: the collision model "red" is not found
scenes/fogless.map:7: error: the fog colour "red" is not a number: the game reads what it can and every later field shifts
scenes/marked.map:1: warning: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which the game takes for text: the map's name reads "\xEF\xBB\xBFmarked" (the menu shows three junk characters before marked); save it without the mark (as plain ASCII, or UTF-8 without BOM); the rest is checked as if it were gone
)");
    expectFindings(Folder().file("chars", ""), 1,
                   "chars: error: names no character file: the game stops at start-up\n");
}

// The worst fight's model count at the table's 100 and one past; a character's skins alone past
// a table, reported at its file; the textures' and mesh elements' tables.
TEST(DataCheck, FightTables) {
    // On Arena (12 models) six looks of 13 models and one of 9 or 10, and a shared extra model.
    Folder at, past;
    for (Folder* f : {&at, &past}) {
        f->map("arena").character("six", "2=6|4=pelmo_skin%d.bmp|9=kvark_walk3");
        f->texture("pelmo_skin4.bmp").texture("pelmo_skin5.bmp").texture("pelmo_skin6.bmp");
        f->character("one",
                     "4=kvark_skin1.bmp|5=kvark_arms%d.3ds|6=kvark_stand3|8=kvark_stand3|"
                     "9=kvark_stand3|13=kvark_death3|7=" +
                         std::string(f == &at ? "kvark_stand3" : "kvark_walk3"));
    }
    expectFindings(at.file("tovask.cfg", "1024 768 0 0 0 1 1\n"), 0, "");  // texture quality 0
    expectFindings(past, 1, R"(
chars: error: a fight on arena can need 101 models, above the 100 the game holds: the last creatures loaded are drawn without some of their models; the costliest fight: six with pelmo_skin1.bmp (14), six with pelmo_skin2.bmp (13), six with pelmo_skin3.bmp (13), six with pelmo_skin4.bmp (13), six with pelmo_skin5.bmp (13), six with pelmo_skin6.bmp (13), one with kvark_skin1.bmp (10)
)");
    Folder alone;
    alone.character("pelmo", "2=7|3=Pelmo|4=pelmo_skin%d.bmp|9=kvark_walk3");
    expectFindings(alone, 1, R"(
cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 104 models, on Bunker 102, on Canyon 103, above the 100 the game holds: the last creatures loaded are drawn without some of their models; the costliest fight: Pelmo with pelmo_skin1.bmp (14), Pelmo with pelmo_skin2.bmp (13), Pelmo with pelmo_skin3.bmp (13), Pelmo with pelmo_skin4.bmp (13), Pelmo with pelmo_skin5.bmp (13), Pelmo with pelmo_skin6.bmp (13), Pelmo with pelmo_skin7.bmp (13)
cfg/pelmo.chr:2: error: 7 skins, but skin 4's texture pelmo_skin4.bmp is not found (4 of the 7 checked are missing): the game draws what uses it with the texture, or the plain colour, of whatever it drew just before
)");
    // Skins with alpha companions: a texture slot for every frame.
    Folder glassy;
    glassy.chars = "pelmo.chr";
    glassy.texture("pelmo_skin1+.bmp", TestImage(256, 256))
        .texture("pelmo_skin2+.bmp", TestImage(256, 256));
    expectFindings(glassy, 1, R"(
@DATA@/cfg/pelmo.chr: error: a fight of Pelmo's skins alone on Arena can need 138 textures, on Bunker 133, on Canyon 132, above the 100 the game holds: the last models loaded get none of their textures: the game draws what uses it with the texture, or the plain colour, of whatever it drew just before; the costliest fight: Pelmo with pelmo_skin1.bmp (62), Pelmo with pelmo_skin2.bmp (62), Pelmo with pelmo_skin3.bmp (1)
)");
    // Five models of 1000 vertices a look: no character's three skins reach the budget, seven
    // looks of three characters do.
    Folder heavy;
    heavy.chars = "pelmo.chr kvark.chr brusk.chr";
    heavy.model("big1.3ds", cloud(1000));
    for (const char* c : {"pelmo", "kvark", "brusk"})
        for (const char* a : {"stand", "walk", "strafe", "death"})
            heavy.model(c + std::string("_") + a + "3",
                        std::string("900\n900\n1\nbig%d.3ds\n") + (a[0] == 'd' ? "0\n" : "1\n"));
    expectFindings(heavy, 1, R"(
chars: error: a fight on Arena can need 32073001 mesh elements, on Bunker 32070413, on Canyon 32071212, above the 20000000 the game holds: once that much is loaded, further models are not and their creatures are drawn without them; the costliest fight: Kvark with kvark_skin1.bmp (4580241), Pelmo with pelmo_skin1.bmp (4579633), Brusk with brusk_skin1.bmp (4579633), Brusk with brusk_skin2.bmp (4579342), Brusk with brusk_skin3.bmp (4579342), Pelmo with pelmo_skin2.bmp (4579342), Pelmo with pelmo_skin3.bmp (4579342)
models/big1.3ds: warning: holds no triangles: the game draws nothing for it
)");
}

// A data folder with nothing the game asks for by name, one as long as the game takes and one
// longer, no folder, bad usage. Without one, a copy of the checker reads the data beside it.
TEST(DataCheck, DataFolderAndUsage) {
    TempDir cwd;
    cwd.write("bin/data/chars", "");
    std::filesystem::copy_file(TOOLS + "check/tovask-check", cwd.file("bin/tovask-check"));
    const std::string copy =
        runProgram("cd " + cwd.path() + " && exec bin/tovask-check --json").out;
    EXPECT_EQ(copy.substr(0, copy.find('\n')),
              R"({"searched":["./","/.tovask/",")" + cwd.file("bin/data") + "/\"]}");
    cwd.write("empty/chars", "lost.chr\n");
    cwd.write("empty/maps", "lost.map\n");
    std::string models;  // the game's own models, asked for by name
    for (const char* name : {"c3", "zat", "w1", "w2", "w3", "w4", "w5", "zamer"})
        models += name + std::string(
                             ".3ds: error: not found: the game asks for this model by name and "
                             "goes on without it\n");
    EXPECT_EQ(
        said(check(cwd, "-- empty")),
        R"(1 tovask-check: reading the data as the game does, from ./, then /.tovask/, then empty/ (each with its folders textures/ models/ sound/ maps/ scenes/ cfg/)
tovask.cfg: warning: not found: the game starts full screen at 640 x 480 with its default settings
empty/chars:1: error: the character file "lost.chr" is not found: the game skips it
empty/chars: error: none of its character files is usable: the game stops at start-up
empty/maps:1: error: the map file "lost.map" is not found: the game skips it
empty/maps: error: none of its map files can be read: the game stops at start-up
)" + models +
            R"(logo.3ds: error: not found: the game asks for this model by name and the menu shows no logo
font.bmp: error: not found: the game asks for this image by name and goes on without it
menu.jpg: error: not found: the game asks for this image by name and goes on without it
icon.png: error: not found: the game asks for this image by name and its window has no icon
tovask-check: 16 errors, 1 warning; files read from empty/
)");
    const std::string name(198 - cwd.path().size() - 1, 'd'), at = cwd.file(name);  // 198 long
    cwd.write(name + "/.made", "");
    cwd.write(name + "d/.made", "");
    const std::string longest = said(check(cwd, at));
    EXPECT_EQ(longest.substr(0, 2) + longest.substr(longest.rfind('\n', longest.size() - 2) + 1),
              "1 tovask-check: 14 errors, 1 warning; no data file found\n");
    const std::string file = cwd.write("file", "");
    forEachRefusal("--bogus|unknown option --bogus\n" + DATA + " " + DATA +
                       "|one data folder at most\n" + file + "|" + file + " is not a folder\n" +
                       at + "d|the game takes data folders of at most 198 characters\n",
                   [&](const std::string& args, const std::string& message) {
                       EXPECT_EQ(refusal(check(cwd, args)), "2 tovask-check: " + message);
                   });
}
