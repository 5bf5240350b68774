// The verbs of tovask-model: argument checks, the fix, and the explicit line it prints.
#include "Verbs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "CharacterFigures.h"
#include "MeshTransforms.h"
#include "Text.h"
#include "TextureStore.h"
#include "UvProjection.h"

namespace {

bool complain(const char* verb, const std::string& problem) {
    std::fprintf(stderr, "tovask-model: %s: %s\n", verb, problem.c_str());
    return false;
}

// A number that a float holds as a finite value; positive when asked.
bool number(const char* verb, const char* name, const char* text, bool positive, float& out) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    const bool whole = end != text && *end == '\0';
    out = float(value);
    if (!whole || !std::isfinite(out) || (value != 0 && out == 0))
        return complain(
            verb, std::string(name) + " must be a number a float holds, not \"" + text + "\"");
    if (positive && !(out > 0))
        return complain(verb, std::string(name) + " must be above 0, not " + text);
    return true;
}

// Every vertex finite: scaling or turning would smear a not-a-number into
// other coordinates, and a box over one means nothing.
bool finiteModel(const char* verb, const MeshData& mesh, const char* problem) {
    const MeshObject* bad = objectWithNonFiniteVertex(mesh);
    if (!bad) return true;
    return complain(verb, "object \"" + bad->name + "\" " + problem);
}

bool finiteBefore(const char* verb, const MeshData& mesh) {
    return finiteModel(verb, mesh, "has a vertex that is not a finite number; nothing written");
}

bool finiteAfter(const char* verb, const MeshData& mesh) {
    return finiteModel(verb, mesh, "would get a vertex too far out for a float; nothing written");
}

// The model's box, for the verbs that measure it.
bool measure(const char* verb, MeshData& mesh, Vec3& lo, Vec3& hi) {
    if (!finiteBefore(verb, mesh)) return false;
    if (!meshBox(mesh, lo, hi)) return complain(verb, "the model has no vertex to measure");
    return true;
}

bool applyScale(const char* verb, MeshData& mesh, float factor) {
    scaleMesh(mesh, factor);
    return finiteAfter(verb, mesh);
}

bool applyMove(const char* verb, MeshData& mesh, Vec3 offset) {
    if (!finiteBefore(verb, mesh)) return false;
    moveMesh(mesh, offset);
    return finiteAfter(verb, mesh);
}

std::string moveLine(Vec3 offset) {
    return "move " + exactNumber(offset.x) + " " + exactNumber(offset.y) + " " +
           exactNumber(offset.z);
}

bool parseProjection(const char* text, UvProjection& out) {
    // Columns: name as given, projection.
    static constexpr struct {
        const char* name;
        UvProjection projection;
    } NAMES[] = {{"box", UvProjection::Box},
                 {"planar-x", UvProjection::PlanarX},
                 {"planar-y", UvProjection::PlanarY},
                 {"planar-z", UvProjection::PlanarZ}};
    for (const auto& n : NAMES)
        if (std::strcmp(text, n.name) == 0) {
            out = n.projection;
            return true;
        }
    return complain("uv", std::string("the projection must be box, planar-x, planar-y or "
                                      "planar-z, not \"") +
                              text + "\"");
}

}  // namespace

std::string exactNumber(float value) {
    if (value == 0) value = 0;  // no "-0"
    // At least the integer digits, so that 90 prints as 90 rather than 9e+01.
    const double magnitude = std::fabs(double(value));
    const int integerDigits =
        magnitude >= 1 && magnitude < 1e9 ? int(std::log10(magnitude)) + 1 : 1;
    char text[32] = "0";
    for (int digits = integerDigits; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, double(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    return text;
}

bool scaleVerb(const char* const* args, MeshData* mesh) {
    float factor;
    if (!number("scale", "FACTOR", args[0], true, factor)) return false;
    if (!mesh) return true;
    if (!finiteBefore("scale", *mesh)) return false;
    std::printf("scale %s\n", exactNumber(factor).c_str());
    return applyScale("scale", *mesh, factor);
}

bool heightVerb(const char* const* args, MeshData* mesh) {
    float units;
    if (!number("height", "UNITS", args[0], true, units)) return false;
    if (!mesh) return true;
    Vec3 lo, hi;
    if (!measure("height", *mesh, lo, hi)) return false;
    const double tall = double(hi.y) - lo.y;
    const float factor = float(units / tall);
    if (!(tall > 0) || !std::isfinite(factor) || !(factor > 0))
        return complain("height", "the model is " + exactNumber(float(tall)) +
                                      " tall: no scale makes it " + args[0] + " tall");
    std::printf("height %s: scale %s\n", exactNumber(units).c_str(), exactNumber(factor).c_str());
    return applyScale("height", *mesh, factor);
}

bool moveVerb(const char* const* args, MeshData* mesh) {
    Vec3 offset;
    if (!number("move", "DX", args[0], false, offset.x) ||
        !number("move", "DY", args[1], false, offset.y) ||
        !number("move", "DZ", args[2], false, offset.z))
        return false;
    if (!mesh) return true;
    std::printf("%s\n", moveLine(offset).c_str());
    return applyMove("move", *mesh, offset);
}

bool liftVerb(const char* const*, MeshData* mesh) {
    if (!mesh) return true;
    Vec3 lo, hi;
    if (!measure("lift", *mesh, lo, hi)) return false;
    const Vec3 offset{0, float(double(SOLE_Y) - lo.y), 0};
    std::printf("lift: %s\n", moveLine(offset).c_str());
    return applyMove("lift", *mesh, offset);
}

bool centreVerb(const char* const*, MeshData* mesh) {
    if (!mesh) return true;
    Vec3 lo, hi;
    if (!measure("centre", *mesh, lo, hi)) return false;
    const Vec3 offset{float(-(double(lo.x) + hi.x) / 2), 0, float(-(double(lo.z) + hi.z) / 2)};
    std::printf("centre: %s\n", moveLine(offset).c_str());
    return applyMove("centre", *mesh, offset);
}

bool turnVerb(const char* const* args, MeshData* mesh) {
    const char* axis = args[0];
    if (std::strcmp(axis, "x") != 0 && std::strcmp(axis, "y") != 0 && std::strcmp(axis, "z") != 0)
        return complain("turn", std::string("AXIS must be x, y or z, not \"") + axis + "\"");
    float degrees;
    if (!number("turn", "DEGREES", args[1], false, degrees)) return false;
    if (!mesh) return true;
    if (!finiteBefore("turn", *mesh)) return false;
    std::printf("turn %s %s\n", axis, exactNumber(degrees).c_str());
    turnMesh(*mesh, axis[0], degrees);
    return finiteAfter("turn", *mesh);
}

bool uvVerb(const char* const* args, MeshData* mesh) {
    UvProjection projection;
    if (!parseProjection(args[0], projection)) return false;
    if (!mesh) return true;
    Vec3 lo, hi;
    if (!measure("uv", *mesh, lo, hi)) return false;
    projectUvs(*mesh, projection);
    size_t vertices = 0;
    for (const MeshObject& o : mesh->objects) {
        vertices += o.vertices.size();
        // Only a textured material draws texture coordinates, and only such a
        // material takes a character's skin.
        if (!o.vertices.empty() && o.visible && !o.textured)
            std::fprintf(stderr,
                         "tovask-model: uv: warning: object \"%s\" has no textured material, so "
                         "the game draws it without these coordinates\n",
                         o.name.c_str());
    }
    const size_t objects = mesh->objects.size();
    std::printf("uv %s: %zu object%s, %zu vertices\n", args[0], objects, objects == 1 ? "" : "s",
                vertices);
    return true;
}

bool textureVerb(const char* const* args, MeshData* mesh) {
    const char *old = args[0], *renamed = args[1];
    if (*old == '\0' || *renamed == '\0')
        return complain("texture", "OLD and NEW must not be empty");
    if (std::strlen(renamed) > TextureStore::MAX_NAME)
        return complain("texture", "NEW is longer than " + std::to_string(TextureStore::MAX_NAME) +
                                       " characters: the game does not load it");
    if (!mesh) return true;
    const std::string wanted = lowered(old);
    int changed = 0;
    std::set<std::string> seen;
    std::string names;
    for (Material& m : mesh->materials) {
        if (!m.textureFile.empty() && seen.insert(m.textureFile).second)
            names += (names.empty() ? "\"" : ", \"") + m.textureFile + "\"";
        if (m.textureFile.empty() || lowered(m.textureFile) != wanted) continue;
        m.textureFile = renamed;
        ++changed;
    }
    if (changed == 0)
        return complain("texture", std::string("no material has the texture \"") + old +
                                       "\" (in any letter case); the textures are: " +
                                       (names.empty() ? "none" : names));
    std::printf("texture %s %s: %d material%s changed\n", old, renamed, changed,
                changed == 1 ? "" : "s");
    return true;
}
