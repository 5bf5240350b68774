// The files the game asks for by their own names: models, the font and the menu picture.
#include "ContentChecks.h"
#include "FightRequests.h"

void checkProgramFiles(CheckContext& ctx, bool anySky) {
    // Columns: file, what the game does without it.
    struct ProgramFile {
        std::string name;
        const char* without;
    };
    std::vector<ProgramFile> models;
    for (const ModelRequest& r : fixedRequests())
        models.push_back({r.fileName, "and goes on without it"});
    if (anySky) models.push_back({"sky.3ds", "and maps with a sky show none"});
    models.push_back({"logo.3ds", "and the menu shows no logo"});
    for (const ProgramFile& f : models) {
        const ModelInfo& m = ctx.models.model(f.name);
        if (m.path.empty())
            ctx.findings.error(
                f.name, 0,
                std::string("not found: the game asks for this model by name ") + f.without);
        else if (f.name != "sky.3ds")  // the sky's own texture is always replaced
            ctx.models.checkOwnTextures(m);
    }
    for (const char* name : {"font.bmp", "menu.jpg"}) {
        const TextureInfo& t = ctx.textures.texture(name, false);
        if (t.path.empty())
            ctx.findings.error(name, 0,
                               "not found: the game asks for this image by name and goes on "
                               "without it");
    }
}
