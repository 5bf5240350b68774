// The playable characters: skins, animated body key files, arm poses and gear models.
#include "Characters.h"

#include <cstdio>

#include "CharacterBody.h"
#include "Skins.h"

namespace {

struct CharacterDesign {
    const char* id;
    BodyShape shape;
    int face;  // see paintSkin
    int gear;  // 0 backpack with aerial, 1 twin tanks, 2 radio crate
    SkinStyle skins[SKINS_PER_CHARACTER];
};

// Body columns: hip height, hip spread, leg width, shoulder height, torso
// width, torso depth, head size, shoulder spread, arm segment, arm width.
// Skin columns: cloth, pattern, armour, visor, pattern kind.
constexpr CharacterDesign DESIGNS[] = {
    {"pelmo",
     {3.3f, 0.55f, 0.8f, 6.3f, 2.3f, 1.3f, 1.3f, 1.45f, 1.45f, 0.6f},
     0,
     0,
     {{rgb(86, 104, 56), rgb(52, 66, 36), rgb(120, 128, 96), rgb(255, 170, 40), 0},
      {rgb(190, 164, 116), rgb(150, 120, 80), rgb(200, 190, 160), rgb(80, 220, 255), 0},
      {rgb(60, 64, 72), rgb(110, 116, 126), rgb(170, 40, 36), rgb(255, 60, 50), 2}}},
    {"kvark",
     {3.6f, 0.45f, 0.65f, 6.4f, 1.9f, 1.1f, 1.15f, 1.25f, 1.5f, 0.5f},
     1,
     1,
     {{rgb(40, 60, 110), rgb(230, 230, 240), rgb(210, 210, 220), rgb(60, 255, 120), 1},
      {rgb(150, 40, 120), rgb(40, 20, 50), rgb(240, 200, 60), rgb(255, 240, 80), 1},
      {rgb(230, 230, 230), rgb(160, 170, 180), rgb(40, 150, 200), rgb(40, 120, 255), 2}}},
    {"brusk",
     {3.0f, 0.65f, 0.95f, 6.1f, 2.8f, 1.6f, 1.4f, 1.7f, 1.4f, 0.75f},
     2,
     2,
     {{rgb(110, 80, 50), rgb(60, 40, 24), rgb(150, 130, 100), rgb(255, 90, 30), 0},
      {rgb(70, 80, 60), rgb(30, 36, 28), rgb(90, 100, 70), rgb(180, 255, 60), 2},
      {rgb(40, 40, 44), rgb(200, 60, 20), rgb(60, 60, 64), rgb(255, 200, 20), 1}}},
};

// Hand targets for weapons 1 to 5 (arm poses 1 to 5), in the creature's frame:
// the guns lie along -z at the muzzle height 4. Columns: left hand, right hand.
constexpr ArmPose WEAPON_GRIPS[] = {
    {{0.05f, 4.0f, -2.2f}, {0.4f, 3.8f, -1.1f}},   // rifle: left under the barrel
    {{0.0f, 3.75f, -1.9f}, {0.5f, 3.7f, -0.9f}},   // launcher: both low on the tube
    {{-0.2f, 4.05f, -1.8f}, {0.4f, 3.8f, -1.2f}},  // plasma gun
    {{-0.3f, 3.9f, -1.6f}, {0.65f, 3.6f, -0.8f}},  // rotary gun held at the hip
    {{0.1f, 3.95f, -2.3f}, {0.3f, 3.95f, -2.3f}},  // blaster: both hands forward
};

std::string modelPath(const std::string& dir, const char* id, const char* what, int n) {
    char name[128];
    std::snprintf(name, sizeof name, "%s/%s_%s%d.3ds", dir.c_str(), id, what, n);
    return name;
}

struct KeyPose {
    const char* animation;
    int key;                                                                // 1-based
    float pitchLeft, pitchRight, rollLeft, rollRight, kneeLeft, kneeRight;  // degrees
    float bob;                                                              // units
    float lean, fall;                                                       // degrees
};

// The key poses of every animation. Walks alternate legs apart and legs
// passing (one knee lifted); the strafe steps sideways with a little forward
// swing, so it also reads as a diagonal walk, which shows it too; the death
// falls backwards in four keys so that the limbs do not shrink on the way.
// Columns: animation, key, hip pitch left and right, hip roll left and right,
// knee left and right, bob, lean, fall.
constexpr KeyPose KEY_POSES[] = {
    {"stand", 1, 0, 0, 0, 0, 0, 0, 0.0f, 0, 0},
    {"stand", 2, 0, 0, 0, 0, 4, 4, -0.06f, 0, 0},
    {"walk", 1, 28, -28, 0, 0, 8, 8, -0.12f, 4, 0},
    {"walk", 2, 0, 20, 0, 0, 0, 40, 0.05f, 4, 0},
    {"walk", 3, -28, 28, 0, 0, 8, 8, -0.12f, 4, 0},
    {"walk", 4, 20, 0, 0, 0, 40, 0, 0.05f, 4, 0},
    {"strafe", 1, 12, -12, 12, 12, 6, 6, -0.1f, 2, 0},
    {"strafe", 2, 0, 16, 0, 0, 0, 32, 0.04f, 2, 0},
    {"strafe", 3, -12, 12, 12, 12, 6, 6, -0.1f, 2, 0},
    {"strafe", 4, 16, 0, 0, 0, 32, 0, 0.04f, 2, 0},
    {"death", 1, 0, 0, 0, 0, 0, 0, 0.0f, 0, 0},
    {"death", 2, 17.5f, 7, 0, 0, 35, 21, 0.0f, 0, 35},
    {"death", 3, 10, 4, 0, 0, 20, 12, 0.0f, 0, 75},
    {"death", 4, 3, 1.2f, 0, 0, 6, 3.6f, 0.0f, 0, 90},
};

// Pose of key k (1-based) of an animation; the rest pose when not listed.
BodyPose animationKey(const std::string& animation, int k) {
    BodyPose p;
    for (const KeyPose& kp : KEY_POSES) {
        if (animation != kp.animation || k != kp.key) continue;
        p.hipPitch[0] = kp.pitchLeft;
        p.hipPitch[1] = kp.pitchRight;
        p.hipRoll[0] = kp.rollLeft;
        p.hipRoll[1] = kp.rollRight;
        p.knee[0] = kp.kneeLeft;
        p.knee[1] = kp.kneeRight;
        p.bob = kp.bob;
        p.lean = kp.lean;
        p.fall = kp.fall;
    }
    return p;
}

// Arms of the death animation: thrown out sideways and up as the body falls.
ArmPose deathArms(const BodyShape& s, int k) {
    ArmPose a = restingArms(s);
    const float spread = 0.7f * (k - 1);
    a.left = a.left + P3{-spread, spread * 1.2f, 0.3f * (k - 1)};
    a.right = a.right + P3{spread, spread * 1.2f, 0.2f * (k - 1)};
    return a;
}

// The figure is built standing at y = 0; the game draws it at the creature's
// height 0, so it is lowered onto the floor.
MeshPart onFloor(MeshPart part) {
    part.transform([](P3 p) { return p + P3{0, FLOOR_Y, 0}; });
    return part;
}

ModelFile skinnedModel(const char* id, MeshPart part) {
    ModelFile f;
    f.materials.push_back(texturedMaterial("skin", std::string(id) + "_skin1.bmp"));
    f.parts.push_back(std::move(part));
    return f;
}

bool writeAnimations(const CharacterDesign& d, const std::string& modelDir) {
    bool ok = true;
    for (const AnimationKeys& a : ANIMATIONS) {
        const bool death = std::string(a.suffix) == "death";
        for (int k = 1; k <= a.keyCount; ++k) {
            const BodyPose pose = animationKey(a.suffix, k);
            const ArmPose arms = death ? deathArms(d.shape, k) : restingArms(d.shape);
            ok = skinnedModel(d.id, onFloor(buildBody(d.shape, pose, death, arms)))
                     .save(modelPath(modelDir, d.id, a.suffix, k)) &&
                 ok;
        }
    }
    return ok;
}

bool writeArms(const CharacterDesign& d, const std::string& modelDir) {
    bool ok = true;
    for (int pose = 0; pose < ARM_POSES; ++pose) {
        ArmPose arms = restingArms(d.shape);
        if (pose > 0) {
            // The guns do not come down with the figure: the hands reach up to them.
            const P3 up{0, -FLOOR_Y, 0};
            arms = {WEAPON_GRIPS[pose - 1].left + up, WEAPON_GRIPS[pose - 1].right + up};
        }
        ok = skinnedModel(d.id, onFloor(buildArms(d.shape, arms)))
                 .save(modelPath(modelDir, d.id, "arms", pose)) &&
             ok;
    }
    return ok;
}

// Gear carried on the back, drawn with its own colours (not skinned).
bool writeGear(const CharacterDesign& d, const std::string& modelDir) {
    ModelFile f;
    f.materials.push_back(colouredMaterial("gear", 70, 74, 70));
    f.materials.push_back(colouredMaterial("light", 255, 60, 40));
    f.materials.push_back(texturedMaterial("plate", "metal.bmp"));
    MeshPart gear("gear", "gear"), light("light", "light"), plate("plate", "plate");
    const BodyShape& s = d.shape;
    const float back = s.torsoDepth * 0.5f, top = s.torsoTop;
    const BoxUv whole = uniformUv({});
    switch (d.gear) {
        case 0:  // backpack with an aerial and a beacon
            gear.box({-0.8f, top - 2.4f, back}, {0.8f, top - 0.3f, back + 0.8f}, whole);
            plate.box({-0.7f, top - 2.2f, back + 0.8f}, {0.7f, top - 1.2f, back + 0.95f}, whole);
            gear.beam({0.5f, top - 0.3f, back + 0.5f}, {0.6f, top + 2.2f, back + 0.6f}, {1, 0, 0},
                      0.1f, 0.1f, whole);
            light.box({0.47f, top + 2.2f, back + 0.47f}, {0.73f, top + 2.45f, back + 0.73f}, whole);
            break;
        case 1:  // two pressure tanks with a nozzle each
            for (float x : {-0.45f, 0.45f}) {
                plate.tube({x, top - 2.6f, back + 0.45f}, {x, top - 0.2f, back + 0.45f}, 0.4f, 10,
                           {0, 0, 1, 1}, {0, 0, 1, 1});
                light.tube({x, top - 2.95f, back + 0.45f}, {x, top - 2.6f, back + 0.45f}, 0.25f, 8,
                           {0, 0, 1, 1}, {0, 0, 1, 1});
            }
            break;
        default:  // a radio crate with a whip aerial and a status lamp
            gear.box({-1.0f, top - 2.6f, back}, {1.0f, top - 0.1f, back + 1.1f}, whole);
            plate.box({-0.9f, top - 1.2f, back + 1.1f}, {0.9f, top - 0.3f, back + 1.2f}, whole);
            gear.beam({-0.7f, top - 0.1f, back + 0.8f}, {-0.9f, top + 3.0f, back + 1.0f}, {1, 0, 0},
                      0.08f, 0.08f, whole);
            light.box({0.5f, top - 0.1f, back + 0.2f}, {0.8f, top + 0.15f, back + 0.5f}, whole);
            break;
    }
    f.parts = {onFloor(gear), onFloor(light), onFloor(plate)};
    return f.save(modelDir + "/" + d.id + "_gear.3ds");
}

bool writeSkins(const CharacterDesign& d, const std::string& textureDir) {
    bool ok = true;
    for (int k = 0; k < SKINS_PER_CHARACTER; ++k) {
        char name[128];
        std::snprintf(name, sizeof name, "%s/%s_skin%d.bmp", textureDir.c_str(), d.id, k + 1);
        ok = saveBmp(paintSkin(d.skins[k], d.face, 100u + static_cast<unsigned>(k)), name) && ok;
    }
    return ok;
}

}  // namespace

bool writeCharacters(const std::string& textureDir, const std::string& modelDir) {
    bool ok = true;
    for (const CharacterDesign& d : DESIGNS) {
        ok = writeSkins(d, textureDir) && ok;
        ok = writeAnimations(d, modelDir) && ok;
        ok = writeArms(d, modelDir) && ok;
        ok = writeGear(d, modelDir) && ok;
    }
    return ok;
}
