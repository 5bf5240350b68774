// The band under the sky's rim: where the camera sees past the map's models, the clear colour
// shows.
#include <algorithm>
#include <cmath>
#include <memory>

#include "Angles.h"
#include "CameraPose.h"
#include "ContentChecks.h"
#include "GameAdapters.h"
#include "GameState.h"

namespace {

constexpr const char* SKY_MODEL = "sky.3ds";
// How far the sky's bottom rows may stray from the fog colour, per channel
// of 0 to 255, before the edge between them shows (the default day sky is 25 off).
constexpr double BAND_TOLERANCE = 40.0;
// The sky's bottom rows: this share of the image's height, at least one row.
constexpr int BOTTOM_SHARE = 32;

struct Box {
    Vec3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
    bool set = false;
    void add(const MeshInfo& m) {
        low = {std::min(low.x, m.boundsMin.x), std::min(low.y, m.boundsMin.y),
               std::min(low.z, m.boundsMin.z)};
        high = {std::max(high.x, m.boundsMax.x), std::max(high.y, m.boundsMax.y),
                std::max(high.z, m.boundsMax.z)};
        set = true;
    }
};

// The first mesh of a loaded model with triangles, or null.
const MeshInfo* shapeOf(CheckContext& ctx, const std::string& name) {
    const ModelInfo& m = ctx.models.model(name);
    if (!m.loads || m.keys.empty() || !m.keys[0] || m.keys[0]->triangles == 0) return nullptr;
    return m.keys[0];
}

// How far beyond a creature's position the map's models must reach, along
// the camera's view, to hide the sky's rim in every camera mode that sees it:
// the rim's line of sight from the eye comes down to the ground there.
// Negative infinity when no mode sees the rim.
double reachNeeded(double rimY, double rimRadius) {
    double needed = -INFINITY;
    for (int mode = 0; mode < CAMERA_MODE_COUNT; ++mode) {
        CameraPose pose;
        if (!cameraPose(mode, {0, 0, 0}, 0.0f, 1.0f, pose)) continue;
        const double dx = pose.centre.x - pose.eye.x, dz = pose.centre.z - pose.eye.z;
        const double ahead = std::hypot(dx, dz);
        if (ahead < 1e-3) continue;  // looking straight down
        const double height = pose.eye.y;
        const double depression = radiansToDegrees(std::atan2(height - pose.centre.y, ahead));
        const double rimDepression = radiansToDegrees(std::atan2(height - rimY, rimRadius));
        const double half = GameState::START_VIEW_ANGLE / 2;
        if (rimDepression < depression - half || rimDepression > depression + half) continue;
        // The eye's place along the view, from the creature (negative: behind it).
        const double eyeAlong = (pose.eye.x * dx + pose.eye.z * dz) / ahead;
        const double ground = height > 0 ? height * rimRadius / (height - rimY) : 0.0;
        needed = std::max(needed, eyeAlong + (rimY < 0 ? ground : INFINITY));
    }
    return needed;
}

}  // namespace

void checkSkyBand(CheckContext& ctx, const MapInfo& map, int line) {
    if (std::string(map.skyTexture) == "nosky") return;
    const TextureInfo& sky = ctx.textures.texture(map.skyTexture);
    const MeshInfo* dome = shapeOf(ctx, SKY_MODEL);
    const MeshInfo* field = shapeOf(ctx, map.collisionModel);
    if (!sky.usable || !dome || !field) return;
    Box scene;
    for (const char* name : {map.levelModel, map.groundModel, map.roofModel})
        if (const MeshInfo* m = shapeOf(ctx, name)) scene.add(*m);
    const double rimRadius =
        std::max({-dome->boundsMin.x, dome->boundsMax.x, -dome->boundsMin.z, dome->boundsMax.z});
    const double reach = reachNeeded(dome->boundsMin.y, rimRadius);
    if (reach == -INFINITY) return;
    const bool hidden = scene.set && scene.low.x <= field->boundsMin.x - reach &&
                        scene.high.x >= field->boundsMax.x + reach &&
                        scene.low.z <= field->boundsMin.z - reach &&
                        scene.high.z >= field->boundsMax.z + reach;
    if (hidden) return;

    std::string problem;
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> image(
        decodeTextureImage(sky.path.c_str(), problem), SDL_FreeSurface);
    if (!image) return;
    // Rows come bottom first: the sky's bottom rows lie at its rim.
    const int rows = std::max(1, image->h / BOTTOM_SHARE);
    double mean[3] = {0, 0, 0};
    for (int y = 0; y < rows; ++y) {
        const uint8_t* p = static_cast<const uint8_t*>(image->pixels) + size_t(image->pitch) * y;
        for (int x = 0; x < image->w; ++x)
            for (int c = 0; c < 3; ++c) mean[c] += p[3 * x + c];
    }
    double fog[3], worst = 0;
    for (int c = 0; c < 3; ++c) {
        mean[c] /= double(rows) * image->w;
        fog[c] = 255.0 * std::clamp(double(map.fogColour[c]), 0.0, 1.0);
        worst = std::max(worst, std::fabs(mean[c] - fog[c]));
    }
    if (worst <= BAND_TOLERANCE) return;
    const std::string cover =
        std::isfinite(reach)
            ? format("this map's models do not reach %.0f units beyond where creatures go", reach)
            : std::string("the sky's rim is above the ground");
    ctx.findings.warning(
        map.filePath, line,
        format("the sky's bottom rows average (%.0f, %.0f, %.0f) but the fog colour is (%.0f, "
               "%.0f, %.0f), and %s: the chase camera sees the clear colour (the fog colour) as a "
               "band under the sky's rim; paint the bottom rows of %s in the fog colour",
               mean[0], mean[1], mean[2], fog[0], fog[1], fog[2], cover.c_str(), sky.path.c_str()));
}
