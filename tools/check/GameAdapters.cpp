// Today's stand-ins for game pieces being finished elsewhere; each mirrors what the game does now.
#include "GameAdapters.h"

#include <algorithm>
#include <cmath>

#include "CharacterModelSet.h"
#include "CostliestFight.h"
#include "DataLocator.h"
#include "Findings.h"
#include "GameState.h"
#include "ImageSurface.h"
#include "NamePattern.h"
#include "ProjectileType.h"
#include "WeaponType.h"

namespace {

// The collision build's grid cap (CollisionMapBuild.cpp), cells per grid.
constexpr double MAX_GRID_CELLS = 1000000.0;
// Beyond this many triangle copies filed into cells the collision build takes
// the game more than a few seconds and a gigabyte (about 48 bytes a copy).
constexpr double MAX_FILINGS = 20000000.0;
// The single-precision value nearest to one third: the build's test radius
// is the cell diagonal times this.
constexpr double THIRD = 0.3333333432674408;
// The body model every creature is built on, and the crosshair (GameState, GameView).
constexpr const char* BODY_MODEL = "c3.3ds";
constexpr const char* CROSSHAIR_MODEL = "zamer.3ds";
constexpr const char* SKY_MODEL = "sky.3ds";

std::string lower(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// formatNumberedName without its messages: the pattern printed with n, or the
// pattern itself when it is not a number pattern; "" when it does not fit the
// game's buffer.
std::string numberedName(const char* pattern, int n) {
    char out[INFO_TEXT_SIZE];
    const int written = isNumberPattern(pattern) ? std::snprintf(out, sizeof out, pattern, n)
                                                 : std::snprintf(out, sizeof out, "%s", pattern);
    return written >= 0 && written < int(sizeof out) ? out : "";
}

}  // namespace

void useGameDataFolder(const char*) {
    // developmentDataDir keeps the folder compiled into the game.
}

void useDataFolder(const char* folder) {
    developmentDataDir = folder;
}

SDL_Surface* decodeTextureImage(const char* path, std::string& problem) {
    SDL_Surface* decoded = decodeImageFile(path);
    if (!decoded) {
        problem = SDL_GetError();
        return nullptr;
    }
    const char* why = "";
    SDL_Surface* rows = textureRows(decoded, why);
    if (!rows) problem = why;
    return rows;
}

SDL_Surface* decodeCompanionImage(const char* path, std::string& problem) {
    SDL_Surface* image = toPlain24(decodeImageFile(path));
    if (!image) problem = SDL_GetError();
    return image;
}

namespace {

// Triangle copies the build would file into cells of both grids, counted
// from each triangle's reach: an upper bound of its work and memory.
double filings(const Mesh& collision, Vec3 cellSize) {
    const double reach = double(length(cellSize)) * THIRD;
    const double size[3] = {cellSize.x, cellSize.y, cellSize.z};
    double total = 0;
    for (const MeshObject& o : collision.objects) {
        for (size_t f = 0; f + 2 < o.faces.size(); f += 3) {
            double cells = 2;  // both grids
            for (int axis = 0; axis < 3; ++axis) {
                double low = INFINITY, high = -INFINITY;
                for (int k = 0; k < 3; ++k) {
                    const Vec3 v = o.vertices[o.faces[f + k]];
                    const double c = axis == 0 ? v.x : axis == 1 ? v.y : v.z;
                    low = std::min(low, c);
                    high = std::max(high, c);
                }
                cells *= (high - low + 2 * reach) / size[axis] + 1;
            }
            total += std::isfinite(cells) ? cells : INFINITY;
        }
    }
    return total;
}

}  // namespace

std::string collisionBuildProblem(const Mesh& collision, Vec3 cellSize) {
    const Vec3 extent = subtract(collision.boundsMax, collision.boundsMin);
    const double x = double(extent.x) / cellSize.x, y = double(extent.y) / cellSize.y,
                 z = double(extent.z) / cellSize.z;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return "its box is not finite, so the game builds no collisions and creatures cannot move";
    const double cells = (std::trunc(x) + 1) * (std::trunc(y) + 1) * (std::trunc(z) + 1);
    if (cells > MAX_GRID_CELLS)
        return format(
            "its box (%g x %g x %g) needs %.3g cells of %g units, above the collision "
            "build's cap of %.0f: the game builds no collisions and creatures cannot move",
            double(extent.x), double(extent.y), double(extent.z), cells, double(cellSize.x),
            MAX_GRID_CELLS);
    const double copies = filings(collision, cellSize);
    if (copies > MAX_FILINGS)
        return format(
            "the collision build would file about %.3g triangle copies into its cells: "
            "the game takes minutes and gigabytes to load this map; use fewer, smaller "
            "triangles",
            copies);
    return "";
}

std::string animationBudgetProblem(const AnimationDescription&, long long) {
    return "";
}

std::string storeKey(const StoreRequest& r) {
    return lower(r.file) + '\n' + lower(r.replacement) + '\n' + lower(r.replaced) + '\n' +
           std::to_string(r.listMode) + (r.mirrorX ? "x" : "-");
}

std::string skinTexture(const CharacterInfo& c, int skin) {
    return numberedName(c.skinTexturePattern, skin + 1);
}

std::string armModel(const CharacterInfo& c, int pose) {
    return numberedName(c.armModelPattern, pose);
}

std::vector<StoreRequest> pairRequests(const CharacterInfo& c, int skin) {
    // As CharacterModelSet::load asks: empty names ask for nothing.
    const std::string s = skinTexture(c, skin);
    std::vector<StoreRequest> out;
    auto skinned = [&](const std::string& name, bool mirror) {
        if (!name.empty()) out.push_back({name, s, "", LISTS_WHOLE_MESH, mirror});
    };
    for (int i = 0; i < ARM_MODEL_COUNT; ++i) skinned(armModel(c, i), false);
    skinned(c.standModelName, false);
    skinned(c.strafeModelName, false);
    skinned(c.strafeModelName, true);
    skinned(c.walkModelName, false);
    skinned(c.diagonalModelName, false);
    skinned(c.diagonalModelName, true);
    skinned(c.deathModelName, false);
    if (c.extraModelName[0] != '\0')
        out.push_back({c.extraModelName, "", "", LISTS_PER_OBJECT, false});
    return out;
}

std::vector<StoreRequest> fixedRequests() {
    std::vector<StoreRequest> out{{BODY_MODEL, "", "", LISTS_WHOLE_MESH, false}};
    for (const ProjectileType& p : projectileTypes)
        out.push_back({p.modelFile, "", "", LISTS_WHOLE_MESH, false});
    for (const WeaponType& w : weaponTypes)
        out.push_back({w.modelFile, "", "", LISTS_WHOLE_MESH, false});
    out.push_back({CROSSHAIR_MODEL, "", "", LISTS_PER_OBJECT, false});
    return out;
}

std::vector<StoreRequest> mapRequests(const MapInfo& m) {
    std::vector<StoreRequest> out{{m.levelModel, "", "", LISTS_PER_OBJECT, false}};
    if (std::string(m.groundModel) != "noground")
        out.push_back({m.groundModel, "", "", LISTS_PER_OBJECT, false});
    if (std::string(m.roofModel) != "noroof")
        out.push_back({m.roofModel, "", "", LISTS_PER_OBJECT, false});
    if (std::string(m.skyTexture) != "nosky")
        out.push_back({SKY_MODEL, m.skyTexture, "", LISTS_WHOLE_MESH, false});
    return out;
}

WorstModelFight worstFightModels(const std::vector<CharacterInfo>& characters, const MapInfo& map,
                                 bool (*loads)(void* context, const std::string& file),
                                 void* context) {
    ItemNumbers numbers;
    auto itemsOf = [&](const std::vector<StoreRequest>& requests) {
        std::vector<int> items;
        for (const StoreRequest& r : requests)
            if (loads(context, r.file)) items.push_back(numbers.number(storeKey(r), 1));
        return items;
    };
    std::vector<int> base = itemsOf(fixedRequests());
    for (int item : itemsOf(mapRequests(map))) base.push_back(item);
    std::vector<FightCandidate> candidates;
    std::vector<CreatureLook> pairs;
    for (size_t c = 0; c < characters.size(); ++c) {
        // A computer creature takes skin 0 of a character without skins; the
        // player cannot choose such a character.
        const int skins = characters[c].skinCount;
        for (int s = 0; s < std::min(std::max(skins, 1), MAX_SKINS_COUNTED); ++s) {
            candidates.push_back({itemsOf(pairRequests(characters[c], s)), skins > 0});
            pairs.push_back({int(c), s});
        }
    }
    const CostliestFight fight =
        findCostliestFight(numbers.weights(), base, candidates, 1 + GameState::COMPUTER_CREATURES);
    WorstModelFight worst;
    worst.count = int(fight.total);
    for (size_t i = 0; i < fight.chosen.size(); ++i) {
        worst.pairs.push_back(pairs[fight.chosen[i]]);
        worst.pairCounts.push_back(int(fight.ownWeight[i]));
    }
    return worst;
}
