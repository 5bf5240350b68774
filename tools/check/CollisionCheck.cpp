// The collision model of a map: within the build's limits, clear where creatures appear, around the
// level.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

#include "Angles.h"
#include "ChunkReader.h"
#include "CollisionMap.h"
#include "ContentChecks.h"
#include "Creature.h"
#include "FightModels.h"
#include "GameAdapters.h"
#include "GameState.h"
#include "Geometry.h"

namespace {

// The modding guide's clearance around where creatures appear, world units,
// for triangles that reach into a body's height (0 to 8 above the ground).
constexpr float CLEARANCE = 12.0f;
constexpr float BODY_HEIGHT = 8.0f;

struct Place {
    float x, z;
};

// Where creatures appear: the player's start, then every whole-unit place
// the computer-driven creatures are dropped at.
std::vector<Place> appearances() {
    std::vector<Place> out{{Creature::START_X, Creature::START_Z}};
    for (int i = 0; i < Creature::SPAWN_X_COUNT; ++i)
        for (int j = 0; j < Creature::SPAWN_Z_COUNT; ++j)
            out.push_back({float(Creature::SPAWN_X_MAX - i), float(Creature::SPAWN_Z_MAX - j)});
    return out;
}

using Standing = CollisionMap::Standing;

// True when every edge of the object is shared by an even number of its
// faces, corners compared by position (files repeat vertices along texture
// seams): a closed surface, which has an inside.
bool closed(const MeshObject& o) {
    std::map<std::array<float, 6>, int> edges;
    for (size_t f = 0; f + 2 < o.faces.size(); f += 3)
        for (int k = 0; k < 3; ++k) {
            Vec3 a = o.vertices[o.faces[f + k]], b = o.vertices[o.faces[f + (k + 1) % 3]];
            if (std::tie(b.x, b.y, b.z) < std::tie(a.x, a.y, a.z)) std::swap(a, b);
            ++edges[{a.x, a.y, a.z, b.x, b.y, b.z}];
        }
    for (const auto& edge : edges)
        if (edge.second % 2 != 0) return false;
    return !edges.empty();
}

// The generalised winding number of the object's triangles around p: about 1
// inside a closed object whose faces point outwards, about 0 outside it.
double windingNumber(const MeshObject& o, Vec3 p) {
    double sum = 0;
    for (size_t f = 0; f + 2 < o.faces.size(); f += 3) {
        double v[3][3];
        double len[3];
        for (int k = 0; k < 3; ++k) {
            const Vec3 d = subtract(o.vertices[o.faces[f + k]], p);
            v[k][0] = d.x, v[k][1] = d.y, v[k][2] = d.z;
            len[k] = std::sqrt(v[k][0] * v[k][0] + v[k][1] * v[k][1] + v[k][2] * v[k][2]);
        }
        auto dot = [](const double* a, const double* b) {
            return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
        };
        const double cross[3] = {v[1][1] * v[2][2] - v[1][2] * v[2][1],
                                 v[1][2] * v[2][0] - v[1][0] * v[2][2],
                                 v[1][0] * v[2][1] - v[1][1] * v[2][0]};
        const double numerator = dot(v[0], cross);
        const double denominator = len[0] * len[1] * len[2] + dot(v[0], v[1]) * len[2] +
                                   dot(v[0], v[2]) * len[1] + dot(v[1], v[2]) * len[0];
        sum += 2 * std::atan2(numerator, denominator);
    }
    return sum / (4 * PI);
}

// True when p lies inside one of the mesh's closed objects.
bool enclosed(const MeshData& mesh, const std::vector<bool>& closedObjects, Vec3 p) {
    for (size_t i = 0; i < mesh.objects.size(); ++i)
        if (closedObjects[i] && windingNumber(mesh.objects[i], p) > 0.5) return true;
    return false;
}

// True when a triangle reaching into a body's height comes within the
// guide's clearance of the start or the area creatures are dropped into.
bool crowded(const MeshData& mesh) {
    const float x0 = float(Creature::SPAWN_X_MAX - Creature::SPAWN_X_COUNT + 1),
                x1 = float(Creature::SPAWN_X_MAX),
                z0 = std::min(float(Creature::SPAWN_Z_MAX - Creature::SPAWN_Z_COUNT + 1),
                              Creature::START_Z),
                z1 = float(Creature::SPAWN_Z_MAX);
    for (const MeshObject& o : mesh.objects)
        for (size_t f = 0; f + 2 < o.faces.size(); f += 3) {
            const Vec3 t[3] = {o.vertices[o.faces[f]], o.vertices[o.faces[f + 1]],
                               o.vertices[o.faces[f + 2]]};
            const float low = std::min({t[0].y, t[1].y, t[2].y}),
                        high = std::max({t[0].y, t[1].y, t[2].y});
            if (high <= 0.0f || low >= BODY_HEIGHT) continue;
            if (std::max({t[0].x, t[1].x, t[2].x}) < x0 - CLEARANCE ||
                std::min({t[0].x, t[1].x, t[2].x}) > x1 + CLEARANCE ||
                std::max({t[0].z, t[1].z, t[2].z}) < z0 - CLEARANCE ||
                std::min({t[0].z, t[1].z, t[2].z}) > z1 + CLEARANCE)
                continue;
            for (const Place& p : appearances())
                for (float y = 0; y <= BODY_HEIGHT; y += 2)
                    if (spherePolygonCollision(t, {p.x, y, p.z}, 3, CLEARANCE)) return true;
        }
    return false;
}

std::string placeText(const Place& p) {
    return format("(%g, 0, %g)", double(p.x), double(p.z));
}

constexpr const char* AXES[] = {"x", "y", "z"};

float coordinate(Vec3 v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// What keeps a creature from playing at a place, as the game's collision map
// makes it: outside the model's box (on any axis: no wall of it can stop the
// creature there), beyond the map's grids (filed in a cell elsewhere), with no
// cell at all, or touching a triangle. Free when nothing does.
struct PlaceProblem {
    int boxAxis = -1, gridAxis = -1;
    Standing standing = Standing::Free;
    bool any() const { return boxAxis >= 0 || gridAxis >= 0 || standing != Standing::Free; }
};

PlaceProblem judge(const CollisionMap& map, const MeshData& mesh, Vec3 centre) {
    PlaceProblem p;
    for (int axis = 0; axis < 3 && p.boxAxis < 0; ++axis)
        if (!(coordinate(centre, axis) >= coordinate(mesh.boundsMin, axis) &&
              coordinate(centre, axis) <= coordinate(mesh.boundsMax, axis)))
            p.boxAxis = axis;
    p.gridAxis = map.axisBeyondGrids(centre);
    p.standing = map.standingAt(centre);
    return p;
}

// "lies outside this model's box on x (x -20 to 10): ..." for the player (who) or the creatures.
std::string problemText(const PlaceProblem& p, const MeshData& mesh, bool player) {
    std::string where;
    const int axis = p.boxAxis >= 0 ? p.boxAxis : p.gridAxis;
    if (axis >= 0)
        where = format(" lies %s this model's box on %s (%s %g to %g)",
                       p.boxAxis >= 0 ? "outside" : "at the far edge of", AXES[axis], AXES[axis],
                       double(coordinate(mesh.boundsMin, axis)),
                       double(coordinate(mesh.boundsMax, axis)));
    const char* who = player ? "the player" : "creatures dropped there";
    if (p.standing == Standing::Outside)
        return where + format(
                           ", where the collision map has no cell: every move is undone, so %s "
                           "%s stuck",
                           who, player ? "is" : "are");
    if (p.gridAxis >= 0)
        return where + format(
                           ", beyond the collision map's grid, which files it in a cell at the "
                           "box's other side whose triangles lie far off: nothing stops %s, "
                           "who can walk off outside the level",
                           who);
    if (p.boxAxis >= 0)
        return where + format(": no wall of it can stop %s, who %s outside the level", who,
                              player ? "stands" : "stand");
    return format(
        " touches a triangle (one comes within 1 unit of a creature's centre): %s %s "
        "stuck",
        who, player ? "is" : "are");
}

// The start point and the places creatures appear at: inside the model's box
// and the map's grids, touching nothing, not shut in a closed block. False
// when one is not.
bool checkAppearances(CheckContext& ctx, const std::string& path, const MeshData& mesh,
                      float centre) {
    CollisionMap map({GameState::CELL_SIZE, GameState::CELL_SIZE, GameState::CELL_SIZE}, mesh,
                     path.c_str());
    const std::vector<Place> places = appearances();
    int bad = 0;
    const Place* first = nullptr;
    PlaceProblem firstProblem;
    for (const Place& p : places) {
        const PlaceProblem problem = judge(map, mesh, {p.x, centre, p.z});
        if (!problem.any()) continue;
        if (bad++ == 0) first = &p, firstProblem = problem;
    }
    // The start, and the corners and middle of the area: a closed block over
    // them shuts creatures in.
    const size_t probes[] = {0,
                             1,
                             size_t(Creature::SPAWN_Z_COUNT),
                             places.size() - Creature::SPAWN_Z_COUNT,
                             places.size() - 1,
                             places.size() / 2};
    std::vector<bool> closedObjects;
    for (const MeshObject& o : mesh.objects) closedObjects.push_back(closed(o));
    const Place* shut = nullptr;
    for (size_t i : probes)
        if (enclosed(mesh, closedObjects, {places[i].x, centre, places[i].z})) {
            shut = &places[i];
            break;
        }
    auto subject = [&](const Place* p) {
        return p == &places[0] ? "the player's start " + placeText(*p)
                               : "the place " + placeText(*p) + " where computer creatures appear";
    };
    if (first)
        ctx.findings.error(
            path, 0,
            subject(first) + problemText(firstProblem, mesh, first == &places[0]) +
                (first == &places[0] ? std::string()
                                     : format(" (%d of the %zu places)", bad, places.size() - 1)));
    if (shut)
        ctx.findings.error(path, 0,
                           subject(shut) +
                               " lies inside a closed block of this model: creatures "
                               "appearing there are shut in");
    return !first && !shut;
}

}  // namespace

void checkCollision(CheckContext& ctx, const MapInfo& m, int line) {
    if (!ctx.models.reportUse(m.collisionModel, m.filePath, line, "the collision model")) return;
    const ModelInfo& info = ctx.models.model(m.collisionModel);
    if (info.keys.empty() || !info.keys[0]) return;  // key 1 missing: reported at the animation
    const std::string& path = info.keys[0]->path;
    MeshData mesh;
    ImportReport quiet;
    if (info.keys[0]->is3ds) ChunkReader::import(mesh, path.c_str(), &quiet);
    mesh.computeBounds();
    if (mesh.triangleCount == 0) {
        const bool points = std::any_of(mesh.objects.begin(), mesh.objects.end(),
                                        [](const MeshObject& o) { return !o.vertices.empty(); });
        ctx.findings.error(path, 0,
                           points ? "the collision model holds no triangles: nothing but the edge "
                                    "of its box stops creatures and shots"
                                  : "the collision model holds nothing, so its box is a point: "
                                    "every creature stands outside it and cannot move");
        return;
    }
    const Vec3 cell{GameState::CELL_SIZE, GameState::CELL_SIZE, GameState::CELL_SIZE};
    const std::string build = collisionBuildProblem(mesh, cell);
    if (!build.empty()) {
        ctx.findings.error(path, 0, build);
        return;
    }
    const MeshInfo* body = nullptr;
    const ModelInfo& c3 = ctx.models.model(creatureBodyModelRequest().fileName);
    if (c3.loads && !c3.keys.empty()) body = c3.keys[0];
    const float centre = body ? (body->boundsMin.y + body->boundsMax.y) * 0.5f : 0.0f;
    if (checkAppearances(ctx, path, mesh, centre) && crowded(mesh))
        ctx.findings.warning(path, 0,
                             "a triangle reaching into a creature's height (0 to 8) comes within "
                             "12 units of the start or of where computer creatures appear: "
                             "creatures start pressed against it (the guide keeps 12 clear)");
    const ModelInfo& level = ctx.models.model(m.levelModel);
    const MeshInfo* shown = level.loads && !level.keys.empty() ? level.keys[0] : nullptr;
    if (shown && shown->triangles > 0 &&
        (mesh.boundsMin.x > shown->boundsMin.x || mesh.boundsMax.x < shown->boundsMax.x ||
         mesh.boundsMin.z > shown->boundsMin.z || mesh.boundsMax.z < shown->boundsMax.z))
        ctx.findings.warning(
            path, 0,
            format("its box (x %g to %g, z %g to %g) does not enclose the level's (x %g to %g, z "
                   "%g to %g): creatures and shots stop at an invisible edge inside the level",
                   double(mesh.boundsMin.x), double(mesh.boundsMax.x), double(mesh.boundsMin.z),
                   double(mesh.boundsMax.z), double(shown->boundsMin.x), double(shown->boundsMax.x),
                   double(shown->boundsMin.z), double(shown->boundsMax.z)));
}
