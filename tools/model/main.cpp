// tovask-model VERB [ARGS] ... IN.3ds OUT.3ds: fixes a downloaded 3DS model for the game without a
// 3D editor, reading and writing it as the game reads it; its preview verbs draw a model or a
// character with the game's own code into a picture.
#include <cstdio>
#include <cstring>
#include <vector>

#include "CharacterFigures.h"
#include "ChunkReader.h"
#include "MeshData.h"
#include "MeshToTds.h"
#include "PreviewCommands.h"
#include "ReplaceFile.h"
#include "TdsWriter.h"
#include "Verbs.h"

namespace {

struct Verb {
    const char* name;
    const char* arguments;  // as the usage shows them
    int argumentCount;
    VerbFunction run;
    const char* help;
};

// Columns: name, arguments, argument count, function, help line.
constexpr Verb VERBS[] = {
    {"scale", "FACTOR", 1, scaleVerb, "multiply every position by FACTOR (above 0)"},
    {"height", "UNITS", 1, heightVerb, "scale so that the model is UNITS tall"},
    {"move", "DX DY DZ", 3, moveVerb, "add DX, DY, DZ to every position"},
    {"lift", "", 0, liftVerb, "stand on the ground: lowest point to the soles' height"},
    {"centre", "", 0, centreVerb, "move across so that the box's middle is at x = 0, z = 0"},
    {"turn", "AXIS DEGREES", 2, turnVerb, "turn about the axis x, y or z through the origin"},
    {"uv", "PROJECTION", 1, uvVerb, "new texture coordinates: box, planar-x, -y or -z"},
    {"texture", "OLD NEW", 2, textureVerb, "rename the texture file OLD (any case) to NEW"},
};

void usage(FILE* out) {
    std::fputs("usage: tovask-model VERB [ARGS] [VERB [ARGS] ...] IN.3ds OUT.3ds\n", out);
    previewUsage(out);
    std::fputs(
        "Reads IN.3ds with the game's 3DS reader, applies the fixes in the order given\n"
        "and writes OUT.3ds (which may be IN.3ds). Scaling and turning are about the\n"
        "origin. Axes are the game's: y up, a creature faces -z.\n",
        out);
    for (const Verb& v : VERBS) {
        char left[32];
        std::snprintf(left, sizeof left, "%s %s", v.name, v.arguments);
        std::fprintf(out, "  %-20s%s\n", left, v.help);
    }
    std::fprintf(out,
                 "The default characters stand %g to %g tall, soles at y = %g. height, lift\n"
                 "and centre print the scale or move they made: give every other key file of\n"
                 "an animation that same fix.\n",
                 double(CHARACTER_HEIGHT_MIN), double(CHARACTER_HEIGHT_MAX), double(SOLE_Y));
    std::fputs(
        "preview draws IN.3ds, preview-character a character as a fight assembles it\n"
        "(standing, holding weapon N, 1 to 5, default 1, 0 for empty hands, in skin N\n"
        "as the menu counts, default 0), with the game's own drawing code, off-screen:\n"
        "front, right side, back and top views in OUT.png, the ground as a grid and\n"
        "the creature's collision box in yellow. Files are found as the game finds\n"
        "them: in the working directory, /.tovask/, then the data folder (--data DIR).\n"
        "Exit status 0 when OUT was written, 2 when not (an existing OUT is then left\n"
        "as it was).\n",
        out);
}

int usageError(const char* problem, const char* what) {
    std::fprintf(stderr, "tovask-model: %s%s\n", problem, what);
    usage(stderr);
    return 2;
}

bool isOption(const char* arg) {
    return arg[0] == '-' && arg[1] != '\0';
}

const Verb* findVerb(const char* name) {
    for (const Verb& v : VERBS)
        if (std::strcmp(v.name, name) == 0) return &v;
    return nullptr;
}

struct Step {
    const Verb* verb;
    const char* const* args;
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        }
    if (argc >= 2 && std::strcmp(argv[1], "preview") == 0) return previewModel(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "preview-character") == 0)
        return previewCharacter(argc - 2, argv + 2);
    // The last two arguments are the files; everything before them is verbs
    // with their arguments, checked before anything is read.
    const int files = argc - 2;
    std::vector<Step> steps;
    int i = 1;
    while (i < files) {
        if (isOption(argv[i])) return usageError("unknown option ", argv[i]);
        const Verb* verb = findVerb(argv[i]);
        if (!verb) return usageError("unknown verb ", argv[i]);
        if (i + verb->argumentCount >= files) {
            std::fprintf(stderr, "tovask-model: %s takes %d argument%s: %s %s\n", verb->name,
                         verb->argumentCount, verb->argumentCount == 1 ? "" : "s", verb->name,
                         verb->arguments);
            return 2;
        }
        if (!verb->run(argv + i + 1, nullptr)) return 2;
        steps.push_back({verb, argv + i + 1});
        i += 1 + verb->argumentCount;
    }
    for (int k = files > 1 ? files : 1; k < argc; ++k)
        if (isOption(argv[k])) return usageError("unknown option ", argv[k]);
    if (argc < 3) return usageError("give the fixes, then IN.3ds and OUT.3ds", "");
    if (steps.empty()) return usageError("give at least one fix before ", argv[files]);

    const char* in = argv[files];
    const char* out = argv[files + 1];
    MeshData mesh;
    ImportReport report;
    if (!ChunkReader::import(mesh, in, &report)) {
        std::fprintf(stderr, "tovask-model: %s is not a 3DS file the game reads; nothing written\n",
                     in);
        return 2;
    }
    for (const std::string& w : report.warnings)
        std::fprintf(stderr, "tovask-model: %s: %s\n", in, w.c_str());
    for (const Step& s : steps)
        if (!s.verb->run(s.args, &mesh)) return 2;
    TdsScene scene;
    if (!meshToTds(mesh, report.version, scene) || !replaceFile(out, writeTds(scene))) return 2;
    return 0;
}
