// The fight on screen, read back from a real window: the fight's state (loading a map, the fog,
// view and camera keys with their messages), its map scene (which models it takes, its fog rule
// around the sky, its light levels), the game view (camera from the followed creature,
// crosshair only while it lives, the HUD values), what a creature and a projectile are made of
// and put on screen, and the transform an entity draws in.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

#include "BitmapFont.h"
#include "CollisionMap.h"
#include "Creature.h"
#include "FightFixtures.h"
#include "GRun.h"
#include "GameState.h"
#include "GlTestWindow.h"
#include "MapScene.h"
#include "MenuState.h"
#include "MeshFixtures.h"
#include "ModelStore.h"
#include "Projectile.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

namespace {

// One object over the given vertices: by default two triangles over four corners, and any
// spare vertices after them.
TdsScene oneObject(const std::vector<TdsVertex>& vertices,
                   const std::vector<uint16_t>& faces = {0, 1, 2, 0, 2, 3}) {
    TdsScene scene;
    TdsObject object;
    object.name = "object";
    object.vertices = vertices;
    object.faces = faces;
    scene.objects.push_back(object);
    return scene;
}

// A rectangle x0..x1, y0..y1 standing at the given depth, facing the viewer.
// A spare vertex behind the viewer stretches the bounds over the viewer, as a
// sky dome's are.
TdsScene rectangleScene(float x0, float x1, float y0, float y1, float depth, bool spare = false) {
    std::vector<TdsVertex> corners = {gameToFile(x0, y0, -depth), gameToFile(x1, y0, -depth),
                                      gameToFile(x1, y1, -depth), gameToFile(x0, y1, -depth)};
    if (spare) corners.push_back(gameToFile(0, 0, 10));
    return oneObject(corners);
}

void setName(char* field, const char* text) {
    std::snprintf(field, INFO_TEXT_SIZE, "%s", text);
}

// Names a map's level and collision models and its ground, roof and sky words.
void setMap(MapInfo& map, const char* level, const char* ground, const char* roof,
            const char* sky) {
    char* const fields[] = {map.levelModel, map.collisionModel, map.groundModel, map.roofModel,
                            map.skyTexture};
    const char* const names[] = {level, level, ground, roof, sky};
    for (int i = 0; i < 5; ++i) setName(fields[i], names[i]);
}

std::string keyOutput(GameState& state, int key) {
    return captureOutput([&] { state.keyDown(key); }).out;
}

// The first n values of a GL state variable, rounded to five decimals.
std::vector<GLfloat> glFloats(GLenum name, size_t n = 1) {
    std::vector<GLfloat> values(16);
    glGetFloatv(name, values.data());
    values.resize(n);
    for (GLfloat& value : values) value = std::round(value * 1e5f) / 1e5f;
    return values;
}

// The fog switch and range, then the perspective's view angle, aspect and far clip (near
// clip 1), read back from GL; "modelview" when that matrix is the current one again.
std::string fogAndView() {
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    char text[120];
    std::snprintf(text, sizeof text, "fog %s %g %g, %.1f %.2f %g%s",
                  glIsEnabled(GL_FOG) ? "on" : "off", glFloats(GL_FOG_START)[0],
                  glFloats(GL_FOG_END)[0], 2 * std::atan(1 / m[5]) * 180 / M_PI, m[5] / m[0],
                  std::round(double(m[14]) / (m[10] + 1.0)),
                  glFloats(GL_MATRIX_MODE)[0] == GL_MODELVIEW ? " modelview" : "");
    return text;
}

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255},
    YELLOW{255, 255, 0}, BLACK{0, 0, 0};
constexpr float DEPTH = 10.0f;  // creatures stand this far in front of the camera

// A one-frame model: a unit triangle centred on (dx, dy) in the model's plane z = 0.
std::unique_ptr<Model> markerModel(Rgb colour, float dx, float dy) {
    auto mesh = std::make_unique<Mesh>();
    mesh->materials.push_back(colourMaterial(colour.r, colour.g, colour.b));
    MeshObject o = triangle(0.0f, 0);
    o.vertices = {{dx - 0.5f, dy - 0.5f, 0}, {dx + 0.5f, dy - 0.5f, 0}, {dx, dy + 0.5f, 0}};
    mesh->objects.push_back(o);
    finish(*mesh, LISTS_NONE);
    auto model = std::make_unique<Model>();
    model->frames.push_back(std::move(mesh));
    model->loaded = true;
    return model;
}

// A triangle file h units tall at x and z from 1 to 2: mirroring shows on every axis.
bool saveMarkerFile(const TempDir& dir, const std::string& name, float h) {
    return saveTds(
        oneObject({gameToFile(1, 0, 1), gameToFile(2, 0, 1), gameToFile(1, h, 2)}, {0, 1, 2}),
        dir.file(name));
}

// Which file (by its height), mirrored or not, skin and display-list mode.
std::string describe(const Model* m) {
    if (m == nullptr) return "none";
    const bool mirroredYZ = m->boundsMin.y < 0 || m->boundsMin.z < 0;
    return "h" + std::to_string(int(m->boundsMax.y)) + (m->boundsMin.x < 0 ? " mirrored " : " ") +
           m->replacementTexture + " " + std::to_string(m->listMode) +
           (mirroredYZ ? " mirrored in y or z" : "");
}

// Screen colour at the marker centred on (dx, dy) of a model drawn DEPTH ahead.
Rgb at(float dx, float dy) {
    const float pixelsPerUnit = (GlTestWindow::HEIGHT / 2) / (DEPTH * 0.41421356f);
    return GlTestWindow::pixel(int(GlTestWindow::WIDTH / 2 + dx * pixelsPerUnit),
                               int(GlTestWindow::HEIGHT / 2 + (dy - 0.1f) * pixelsPerUnit));
}

// A map "Floor": a flat floor of 200 x 200 units at y = -1 around the start point is its level
// and collision model, the creatures' body too. For the map scene: level, roof and ground side
// by side and overlapping, 10 units ahead; the sky 1000 units ahead, above the view's middle.
struct GameStateTest : GlTest {
    void SetUp() override {
        GlTest::SetUp();
        const TdsScene floor = oneObject({gameToFile(-100, -1, 50), gameToFile(100, -1, 50),
                                          gameToFile(100, -1, -150), gameToFile(-100, -1, -150)});
        for (const char* name : {"floor.3ds", "c3.3ds", "zat.3ds"})
            ASSERT_TRUE(saveTds(floor, dir.file(name)));
        const std::pair<TdsScene, const char*> files[] = {
            {rectangleScene(-4, 0, -1, 1, 10), "level.3ds"},
            {rectangleScene(-2, 2, -1, 1, 10), "roof.3ds"},
            {rectangleScene(0, 4, -1, 1, 10), "noground"},
            {rectangleScene(-300, 300, 300, 2000, 1000, true), "sky.3ds"}};
        for (const auto& [scene, name] : files) ASSERT_TRUE(saveTds(scene, dir.file(name)));
        ASSERT_TRUE(writeBmp(TestImage(4, 4, 0, 255, 0), dir.file("stars.bmp")));
        settings.maps.assign(1, MapInfo{});
        setName(settings.maps[0].name, "Floor");
        setMap(settings.maps[0], "floor.3ds", "noground", "noroof", "nosky");
        for (int i = 0; i < 4; ++i) settings.maps[0].fogColour[i] = 0.25f * float(i + 1);
        settings.characters.assign(1, CharacterInfo{});
        settings.characters[0].skinCount = settings.mapCount = settings.characterCount = 1;
        settings.mapIndex = settings.characterIndex = settings.skinIndex = 0;
        screenWidth = GlTestWindow::WIDTH;
        screenHeight = GlTestWindow::HEIGHT;
    }
    void TearDown() override {
        settings = savedSettings;
        GlTest::TearDown();
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    Settings savedSettings = settings;
};

// An invalid selection is refused and creates nothing. The game's own fight keeps the mouse in
// the window until it ends; Escape, by its low byte, leaves for the menu.
TEST_F(GameStateTest, LoadPutsTheMapSceneFirstAndBuildsTheCollisionMapAndEscapeLeaves) {
    GRun run;
    auto fight = std::make_unique<GameState>(&run);
    GameState& state = *fight;
    run.setState(std::move(fight));
    settings.mapIndex = 1;
    const Output refused = captureOutput([&] { EXPECT_FALSE(state.load()); });
    EXPECT_EQ(refused.err + std::to_string(state.objectCount) + (state.collisionMap ? " map" : ""),
              "Invalid mapID when starting engine\n0");
    settings.mapIndex = 0;
    captureStdout();
    ASSERT_TRUE(state.load());
    // The collision map borrows the level model the scene holds, lists and all; then the player
    // and six more creatures, each getting five weapons.
    const std::string printed = capturedStdout();
    EXPECT_EQ(printed.substr(0, printed.find("Loading model w1")) +
                  std::to_string(std::count(printed.begin(), printed.end(), '\n')),
              "Loading map\nLoading model floor.3ds\nCreating collisions map\nGetting used model "
              "floor.3ds\nCreating players\n48");
    ASSERT_TRUE(state.collisionMap && state.view.target);
    const bool inBody = state.modelSlots[0] && state.view.target->model == state.modelSlots[0];
    EXPECT_EQ(std::string(state.map.name) + ", " + str(state.collisionMap->cellSize) +
                  (state.collisionMap->empty() ? " empty, " : ", ") +
                  std::to_string(state.objectCount) + (inBody ? " followed in the body" : ""),
              "Floor, 20.00 20.00 20.00, 8 followed in the body")
        << "map, collision cells, objects (the map scene, the player, six more), the camera's";
    EXPECT_EQ(glFloats(GL_COLOR_CLEAR_VALUE, 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 0}));
    EXPECT_EQ(glFloats(GL_FOG_COLOR, 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
    captureOutput([&] { state.keyDown(283); });  // F2 by its low byte; the state is deleted here
    EXPECT_EQ((Ints{dynamic_cast<MenuState*>(run.state()) != nullptr, run.skipNextUpdate,
                    SDL_WM_GrabInput(SDL_GRAB_QUERY)}),
              (Ints{1, 1, SDL_GRAB_OFF}));
}

// What no longer fits a table filled beforehand is deleted; without a player
// the view follows nobody.
TEST_F(GameStateTest, LoadIntoAFullTableDeletesWhatDoesNotFit) {
    // Columns: objects in the table before; whether the map scene and the player fit.
    for (auto [filled, scene, player] : {std::tuple{World::MAX_OBJECTS - 2, true, true},
                                         {World::MAX_OBJECTS - 1, true, false},
                                         {World::MAX_OBJECTS, false, false}}) {
        GameState state(nullptr);
        while (state.objectCount < filled) state.addObject(new WorldObject(&state));
        captureOutput([&] { EXPECT_TRUE(state.load()); });
        EXPECT_EQ(state.objectCount, World::MAX_OBJECTS) << filled;
        EXPECT_EQ(scene && dynamic_cast<MapScene*>(state.objects[filled]), scene) << filled;
        EXPECT_EQ(state.view.target, player ? state.objects[filled + 1] : nullptr) << filled;
    }
}

// Fog, far clip (projection and fog range, without limit), view angle (projection only) and
// camera keys (seven modes, wrapping, quietly).
TEST_F(GameStateTest, ViewKeysChangeFogProjectionAndCameraAndSaySo) {
    GameState state(nullptr);
    glEnable(GL_FOG);
    // Columns: key; its message, the fog and the perspective after it.
    const std::pair<int, const char*> steps[] = {
        {'f', "Fog disabled\nfog off 1800 2000, 45.0 1.00 2000 modelview"},
        {'f', "Fog enabled\nfog on 1800 2000, 45.0 1.00 2000 modelview"},
        {'k', "View angle changed to 43.000000\nfog on 1800 2000, 43.0 1.00 2000 modelview"},
        {'l', "View angle changed to 45.000000\nfog on 1800 2000, 45.0 1.00 2000 modelview"},
        {'l' | 0x100,
         "View angle changed to 47.000000\nfog on 1800 2000, 47.0 1.00 2000 modelview"},
        {'h', "Far clipping changed to 2050.000000\nfog on 1850 2050, 47.0 1.00 2050 modelview"}};
    for (auto [key, seen] : steps) {
        const std::string message = keyOutput(state, key);
        EXPECT_EQ(message + fogAndView(), seen) << key;
    }
    for (int i = 0; i < 41; ++i) keyOutput(state, 'j');
    EXPECT_FLOAT_EQ(state.farClip, 0.0f);
    EXPECT_EQ(glFloats(GL_FOG_START), std::vector<GLfloat>{-200});

    std::vector<int> modes;
    for (char key : {'i', 'i', 'i', 'i', 'i', 'i', 'i', 'u', 'i', 'x'}) {
        EXPECT_EQ(keyOutput(state, key), "");
        modes.push_back(state.view.cameraMode);
    }
    EXPECT_EQ(modes, (Ints{1, 2, 3, 4, 5, 6, 0, 6, 0, 0})) << "after each key";
}

// Sky first (unlit, unfogged, at the fight's view angle, beyond the fight's far
// clip), then level, roof and ground at their light levels, and the level's
// light again for what follows. Drawn without a depth test, so whatever comes
// later covers what came before. Only the exact "noground", "noroof" and "nosky" mean none,
// and without a sky the fog stays as it was. The models go with the scene, the body and
// projectile models with the fight, the collision model as soon as the map is built.
TEST_F(GameStateTest, DrawsSkyLevelRoofAndGroundInOrderAtTheirLightLevels) {
    auto state = std::make_unique<GameState>(nullptr);
    EXPECT_FALSE(CollisionMap(20, 20, 20, "floor.3ds").empty());
    setMap(state->map, "level.3ds", "noground", "noroof", "nosky");
    for (bool fog : {false, true}) {
        MapScene bare(state.get());
        fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
        bare.draw();
        EXPECT_EQ((Ints{glIsEnabled(GL_FOG), modelStore.count()}), (Ints{fog, 3}))
            << "fog, models (body, projectile, level)";
    }
    setMap(state->map, "level.3ds", "NoGround", "roof.3ds", "stars.bmp");
    auto scene = std::make_unique<MapScene>(state.get());
    EXPECT_EQ((Ints{int(scene->kindFlags), scene->delay, int(scene->period), modelStore.count()}),
              (Ints{0, 1000, 1000, 6}))
        << "kind, first delay, period (updated once a second, to no effect), models (the fight's "
           "two, level, ground, roof, sky)";
    GlTestWindow::perspectiveCamera();
    viewFrustum.updateFrustum();
    glPushAttrib(GL_LIGHTING_BIT | GL_FOG_BIT);
    // Only ambient light: a grey level g shows as g * 0.2 (the scene's ambient) + g * g.
    const GLfloat black[4] = {0, 0, 0, 1}, red[4] = {1, 0, 0, 1}, grey[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, black);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    // Fog that would turn the sky red; the level stands well before it.
    glFogfv(GL_FOG_COLOR, red);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 500);
    glFogf(GL_FOG_END, 600);
    glEnable(GL_FOG);
    for (float angle : {45.0f, 90.0f}) {
        glClear(GL_COLOR_BUFFER_BIT);
        state->viewAngle = angle;  // the sky's only: the rest keeps the current projection
        scene->draw();
        // Columns: window x, y, grey level shown. The first two lie near the level's
        // edges: the scene is drawn where it stands, not a unit off.
        const int spots[][3] = {
            {11, 128, 20},   {35, 100, 20},   {35, 128, 20},   {97, 128, 122},
            {159, 128, 252}, {221, 128, 252}, {128, 240, 255}, {128, 200, angle > 45 ? 255 : 0}};
        for (const auto& [x, y, level] : spots) {
            const Rgb c = GlTestWindow::pixel(x, y);
            EXPECT_TRUE(std::abs(c.r - level) <= 2 && c.g == c.r && c.b == c.r)
                << angle << " degrees at " << x << ", " << y << ": " << int(c.r) << " " << int(c.g)
                << " " << int(c.b);
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_FOG) && glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glFloats(GL_MATRIX_MODE), std::vector<GLfloat>{GL_MODELVIEW});
    GLfloat ambient[4], diffuse[4], light[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, diffuse);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, light);
    EXPECT_EQ((Floats{ambient[0], diffuse[0], light[0]}), (Floats{0.2f, 0.2f, 0.2f}))
        << "the level's light left on: material ambient and diffuse, light ambient";
    state->fogEnabled = 0;  // fog switched off by the player stays off
    glDisable(GL_FOG);
    scene->draw();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    glPopAttrib();
    scene.reset();
    EXPECT_EQ(modelStore.count(), 2) << "the fight's";
    state.reset();
    EXPECT_EQ(modelStore.count(), 0);
}

struct FightDrawGl : GlTest {
    std::unique_ptr<Model> arms = markerModel(RED, -2, 1.5f);
    std::unique_ptr<Model> body = markerModel(GREEN, 2, 1.5f);
    std::unique_ptr<Model> extra = markerModel(BLUE, -2, -1.5f);
    std::unique_ptr<Model> gun = markerModel(YELLOW, 2, -1.5f);
    std::unique_ptr<Model> death = markerModel(WHITE, 0, 0);
    std::unique_ptr<Creature> creature;

    void SetUp() override {
        GlTest::SetUp();
        GlTestWindow::perspectiveCamera();
        viewFrustum.updateFrustum();
        captureOutput(
            [&] { creature = std::make_unique<Creature>(nullptr, body.get(), creatureTypes[0]); });
        creature->position = {0, 0, -DEPTH};
        Weapon& weapon = *creature->currentWeapon;
        modelStore.releaseModel(weapon.model);
        weapon.model = gun.get();
    }
    void TearDown() override {
        creature.reset();
        GlTest::TearDown();
    }
};

// Arms by the weapon's pose, the first for a pose outside the six or without a
// weapon; whatever the look or the weapon lacks is left out.
TEST_F(FightDrawGl, CreatureShowsWeaponArmsBodyAndExtraOrDeathShotsShowUnlitInTheEntityTransform) {
    const auto shown = [&] {
        GlTestWindow::resetState();
        GlTestWindow::perspectiveCamera();
        creature->draw();
        // The five markers: arms, body, extra, gun, death.
        return std::vector<Rgb>{at(-2, 1.5f), at(2, 1.5f), at(-2, -1.5f), at(2, -1.5f), at(0, 0)};
    };
    EXPECT_EQ(shown(), (std::vector<Rgb>{BLACK, GREEN, BLACK, BLACK, BLACK})) << "the body alone";
    creature->setCharacterModels(new CharacterModelSet);
    CharacterModelSet& look = *creature->characterModels;
    look.armModels[creature->currentWeapon->armsIndex()] = arms.get();
    look.standModel = body.get();
    look.extraModel = extra.get();
    look.deathModel = death.get();
    look.selectAnimation(25, false, false, false, false, 100);
    EXPECT_EQ(shown(), (std::vector<Rgb>{RED, GREEN, BLUE, YELLOW, BLACK}));
    EXPECT_EQ(glFloats(GL_MODELVIEW_STACK_DEPTH)[0], 1);
    Weapon& weapon = *creature->currentWeapon;
    for (auto [pose, slot] : {std::pair{5, 5}, {6, 0}, {-1, 0}}) {
        std::fill(std::begin(look.armModels), std::end(look.armModels), nullptr);
        look.armModels[slot] = arms.get();
        weapon.type.armsIndex = pose;
        EXPECT_EQ(shown()[0], RED) << "arms index " << pose;
    }
    weapon.model = nullptr;
    EXPECT_EQ(shown(), (std::vector<Rgb>{RED, GREEN, BLUE, BLACK, BLACK})) << "a bare weapon";
    creature->currentWeapon = nullptr;
    EXPECT_EQ(shown(), (std::vector<Rgb>{RED, GREEN, BLUE, BLACK, BLACK})) << "no weapon";
    look.selectAnimation(25, false, false, false, false, -5);
    EXPECT_EQ(shown(), (std::vector<Rgb>{BLACK, BLACK, BLACK, BLACK, WHITE})) << "dying";
    creature->setCharacterModels(new CharacterModelSet);
    EXPECT_EQ(shown(), std::vector<Rgb>(5, BLACK)) << "a look without models";
    creature->characterModels->dying = true;
    EXPECT_EQ(shown(), std::vector<Rgb>(5, BLACK)) << "dying without a death model";

    // A projectile is drawn unlit and leaves lighting on.
    auto* shot = new Projectile(nullptr, 0, creature.get());
    shot->model = death.get();
    shot->position = {0, 0, -DEPTH};
    glEnable(GL_LIGHTING);
    shot->draw();
    EXPECT_EQ(WHITE, at(0, 0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    shot->kill();  // without a world it is deleted at once

    // An entity draws in its own transform, pushed only where it can be seen.
    Entity entity(nullptr, body.get());
    const GLfloat depth = glFloats(GL_MODELVIEW_STACK_DEPTH)[0];
    entity.position = {0, 0, 20};  // behind the camera
    EXPECT_FALSE(entity.beginTransform());
    // Pitch about -x, then heading about -y, then roll about -z, 90 degrees each: the model's x,
    // y and z axes end up along +z, +y and -x, as by the heading alone.
    entity.position = {1, 2, -20};
    entity.pitch = entity.heading = entity.roll = 90;
    ASSERT_TRUE(entity.beginTransform());
    EXPECT_EQ(glFloats(GL_MODELVIEW_STACK_DEPTH)[0], depth + 1);
    EXPECT_EQ(glFloats(GL_MODELVIEW_MATRIX, 16),
              (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 1, 2, -20, 1}));
    glPopMatrix();
    entity.draw();  // within its own push and pop
    EXPECT_EQ(glFloats(GL_MODELVIEW_STACK_DEPTH)[0], depth) << "after a refusal and a draw";
}

// Weapons and projectile types hold their models unmirrored, as whole-mesh
// lists, and give them back.
TEST_F(FightDrawGl, CharacterModelsInTheChosenSkinWeaponAndShotModelsUnmirroredWholeMesh) {
    creature.reset();  // its weapons hold the data folder's w1.3ds to w5.3ds
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    CharacterInfo c;
    c.skinCount = 3;
    const std::pair<char*, const char*> names[] = {
        {c.standModelName, "stand.3ds"},   {c.walkModelName, "walk.3ds"},
        {c.strafeModelName, "strafe.3ds"}, {c.diagonalModelName, "diagonal.3ds"},
        {c.deathModelName, "death.3ds"},   {c.extraModelName, "extra.3ds"},
        {c.armModelPattern, "arm%d.3ds"},  {c.skinTexturePattern, "skin%d.bmp"}};
    for (auto [field, name] : names) std::snprintf(field, INFO_TEXT_SIZE, "%s", name);
    for (int i = 0; i < 12; ++i)  // the six named files, then arm0.3ds to arm5.3ds
        ASSERT_TRUE(saveMarkerFile(
            dir, i < 6 ? names[i].second : "arm" + std::to_string(i - 6) + ".3ds", i + 1.0f));
    CharacterModelSet set;
    captureOutput([&] { EXPECT_TRUE(set.load(&c, 1, 0, 1)); });
    std::string seen;
    for (const Model* m :
         {set.standModel, set.walkModel, set.strafeRightModel, set.strafeLeftModel,
          set.diagonalRightModel, set.diagonalLeftModel, set.deathModel, set.extraModel})
        seen += describe(m) + ", ";
    for (const Model* m : set.armModels) seen += describe(m) + ", ";
    EXPECT_EQ(
        seen,
        "h1 skin2.bmp 2, h2 skin2.bmp 2, h3 skin2.bmp 2, h3 mirrored skin2.bmp 2, h4 skin2.bmp "
        "2, h4 mirrored skin2.bmp 2, h5 skin2.bmp 2, h6  1, h7 skin2.bmp 2, h8 skin2.bmp 2, h9 "
        "skin2.bmp 2, h10 skin2.bmp 2, h11 skin2.bmp 2, h12 skin2.bmp 2, ");
    ASSERT_TRUE(saveMarkerFile(dir, "zat.3ds", 1));
    ASSERT_TRUE(saveMarkerFile(dir, "w2.3ds", 2));
    const int before = modelStore.count();
    captureOutput(loadProjectileModels);
    EXPECT_EQ(describe(projectileModels[0]), "h1  2");
    for (const Model* m : projectileModels) EXPECT_EQ(m, projectileModels[0]);
    releaseProjectileModels();
    for (const Model* m : projectileModels) EXPECT_EQ(m, nullptr);
    {
        std::unique_ptr<Weapon> weapon;
        captureOutput([&] { weapon = std::make_unique<Weapon>(nullptr, 1, nullptr); });
        EXPECT_EQ(describe(weapon->model), "h2  2");
    }
    EXPECT_EQ(modelStore.count(), before);
}

struct GameViewTest : GlTest {
    void SetUp() override {
        GlTest::SetUp();
        // A white reticle 1 x 1 unit standing 30 units ahead of the creature, facing it: a
        // unit out of place moves it off its pixels.
        TdsScene reticle = rectangleScene(-0.5f, 0.5f, -0.5f, 0.5f, 30);
        reticle.materials.push_back({"white", "", {255, 255, 255}});
        reticle.objects[0].groups.push_back({"white", {0, 1}});
        ASSERT_TRUE(saveTds(reticle, dir.file("zamer.3ds")));
        ASSERT_TRUE(writeBmp(TestImage(64, 64, 255, 255, 255), dir.file("font.bmp")));
        glEnable(GL_TEXTURE_2D);
        bitmapFont.loadFont("font.bmp");
        GlTestWindow::perspectiveCamera();
        captureOutput([&] { creature = new Creature(&world, nullptr, creatureTypes[0]); });
        creature->position = {0.0f, 0.0f, -50.0f};
        ASSERT_TRUE(world.addObject(creature));
        world.addObject(new WorldObject(&world));  // nothing to draw
        world.view.attach(&world, creature);
    }
    void TearDown() override {
        bitmapFont.releaseFont();
        GlTest::TearDown();
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    World world{nullptr};
    Creature* creature = nullptr;
};

// Without a target the camera stands as for a creature at the start point (the followed
// creature's camera places the crosshair below). Culling follows this view.
TEST_F(GameViewTest, WithoutATargetTheCameraLooksAtTheStartPoint) {
    world.view.cameraMode = 3;
    world.view.target = nullptr;
    glLoadIdentity();
    viewFrustum.updateFrustum();  // a camera at the origin: the point looked at lies outside
    world.view.draw();
    const std::vector<GLfloat> actual = glFloats(GL_MODELVIEW_MATRIX, 16);
    EXPECT_TRUE(viewFrustum.pointInFrustum(0, 0, -60)) << "the point looked at";
    glLoadIdentity();
    gluLookAt(0, 100, -40, 0, 0, -60, 0, 1, 0);  // 10 behind, high; 10 ahead
    EXPECT_EQ(actual, glFloats(GL_MODELVIEW_MATRIX, 16));
}

// Unlit, at health 0 too; the transparent queue is emptied and lighting is on
// afterwards. A second attach takes the crosshair anew, giving back the first.
TEST_F(GameViewTest, CrosshairShowsOnlyWhileTheTargetLives) {
    const int models = modelStore.count();
    world.view.attach(&world, creature);
    EXPECT_EQ(modelStore.count(), models);
    Mesh glass;
    glass.objects.push_back(triangle(10, 0));  // behind the viewer: only its queuing counts
    finish(glass, LISTS_NONE);
    transparentQueue.push(glass.objects[0], glass);
    creature->health = 0;
    glPushAttrib(GL_ENABLE_BIT);  // lighting with no light: anything lit is dark
    glDisable(GL_LIGHT0);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    world.view.draw();
    EXPECT_EQ(transparentQueue.size(), 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glPopAttrib();
    const int x = 128, y = 157;  // the reticle's middle, 30 ahead and 4 up
    EXPECT_EQ(GlTestWindow::pixel(x, y), (Rgb{255, 255, 255}));

    for (int health : {-5, 100}) {
        creature->health = health;
        if (health > 0) {  // alive, without a crosshair model
            modelStore.releaseModel(world.view.crosshair);
            world.view.crosshair = nullptr;
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world.view.draw();
        EXPECT_EQ(GlTestWindow::pixel(x, y), (Rgb{0, 0, 0})) << "health " << health;
    }
}

// Drawn whether the creature is dead (its health shows as it is) or out of view;
// without a weapon only health and score.
TEST_F(GameViewTest, HudWritesWeaponAmmoHealthAndScoreInPlace) {
    creature->score = 3;
    world.view.cameraMode = 99;  // no camera: the view looks along -z from the origin
    Weapon* weapon = creature->currentWeapon;
    for (auto [health, z] : {std::pair{-20, -50.0f}, {-20, 50.0f}, {100, 50.0f}, {100, 0.0f}}) {
        creature->health = health;
        creature->position = {0, 0, z};
        creature->currentWeapon = z != 0.0f ? weapon : nullptr;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world.view.draw();
        auto lit = [](int x, int y) {
            return GlTestWindow::pixel(GlTestWindow::textX(x), GlTestWindow::textY(y)) != Rgb{};
        };
        // Weapon name at 20, ammunition at 400, health at 500 ("-20" or "100": three
        // glyphs), score "3" at 600 (one glyph); nothing else.
        const bool armed = creature->currentWeapon != nullptr;
        EXPECT_EQ((std::vector<bool>{lit(22, 26), lit(402, 26), lit(502, 26), lit(525, 26),
                                     lit(602, 26), lit(625, 26), lit(300, 26), lit(500, 100)}),
                  (std::vector<bool>{armed, armed, true, true, true, false, false, false}))
            << "name, ammunition, health (2), score (2), elsewhere (2) for " << health << " at z "
            << z;
    }
    // Drawn 1:1 on the virtual 640 x 480 screen, the viewport moved so that the text's corner
    // lies at pixel (20, 20): each text's first glyph starts exactly at its position.
    creature->currentWeapon = weapon;
    for (int x : {20, 400, 500, 600}) {
        glViewport(20 - x, 0, 640, 480);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world.view.draw();
        const auto on = [](int px, int py) { return GlTestWindow::pixel(px, py) != Rgb{}; };
        EXPECT_TRUE(on(20, 20) && !on(19, 20) && !on(20, 19)) << "the text at " << x << ", 20";
    }
    glViewport(0, 0, GlTestWindow::WIDTH, GlTestWindow::HEIGHT);
}

}  // namespace
