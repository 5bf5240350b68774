// The files the game asks for by their own names: models, the font, the menu picture and the icon.
#include "ContentChecks.h"
#include "FightRequests.h"
#include "ImageSurface.h"

namespace {
constexpr const char* ICON_FILE = "icon.png";
}  // namespace

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
    // The window's icon is no texture: any size will do.
    const std::string icon = ctx.search.locate(ICON_FILE);
    if (icon.empty()) {
        ctx.findings.error(ICON_FILE, 0,
                           "not found: the game asks for this image by name and its window has "
                           "no icon");
    } else if (SDL_Surface* image = decodeImageFile(icon.c_str())) {
        SDL_FreeSurface(image);
    } else {
        ctx.findings.error(icon, 0,
                           std::string("the game cannot decode this image (") + SDL_GetError() +
                               "): its window has no icon");
    }
}
