// Map description files: fields, the "no" keywords, the scene's models and textures, the fog
// colour.
#include <cstring>

#include "ContentChecks.h"
#include "DescriptionScan.h"

namespace {

// Field numbers in MAP_FIELDS.
enum MapField { NAME, LEVEL, GROUND, ROOF, SKY, SPARE, FOG, COLLISION };

// Each optional part and the word that leaves it out.
constexpr const char* KEYWORDS[] = {"noground", "noroof", "nosky"};

// False when name is the part's keyword; otherwise reports a keyword that is
// not spelled exactly, or another part's keyword, and returns true (the game
// takes the word for a file name).
bool checkKeyword(CheckContext& ctx, const std::string& name, const char* keyword,
                  const std::string& path, int line) {
    if (name == keyword) return false;
    if (lowered(name) == keyword) {
        ctx.findings.error(path, line,
                           format("\"%s\" is not the keyword %s (written exactly so): the game "
                                  "takes it for a file name",
                                  name.c_str(), keyword));
        return true;
    }
    for (const char* other : KEYWORDS)
        if (lowered(name) == other)
            ctx.findings.error(path, line,
                               format("\"%s\" leaves out another part; the keyword of this one "
                                      "is %s: the game takes it for a file name",
                                      name.c_str(), keyword));
    return true;
}

void checkSceneModel(CheckContext& ctx, const std::string& name, const std::string& path, int line,
                     const char* what) {
    if (ctx.models.reportUse(name, path, line, what))
        ctx.models.checkOwnTextures(ctx.models.model(name));
}

}  // namespace

bool checkMap(CheckContext& ctx, const std::string& path, MapInfo& out, DisplayName& shown) {
    MapInfo m;
    const std::vector<int> line = readFields(path, m, ctx.findings);
    if (line.empty()) return false;

    checkSceneModel(ctx, m.levelModel, path, line[LEVEL], "the level model");
    if (checkKeyword(ctx, m.groundModel, "noground", path, line[GROUND]))
        checkSceneModel(ctx, m.groundModel, path, line[GROUND], "the ground model");
    if (checkKeyword(ctx, m.roofModel, "noroof", path, line[ROOF]))
        checkSceneModel(ctx, m.roofModel, path, line[ROOF], "the roof model");
    // An empty field (a short file, reported above) keeps the dome's own texture.
    if (m.skyTexture[0] != '\0' && checkKeyword(ctx, m.skyTexture, "nosky", path, line[SKY]))
        ctx.textures.reportUse(m.skyTexture, path, line[SKY], "the sky texture");
    for (int i = 0; i < 4; ++i)
        if (!(m.fogColour[i] >= 0.0f && m.fogColour[i] <= 1.0f)) {
            ctx.findings.warning(path, line[FOG],
                                 format("the fog colour's %s is %g: OpenGL takes values from 0 "
                                        "to 1 and clamps the rest",
                                        i == 0   ? "red"
                                        : i == 1 ? "green"
                                        : i == 2 ? "blue"
                                                 : "alpha",
                                        double(m.fogColour[i])));
            break;
        }
    checkCollision(ctx, m, line[COLLISION]);
    checkSkyBand(ctx, m, line[SKY]);
    out = m;
    shown = {m.name, line[NAME]};
    return true;
}
