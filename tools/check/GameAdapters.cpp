// The checker's questions handed to the game's own code, answers in the checker's terms.
#include "GameAdapters.h"

#include <unistd.h>

#include <climits>

#include "CollisionBudget.h"
#include "DataFolder.h"
#include "DataLocator.h"
#include "ImageSurface.h"
#include "Text.h"

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

std::string collisionBuildProblem(const MeshData& collision, Vec3 cellSize) {
    const CollisionFigures f = collisionFigures(collision, cellSize);
    if (f.filings >= 0) return "";  // counted: the build is within both budgets
    const Vec3 extent = subtract(collision.boundsMax, collision.boundsMin);
    if (f.cellsPerGrid == 0)
        return format(
            "its box (%g x %g x %g) gives no grid of %g-unit cells within the game's "
            "%lld (a stray vertex?): the game builds no collisions and creatures "
            "cannot move",
            double(extent.x), double(extent.y), double(extent.z), double(cellSize.x),
            static_cast<long long>(MAX_COLLISION_CELLS));
    return format(
        "building its collision map needs %lld triangle-in-cell tests, more than the %lld the "
        "game allows (split huge and long slanted triangles): the game builds no collisions and "
        "creatures cannot move",
        static_cast<long long>(f.cellTests), static_cast<long long>(MAX_COLLISION_CELL_TESTS));
}
