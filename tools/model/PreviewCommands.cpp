// The preview verbs: arguments, loading as the game loads, the checks that keep an empty or
// incomplete picture from being written, and the picture written whole.
#include "PreviewCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BitmapFont.h"
#include "CharacterFigures.h"
#include "Creature.h"
#include "DataLocator.h"
#include "DrawingState.h"
#include "Entity.h"
#include "FightModels.h"
#include "MapScene.h"
#include "ModelStore.h"
#include "OffscreenGl.h"
#include "PngFile.h"
#include "PreviewViews.h"
#include "ReplaceFile.h"
#include "Settings.h"
#include "TextureStore.h"

namespace {

constexpr const char* FONT_FILE = "font.bmp";
constexpr int TEXTURE_QUALITY = 2;  // mipmaps, as the default settings file asks
// Units from the origin a drawn model may reach: beyond any level the game
// plays on, and where a float still tells a creature's size from nothing.
constexpr double MAX_REACH = 1e6;

// The game's chatter on stdout ("Loading model ...") while it loads: set aside,
// so that stdout says what the verb did. Its complaints go to stderr and stay.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) dup2(null, STDOUT_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved_ < 0) return;
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_ = -1;
};

struct Arguments {
    const char* in = nullptr;
    const char* out = nullptr;
    const char* dataDir = nullptr;
    int skin = 0;
    int weapon = 1;
};

int fail(const char* verb, const std::string& problem) {
    std::fprintf(stderr, "tovask-model: %s: %s; nothing written\n", verb, problem.c_str());
    return 2;
}

bool refuse(const char* verb, const std::string& problem) {
    fail(verb, problem);
    return false;
}

bool wholeNumber(const char* text, long low, long high, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) return false;
    out = int(value);
    return true;
}

bool endsWithPng(const char* path) {
    const size_t n = std::strlen(path);
    return n > 4 && strcasecmp(path + n - 4, ".png") == 0;
}

// False, with the message printed, on anything the verb does not take.
bool parse(const char* verb, int count, const char* const* args, bool character, Arguments& a) {
    std::vector<const char*> files;
    for (int i = 0; i < count; ++i) {
        const char* arg = args[i];
        const bool takesValue =
            std::strcmp(arg, "--data") == 0 ||
            (character && (std::strcmp(arg, "--skin") == 0 || std::strcmp(arg, "--weapon") == 0));
        if (takesValue) {
            if (i + 1 >= count) return refuse(verb, std::string(arg) + " needs a value");
            const char* value = args[++i];
            if (std::strcmp(arg, "--data") == 0)
                a.dataDir = value;
            else if (std::strcmp(arg, "--skin") == 0 && !wholeNumber(value, 0, 1000000, a.skin))
                return refuse(
                    verb, std::string("--skin takes a skin number from 0, not \"") + value + "\"");
            else if (std::strcmp(arg, "--weapon") == 0 && !wholeNumber(value, 0, 5, a.weapon))
                return refuse(verb, std::string("--weapon takes 1 to 5, or 0 for empty hands, "
                                                "not \"") +
                                        value + "\"");
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return refuse(verb, std::string("unknown option ") + arg);
        } else {
            files.push_back(arg);
        }
    }
    const char* wanted = character ? "NAME.chr and OUT.png" : "IN.3ds and OUT.png";
    if (files.size() != 2) return refuse(verb, std::string("give ") + wanted);
    a.in = files[0];
    a.out = files[1];
    if (!endsWithPng(a.out))
        return refuse(verb,
                      std::string("the picture's name must end in .png, not \"") + a.out + "\"");
    if (a.dataDir) {
        struct stat info;
        if (stat(a.dataDir, &info) != 0 || !S_ISDIR(info.st_mode))
            return refuse(verb, std::string("no folder ") + a.dataDir);
        developmentDataDir = a.dataDir;
    }
    return true;
}

std::string searched() {
    return std::string("./, /.tovask/ and ") + developmentDataDir + "/";
}

// Where a data file is found as the game finds it; empty when it is not.
std::string located(const char* name) {
    char path[DATA_NAME_SIZE];
    if (std::strlen(name) >= sizeof path) return "";
    std::strcpy(path, name);
    return locateDataFile(path, false) ? path : "";
}

// The name the model store looks for: the asked one in lower case.
std::string storedName(const std::string& name) {
    ModelKey key;
    return makeModelKey(ModelRequest{name, "", "", LISTS_NONE}, key) ? key.fileName : name;
}

// Why a model is missing: not found (in lower case), or found but refused by the game.
std::string modelProblem(const std::string& name) {
    const std::string stored = storedName(name);
    if (!located(stored.c_str()).empty()) return name + " does not load (see above)";
    std::string why = name + " is not found in " + searched();
    if (stored != name) why += " (the game lowers model names: it looks for " + stored + ")";
    return why;
}

int visibleTriangles(const Model& model) {
    if (model.frames.empty()) return 0;
    int count = 0;
    for (const MeshObject& o : model.frames[size_t(model.currentFrame)]->objects)
        if (o.visible) count += o.faceCount();
    return count;
}

// The farthest a coordinate of the box lies from the origin; infinite when
// one is not a finite number.
double reach(const PreviewBox& b) {
    double most = 0;
    for (float f : {b.lo.x, b.lo.y, b.lo.z, b.hi.x, b.hi.y, b.hi.z})
        most = std::isfinite(f) ? std::max(most, std::fabs(double(f))) : INFINITY;
    return most;
}

PreviewBox boundsOf(const Model& m) {
    return {m.boundsMin, m.boundsMax};
}

PreviewBox join(const std::optional<PreviewBox>& a, const PreviewBox& b) {
    if (!a) return b;
    return {{std::min(a->lo.x, b.lo.x), std::min(a->lo.y, b.lo.y), std::min(a->lo.z, b.lo.z)},
            {std::max(a->hi.x, b.hi.x), std::max(a->hi.y, b.hi.y), std::max(a->hi.z, b.hi.z)}};
}

std::string number(float f) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(f));
    return text;
}

std::string boxText(const PreviewBox& b) {
    return "(" + number(b.lo.x) + ", " + number(b.lo.y) + ", " + number(b.lo.z) + ") to (" +
           number(b.hi.x) + ", " + number(b.hi.y) + ", " + number(b.hi.z) + ")";
}

// The GL context and the game's stores for one picture; the stores are emptied
// while the context still stands.
class PreviewSession {
public:
    explicit PreviewSession(const char* verb) : verb_(verb) {}
    ~PreviewSession() {
        QuietStdout quiet;
        if (body_) modelStore.releaseModel(body_);
        bitmapFont.releaseFont();
        modelStore.clearModels();
        textureStore.clearTextures();
    }
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    // The context with the game's drawing state, and the creature body every
    // creature is built on. False with the message printed.
    bool open() {
        gl_ = OffscreenGl::create(PREVIEW_SIDE, PREVIEW_SIDE);
        if (!gl_) return refuse(verb_, "Mesa's off-screen renderer gave no GL context");
        setDrawingState();
        // Creatures are drawn after the map, under the light the level leaves on.
        setLightLevel(MapScene::LEVEL_LIGHT);
        textureStore.setTextureQuality(TEXTURE_QUALITY);
        QuietStdout quiet;
        const ModelRequest body = creatureBodyModelRequest();
        body_ = modelStore.getModel(body);
        if (!body_)
            return refuse(verb_, "the creature body " + body.fileName + " is not found in " +
                                     searched() + ": give the game's data folder with --data");
        labels_ = !located(FONT_FILE).empty();
        if (labels_) bitmapFont.loadFont(FONT_FILE);
        return true;
    }

    Model* body() const { return body_; }

    // Draws the scene and writes it to path whole; the exit status.
    int write(PreviewScene scene, const char* path) {
        const double farthest = reach(scene.subject);
        if (!(farthest <= MAX_REACH))
            return fail(verb_, "it reaches " + number(float(farthest)) +
                                   " units from the origin, more than the " +
                                   std::to_string(long(MAX_REACH)) + " a picture shows");
        scene.groundY = SOLE_Y;
        scene.labels = labels_;
        std::vector<uint8_t> rgb;
        {
            QuietStdout quiet;
            rgb = drawPreview(*gl_, scene);
        }
        // It says why it could not, and that the old file stands.
        if (!replaceFile(path, encodePng(rgb, PREVIEW_SIDE, PREVIEW_SIDE))) return 2;
        std::printf("%s: %s, %d x %d: front, right side, back and top views%s\n", verb_, path,
                    PREVIEW_SIDE, PREVIEW_SIDE, labels_ ? "" : " (no font.bmp: unlabelled)");
        std::printf("  drawn: %s, %s tall\n", boxText(scene.subject).c_str(),
                    number(scene.subject.hi.y - scene.subject.lo.y).c_str());
        std::printf("  ground grid at y = %g; yellow: the creature's collision box %s\n",
                    double(SOLE_Y), boxText(scene.body).c_str());
        return 0;
    }

private:
    const char* verb_;
    std::unique_ptr<OffscreenGl> gl_;
    Model* body_ = nullptr;
    bool labels_ = false;
};

// The collision box of a creature on this body as the game sets it up: the
// body's half-extents around the body's centre height above the creature's
// position (the origin here).
PreviewBox collisionBox(Entity& creature) {
    creature.Entity::update();  // only places the centre: no controller, commands or owner
    const Vec3 h = creature.halfExtents;
    return {subtract(creature.centre, h), add(creature.centre, h)};
}

}  // namespace

void previewUsage(FILE* out) {
    std::fputs(
        "       tovask-model preview [--data DIR] IN.3ds OUT.png\n"
        "       tovask-model preview-character [--skin N] [--weapon N] [--data DIR] NAME.chr "
        "OUT.png\n",
        out);
}

int previewModel(int count, const char* const* args) {
    const char* verb = "preview";
    Arguments a;
    if (!parse(verb, count, args, false, a)) return 2;
    const ModelRequest request{a.in, "", "", LISTS_PER_OBJECT};
    ModelKey key;
    if (!makeModelKey(request, key))
        return fail(verb, "the name is longer than the " + std::to_string(MAX_MODEL_NAME) +
                              " characters the game takes");
    if (located(key.fileName.c_str()).empty()) return fail(verb, modelProblem(a.in));
    PreviewSession session(verb);
    if (!session.open()) return 2;
    Model* model = nullptr;
    {
        QuietStdout quiet;
        model = modelStore.getModel(request);
    }
    if (!model) return fail(verb, modelProblem(a.in));
    if (visibleTriangles(*model) == 0)
        return fail(verb, std::string(a.in) +
                              " draws nothing: it has no triangles in objects the game shows "
                              "(names starting with _ are hidden)");
    PreviewScene scene;
    scene.subject = boundsOf(*model);
    Entity stand(nullptr, session.body());
    scene.body = collisionBox(stand);
    scene.drawSubject = [model] { model->draw(0, 0, 0); };
    return session.write(scene, a.out);
}

int previewCharacter(int count, const char* const* args) {
    const char* verb = "preview-character";
    Arguments a;
    if (!parse(verb, count, args, true, a)) return 2;
    if (std::strlen(a.in) >= DATA_NAME_SIZE || located(a.in).empty())
        return fail(verb, std::string(a.in) + " is not found in " + searched() +
                              " (nor in their cfg/ folders)");
    {
        char name[DATA_NAME_SIZE];
        std::strcpy(name, a.in);
        QuietStdout quiet;
        settings.loadCharacterFile(name);
    }
    if (settings.characterCount != 1)
        return fail(verb, std::string(a.in) + " is no character the game takes (see above)");
    const CharacterInfo& c = settings.characters.front();
    const int skins = c.skinCount > 1 ? c.skinCount : 1;
    if (a.skin >= skins)
        return fail(verb, std::string(c.name) + " has " + std::to_string(c.skinCount) +
                              " skins: give --skin 0 to " + std::to_string(skins - 1));

    PreviewSession session(verb);
    if (!session.open()) return 2;
    std::unique_ptr<Creature> creature;
    {
        QuietStdout quiet;
        creature =
            std::make_unique<Creature>(nullptr, session.body(), creatureTypeFor(c.creatureType));
        creature->weaponIndex = a.weapon > 0 ? a.weapon - 1 : 0;
        creature->currentWeapon =
            a.weapon > 0 ? creature->weapons[size_t(creature->weaponIndex)].get() : nullptr;
        auto* look = new CharacterModelSet;
        look->load(&c, 1, 0, a.skin);
        creature->setCharacterModels(look);
        // Standing still at the start of its clock.
        look->selectAnimation(0, false, false, false, false, creature->health);
    }
    const CharacterModelSet& look = *creature->characterModels;
    const CharacterModelRequests requests = characterModelRequests(c, a.skin);
    const int hand = creature->currentWeapon ? creature->currentWeapon->armsIndex() : 0;
    const ModelRequest weaponRequest =
        weaponModelRequest(weaponTypes[size_t(creature->weaponIndex)]);

    // What the creature draws standing: the weapon, the arms holding it, the
    // stand model and the extra model. Each one named must be there.
    struct Part {
        const char* what;
        const std::optional<ModelRequest>& request;
        Model* model;
    };
    const std::optional<ModelRequest> weaponPart =
        creature->currentWeapon ? std::optional<ModelRequest>(weaponRequest) : std::nullopt;
    const Part parts[] = {
        {"weapon", weaponPart, creature->currentWeapon ? creature->currentWeapon->model : nullptr},
        {"arm model", requests[PART_ARMS + hand], look.armModels[hand]},
        {"stand model", requests[PART_STAND], look.standModel},
        {"extra model", requests[PART_EXTRA], look.extraModel}};
    std::optional<PreviewBox> drawn;
    int triangles = 0;
    for (const Part& p : parts) {
        if (!p.request) continue;
        if (!p.model)
            return fail(verb,
                        std::string("the ") + p.what + " " + modelProblem(p.request->fileName));
        triangles += visibleTriangles(*p.model);
        drawn = join(drawn, boundsOf(*p.model));
    }
    if (triangles == 0 || !drawn)
        return fail(verb, std::string(c.name) + " draws nothing standing");

    PreviewScene scene;
    scene.subject = *drawn;
    scene.body = collisionBox(*creature);
    Creature* shown = creature.get();
    scene.drawSubject = [shown] { shown->draw(); };
    const int status = session.write(scene, a.out);
    {
        QuietStdout quiet;
        creature.reset();
    }
    return status;
}
