// Today's stand-ins for game pieces being finished elsewhere; each mirrors what the game does now.
#include "GameAdapters.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "CharacterModelSet.h"
#include "DataFolder.h"
#include "DataLocator.h"
#include "Findings.h"
#include "GameState.h"
#include "GameView.h"
#include "ImageSurface.h"
#include "MapScene.h"
#include "NamePattern.h"
#include "ProjectileType.h"
#include "Weapon.h"
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

void useGameDataFolder() {
    // The game lies beside the checker once installed, two folders up in a
    // build tree (build/tovask, build/tools/check/tovask-check); the data
    // folder is found beside it as the game finds it at start-up. Otherwise
    // the checker's own start-up choice stands.
    static char found[DATA_DIR_MAX_LENGTH + 1];
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return;
    std::string dir(self, size_t(n));
    for (int up = 0; up <= 2; up += 2) {
        for (int i = 0; i < up; ++i) dir.erase(dir.find_last_of('/'));
        const size_t slash = dir.find_last_of('/');
        if (slash == 0 || slash == std::string::npos) return;
        const std::string game = dir.substr(0, slash) + "/tovask";
        if (findDataDirBeside(game.c_str(), found, sizeof found)) {
            developmentDataDir = found;
            return;
        }
    }
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

std::string storeKey(const ModelRequest& r) {
    ModelKey k;
    if (!makeModelKey(r, k)) return "";
    return k.fileName + '\n' + k.replacementTexture + '\n' + k.replacedTexture + '\n' +
           std::to_string(k.listMode) + char('0' + k.mirrorX) + char('0' + k.mirrorY) +
           char('0' + k.mirrorZ);
}

std::string skinTexture(const CharacterInfo& c, int skin) {
    return numberedName(c.skinTexturePattern, skin + 1);
}

std::string armModel(const CharacterInfo& c, int pose) {
    return numberedName(c.armModelPattern, pose);
}

std::vector<ModelRequest> pairRequests(const CharacterInfo& c, int skin) {
    std::vector<ModelRequest> out;
    for (const std::optional<ModelRequest>& r : characterModelRequests(c, skin))
        if (r) out.push_back(*r);
    return out;
}

std::vector<ModelRequest> fixedRequests() {
    std::vector<ModelRequest> out{creatureBodyModelRequest()};
    for (int i = 0; i < PROJECTILE_TYPE_COUNT; ++i) out.push_back(projectileModelRequest(i));
    for (const WeaponType& w : weaponTypes) out.push_back(weaponModelRequest(w));
    out.push_back(crosshairModelRequest());
    return out;
}

std::vector<ModelRequest> mapRequests(const MapInfo& m) {
    const MapModelRequests r = mapModelRequests(m);
    std::vector<ModelRequest> out{r.level};
    for (const std::optional<ModelRequest>& part : {r.ground, r.roof, r.sky})
        if (part) out.push_back(*part);
    return out;
}
