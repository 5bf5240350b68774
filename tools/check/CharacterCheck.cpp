// Character description files: fields, skins against the skin files, models and how they stand.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "CharacterFigures.h"
#include "CharacterModelSet.h"
#include "ContentChecks.h"
#include "CreatureType.h"
#include "DescriptionScan.h"
#include "FightModels.h"
#include "FightRequests.h"
#include "GameAdapters.h"
#include "NamePattern.h"
#include "WorstFight.h"  // MAX_COUNTED_SKINS

namespace {

// The empty model of the game's data that a character without an extra model names.
constexpr const char* NO_MODEL_FILE = "none.3ds";

// Field numbers in CHARACTER_FIELDS.
enum CharacterField {
    TYPE,
    SKINS,
    NAME,
    SKIN_PATTERN,
    ARM_PATTERN,
    STAND,
    WALK,
    STRAFE,
    DIAGONAL,
    SPARE_NUMBER,
    SPARE_NAME,
    EXTRA,
    DEATH
};

// Judged from bounds with the default characters as the measure
// (CharacterFigures.h): they stand 7.6 to 7.9 tall and at most 4.5 wide or
// deep, their soles at y = -0.5, and their arm poses reach up to the
// shoulders at 5.6 to 5.8, poses 1 to 5 2.1 to 2.6 ahead (-z) and 0.4 behind.
constexpr float BELOW_GROUND = -1.0f;      // lowest y a figure may reach
constexpr float HANDS_AHEAD = -0.25f;      // arm poses' box centre z must lie below this
constexpr float ARMLESS_FRACTION = 0.95f;  // a death key this much narrower lacks the arms
// A figure this much shorter or taller than the default characters, or arms
// reaching this much lower or higher than their shoulders, are judged to be
// at the wrong scale, and nothing else about their shape is judged.
constexpr float HEIGHT_SLACK = 1.25f;
constexpr float SHOULDERS_MIN = 5.6f, SHOULDERS_MAX = 5.8f;
constexpr float SHOULDERS_SLACK = 3.0f;
constexpr float SOLES_SLACK = 0.25f;  // soles further off SOLE_Y than this need a lift
// The height tovask-model height gives a figure: the middle of the default characters'.
constexpr float FIX_HEIGHT = (CHARACTER_HEIGHT_MIN + CHARACTER_HEIGHT_MAX) / 2;

struct Line {
    const std::string& path;
    const std::vector<int>& lines;
    int operator[](int field) const { return lines[size_t(field)]; }
};

// A pattern the game would not print as a number format; with noNumberToo,
// also one without any %d (every one of count files would be the same).
void checkPattern(CheckContext& ctx, const char* pattern, const std::string& path, int line,
                  const char* what, int count, bool noNumberToo) {
    if (std::strchr(pattern, '%') && !isNumberPattern(pattern))
        ctx.findings.warning(path, line,
                             format("the %s \"%s\" is not a single number format (one %%d): the "
                                    "game uses it as it is, so all %d are the same file",
                                    what, pattern, count));
    else if (noNumberToo && !std::strchr(pattern, '%') && count > 1)
        ctx.findings.warning(
            path, line,
            format("the %s \"%s\" has no %%d: all %d are the same file", what, pattern, count));
}

void checkSkins(CheckContext& ctx, const CharacterInfo& c, const Line& line) {
    checkPattern(ctx, c.skinTexturePattern, line.path, line[SKIN_PATTERN], "skin texture pattern",
                 c.skinCount, true);
    const int counted = std::min(c.skinCount, MAX_COUNTED_SKINS);
    int missing = 0, firstMissing = 0;
    for (int k = 0; k < counted; ++k) {
        const std::string name = skinTextureName(c, k, false);
        if (name.empty()) {
            ctx.findings.error(line.path, line[SKIN_PATTERN],
                               std::string("the skin pattern makes names longer than 254 "
                                           "characters, which the game refuses: ") +
                                   NO_TEXTURE_EFFECT);
            return;
        }
        const TextureInfo& t = ctx.textures.texture(name);
        if (t.tooLong) ctx.textures.reportUse(name, line.path, line[SKIN_PATTERN], "skin texture");
        if (t.tooLong || !t.path.empty()) continue;
        if (missing++ == 0) firstMissing = k;
    }
    if (missing > 0) {
        const std::string name = skinTextureName(c, firstMissing, false);
        std::string message = format("%d skins, but skin %d's texture %s is not found", c.skinCount,
                                     firstMissing + 1, name.c_str());
        if (missing > 1) message += format(" (%d of the %d checked are missing)", missing, counted);
        const NearName near = ctx.search.nearName(lowered(name));
        if (near) message += "; " + near.text();
        ctx.findings.error(line.path, line[SKINS], message + ": " + NO_TEXTURE_EFFECT);
    }
    if (c.skinCount >= 1 && c.skinCount < MAX_COUNTED_SKINS &&
        isNumberPattern(c.skinTexturePattern)) {
        const std::string next = skinTextureName(c, c.skinCount, false);
        if (!next.empty() && !ctx.search.locate(lowered(next)).empty())
            ctx.findings.warning(line.path, line[SKINS],
                                 format("%s is there but the skin count is %d: the menu never "
                                        "offers it",
                                        next.c_str(), c.skinCount));
    }
}

// The key meshes of a loaded model with vertices.
std::vector<const MeshInfo*> shapes(CheckContext& ctx, const std::string& name) {
    std::vector<const MeshInfo*> out;
    const ModelInfo& m = ctx.models.model(name);
    if (!m.loads) return out;
    for (const MeshInfo* key : m.keys)
        if (key && key->is3ds && key->triangles > 0) out.push_back(key);
    return out;
}

float extent(const MeshInfo& m, int axis) {
    const Vec3 d = subtract(m.boundsMax, m.boundsMin);
    return axis == 0 ? d.x : axis == 1 ? d.y : d.z;
}

// A measure as people read it: three significant digits, whole units from 100 on ("7800").
std::string measureText(float value) {
    return format(std::fabs(value) >= 100 ? "%.0f" : "%.3g", double(value));
}

// A factor as people say it: two significant digits, no exponent ("1000", "1.3").
std::string factorText(float factor) {
    const int exponent = int(std::floor(std::log10(double(factor))));
    const double unit = std::pow(10.0, exponent - 1);
    return format("%.*f", std::max(0, 1 - exponent), std::round(double(factor) / unit) * unit);
}

// "N times too small" or "N times too big" for a measure that should be `wanted`.
std::string howFarOff(float measured, float wanted) {
    return measured < wanted ? factorText(wanted / measured) + " times too small"
                             : factorText(measured / wanted) + " times too big";
}

// How a fix made on one key file reaches an animation's others: the measuring
// verbs measure each key anew, so the others get the explicit fix they print.
std::string otherKeys(const ModelInfo& m, const char* printed) {
    if (!m.animated || m.keyNames.size() < 2) return "";
    std::string others;
    for (size_t k = 1; k < m.keyNames.size() && k < 4; ++k)
        others += (k > 1 ? ", " : "") + m.keyNames[k];
    if (m.keyNames.size() > 4) others += format(" and %zu more", m.keyNames.size() - 4);
    return format(
        "; it is key 1 of %s: then give every other key (%s) the same fix as the "
        "call prints it, tovask-model %s KEY KEY",
        m.path.c_str(), others.c_str(), printed);
}

bool figureScaleOk(const MeshInfo& key) {
    const float height = extent(key, 1);
    return height >= CHARACTER_HEIGHT_MIN / HEIGHT_SLACK &&
           height <= CHARACTER_HEIGHT_MAX * HEIGHT_SLACK;
}

bool armScaleOk(const MeshInfo& arms) {
    return arms.boundsMax.y >= SHOULDERS_MIN / SHOULDERS_SLACK &&
           arms.boundsMax.y <= SHOULDERS_MAX * SHOULDERS_SLACK;
}

// A standing figure: lying down, at the wrong scale or sinking, reported at
// the first key that shows it, once per file however many models are built
// from it. The height and the soles mean something only once it stands, and
// the soles only at its right size.
void checkFigure(CheckContext& ctx, const char* name, bool allKeysStand) {
    const std::vector<const MeshInfo*> keys = shapes(ctx, name);
    if (keys.empty()) return;
    for (size_t k = 0; k < keys.size(); ++k) {
        const MeshInfo& key = *keys[k];
        const float height = extent(key, 1), width = std::max(extent(key, 0), extent(key, 2));
        if ((allKeysStand || k == 0) && height < width) {
            ctx.findings.warning(
                key.path, 0,
                format("the figure lies down: %.1f tall but %.1f across (x %.1f, z %.1f); the "
                       "game's y is up, so turn the model upright (did the exporter keep y up "
                       "where the game's files have z up?)",
                       height, width, extent(key, 0), extent(key, 2)));
            return;
        }
    }
    const ModelInfo& model = ctx.models.model(name);
    const MeshInfo& first = *keys[0];
    const std::string& path = first.path;
    const float height = extent(first, 1);
    if (!figureScaleOk(first)) {
        const float factor = FIX_HEIGHT / height;
        const bool lift = std::fabs(first.boundsMin.y * factor - SOLE_Y) > SOLES_SLACK;
        ctx.findings.warning(
            path, 0,
            format("the figure is %s tall, %s beside the default characters (%g to %g tall): "
                   "tovask-model height %g%s %s %s makes it %g tall",
                   measureText(height).c_str(), howFarOff(height, FIX_HEIGHT).c_str(),
                   CHARACTER_HEIGHT_MIN, CHARACTER_HEIGHT_MAX, FIX_HEIGHT, lift ? " lift" : "",
                   path.c_str(), path.c_str(), FIX_HEIGHT) +
                (lift ? format(" with its soles at y = %g", SOLE_Y) : std::string()) +
                otherKeys(model, lift ? "scale F move 0 Y 0" : "scale F"));
        return;
    }
    for (const MeshInfo* key : keys)
        if (key->boundsMin.y < BELOW_GROUND) {
            ctx.findings.warning(
                key->path, 0,
                format("the figure reaches down to y = %.1f, below the floor at y = %g where the "
                       "soles stand: tovask-model lift %s %s puts its soles there",
                       key->boundsMin.y, SOLE_Y, key->path.c_str(), key->path.c_str()) +
                    (key == keys[0] ? otherKeys(model, "move 0 Y 0") : std::string()));
            return;
        }
}

void checkArms(CheckContext& ctx, const CharacterInfo& c, const Line& line) {
    for (int pose = 0; pose < ARM_MODEL_COUNT; ++pose)
        if (pose == 0 || armModelName(c, pose, false) != armModelName(c, pose - 1, false))
            ctx.models.reportUse(armModelName(c, pose, false), line.path, line[ARM_PATTERN],
                                 format("the arm model of pose %d", pose));
    checkPattern(ctx, c.armModelPattern, line.path, line[ARM_PATTERN], "arm model pattern",
                 ARM_MODEL_COUNT, false);
    // Poses 1 to 5 hold the guns ahead of the body, along -z; facing is
    // judged only on arms of the right size.
    bool facingJudged = false;
    std::set<std::string> scaled;  // files judged for their scale
    for (int pose = 0; pose < ARM_MODEL_COUNT; ++pose) {
        const std::vector<const MeshInfo*> keys = shapes(ctx, armModelName(c, pose, false));
        if (keys.empty()) continue;
        const MeshInfo& arms = *keys[0];
        if (!armScaleOk(arms)) {
            if (!scaled.insert(arms.path).second) continue;
            const float top = std::max(arms.boundsMax.y, 1e-6f);
            ctx.findings.warning(
                arms.path, 0,
                format("arm pose %d reaches up to y = %s where the default characters' "
                       "shoulders are at %g to %g: it is about %s; give it the scale F that "
                       "tovask-model height prints for the body, tovask-model scale F %s %s",
                       pose, measureText(arms.boundsMax.y).c_str(), SHOULDERS_MIN, SHOULDERS_MAX,
                       howFarOff(top, (SHOULDERS_MIN + SHOULDERS_MAX) / 2).c_str(),
                       arms.path.c_str(), arms.path.c_str()));
            continue;
        }
        const float centre = (arms.boundsMin.z + arms.boundsMax.z) * 0.5f;
        if (pose == 0 || facingJudged || centre < HANDS_AHEAD) continue;
        facingJudged = true;
        ctx.findings.warning(arms.path, 0,
                             format("arm pose %d holds a gun, so its hands belong ahead of the "
                                    "body (-z), but the model reaches from z = %.1f to %.1f: the "
                                    "character faces away from -z; turn it to face -z",
                                    pose, arms.boundsMin.z, arms.boundsMax.z));
    }
}

// The death model is drawn alone: if it is narrower than the arms, it lacks them.
void checkDeathCarriesArms(CheckContext& ctx, const CharacterInfo& c) {
    const std::vector<const MeshInfo*> death = shapes(ctx, c.deathModelName);
    const std::vector<const MeshInfo*> arms = shapes(ctx, armModelName(c, 0, false));
    if (death.empty() || arms.empty() || !figureScaleOk(*death[0]) || !armScaleOk(*arms[0])) return;
    const float deathWidth = extent(*death[0], 0), armsWidth = extent(*arms[0], 0);
    if (deathWidth >= armsWidth * ARMLESS_FRACTION) return;
    ctx.findings.warning(death[0]->path, 0,
                         format("the first death key is %.1f wide, narrower than the arms (%.1f): "
                                "the game draws the death model alone, without arm models, so it "
                                "must carry the arms",
                                deathWidth, armsWidth));
}

// The skin replaces the textures a model's materials name: without any, it does not show.
void checkSkinShows(CheckContext& ctx, const std::string& name) {
    const std::vector<const MeshInfo*> keys = shapes(ctx, name);
    if (keys.empty()) return;
    for (const Material& m : keys[0]->materials)
        if (!m.textureFile.empty()) return;
    ctx.findings.warning(keys[0]->path, 0,
                         "no material names a texture, so the skin does not show on this model: "
                         "give it a textured material with texture coordinates");
}

void checkLooping(CheckContext& ctx, const char* name, bool shouldLoop, const char* role) {
    const ModelInfo& m = ctx.models.model(name);
    if (!m.loads || !m.animated || (m.animation.looping != 0) == shouldLoop) return;
    ctx.findings.warning(m.path, 0,
                         shouldLoop ? format("the %s animation does not loop: the creature "
                                             "freezes on its last key while it goes on moving",
                                             role)
                                    : std::string("the death animation loops: the dead creature "
                                                  "gets up and falls again until it is revived"));
}

// The game draws a character whose extra model it does not find without it.
std::string extraMissing(CheckContext& ctx) {
    std::string text = "the game draws the character without it";
    if (!ctx.search.locate(NO_MODEL_FILE).empty())
        text +=
            std::string("; for no extra model, name ") + NO_MODEL_FILE + ", the game's empty model";
    return text;
}

}  // namespace

bool checkCharacter(CheckContext& ctx, const std::string& path, CharacterInfo& out,
                    DisplayName& shown) {
    CharacterInfo c;
    const std::vector<int> lines = readFields(path, c, ctx.findings);
    if (lines.empty()) return false;
    const Line line{path, lines};
    if (c.creatureType < 0 || c.creatureType >= CREATURE_TYPE_COUNT) {
        ctx.findings.error(path, line[TYPE],
                           format("creature type %d: only 0 exists, so the game drops this "
                                  "character (\"Invalid character data\")",
                                  c.creatureType));
        return false;
    }
    if (c.skinCount < 1)
        ctx.findings.error(path, line[SKINS],
                           format("skin count %d: the player cannot choose this character (the "
                                  "game refuses skin 0) and computer creatures wear skin file %s",
                                  c.skinCount, skinTextureName(c, 0, false).c_str()));
    checkSkins(ctx, c, line);
    checkArms(ctx, c, line);
    const std::pair<int, const char*> body[] = {
        {STAND, c.standModelName},       {WALK, c.walkModelName},   {STRAFE, c.strafeModelName},
        {DIAGONAL, c.diagonalModelName}, {DEATH, c.deathModelName}, {EXTRA, c.extraModelName}};
    for (const auto& [field, name] : body)
        ctx.models.reportUse(name, path, line[field],
                             std::string("the ") + CHARACTER_FIELDS[field].label,
                             field == EXTRA ? extraMissing(ctx) : "");
    ctx.models.checkOwnTextures(ctx.models.model(c.extraModelName));
    for (const char* name :
         {c.standModelName, c.walkModelName, c.strafeModelName, c.diagonalModelName})
        checkFigure(ctx, name, true);
    checkFigure(ctx, c.deathModelName, false);
    for (const ModelRequest& r : lookRequests(c, 0))
        if (!r.replacementTexture.empty()) checkSkinShows(ctx, r.fileName);
    checkDeathCarriesArms(ctx, c);
    checkLooping(ctx, c.walkModelName, true, "walk");
    checkLooping(ctx, c.strafeModelName, true, "strafe");
    checkLooping(ctx, c.diagonalModelName, true, "diagonal");
    checkLooping(ctx, c.deathModelName, false, "death");
    out = c;
    shown = {c.name, line[NAME]};
    return true;
}
