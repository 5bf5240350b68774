// Texture checks: the lowered name, the game's decoder, the size and the alpha companion.
#include "TextureCatalog.h"

#include <memory>

#include "GameAdapters.h"
#include "TextureStore.h"

namespace {

struct FreeSurface {
    void operator()(SDL_Surface* s) const {
        if (s) SDL_FreeSurface(s);
    }
};
using Surface = std::unique_ptr<SDL_Surface, FreeSurface>;

bool powerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

}  // namespace

const TextureInfo& TextureCatalog::texture(const std::string& requested, bool probeCompanions) {
    const std::string name = lowered(requested);
    const std::string key = (probeCompanions ? "auto:" : "plain:") + name;
    auto found = textures_.find(key);
    if (found != textures_.end()) return found->second;
    TextureInfo& t = textures_[key];
    t.name = name;
    load(t, probeCompanions);
    return t;
}

void TextureCatalog::load(TextureInfo& t, bool probeCompanions) {
    if (t.name.size() > TextureStore::MAX_NAME) {
        t.tooLong = true;
        return;
    }
    t.path = search_.locate(t.name);
    if (t.path.empty()) return;
    std::string problem;
    Surface image(decodeTextureImage(t.path.c_str(), problem));
    if (!image) {
        findings_.error(
            t.path, 0, "the game cannot decode this image (" + problem + "): " + NO_TEXTURE_EFFECT);
        return;
    }
    t.width = image->w;
    t.height = image->h;
    t.usable = true;
    if (!powerOfTwo(t.width) || !powerOfTwo(t.height))
        findings_.warning(t.path, 0,
                          format("the image is %d x %d pixels: make both sides powers of two, "
                                 "or graphics without OpenGL 2 draw it white",
                                 t.width, t.height));
    if (probeCompanions) loadCompanion(t);
}

void TextureCatalog::loadCompanion(TextureInfo& t) {
    for (const auto& [sign, kind] :
         {std::pair{'-', Companion::Blended}, {'+', Companion::Tested}}) {
        t.companionPath = search_.locate(companionName(t.name, sign));
        if (t.companionPath.empty()) continue;
        t.companion = kind;
        break;
    }
    if (t.companion == Companion::None) return;
    std::string problem;
    Surface colour(decodeCompanionImage(t.path.c_str(), problem));
    Surface alpha(colour ? decodeCompanionImage(t.companionPath.c_str(), problem) : nullptr);
    if (!colour || !alpha) {
        t.usable = false;
        findings_.error(colour ? t.companionPath : t.path, 0,
                        "the game cannot decode this image as part of an alpha texture (" +
                            problem + "), so it refuses " + t.name + ": " + NO_TEXTURE_EFFECT);
        return;
    }
    if (alpha->w != colour->w || alpha->h != colour->h) {
        t.usable = false;
        findings_.error(
            t.companionPath, 0,
            format("this alpha companion is %d x %d pixels but its colour image %s "
                   "is %d x %d: the game refuses the texture, so %s",
                   alpha->w, alpha->h, t.path.c_str(), colour->w, colour->h, NO_TEXTURE_EFFECT));
    }
}

void TextureCatalog::reportUse(const std::string& requested, const std::string& file, int line,
                               const std::string& what, bool probeCompanions, bool inModel) {
    const TextureInfo& t = texture(requested, probeCompanions);
    if (t.tooLong) {
        findings_.error(
            file, line,
            format("%s \"%.60s...\" is longer than %zu characters: the game refuses "
                   "it, so %s",
                   what.c_str(), requested.c_str(), TextureStore::MAX_NAME, NO_TEXTURE_EFFECT));
        return;
    }
    if (!t.path.empty()) return;
    std::string message = what + " \"" + requested + "\" is not found";
    if (requested != t.name) message += " (the game lowers texture names to " + t.name + ")";
    const NearName near = search_.nearName(t.name);
    if (near.kind == NearName::Kind::Case || near.kind == NearName::Kind::ShortName ||
        (near && lowered(near.leaf) != near.leaf))  // the file's own name must change
        message += "; " + near.text() + ": rename it " + t.name;
    else if (near && inModel)
        message += "; " + near.text() + ": tovask-model texture " + requested + " " +
                   near.replacing(requested) + " " + file + " " + file + " renames it in the model";
    else if (near)
        message += "; " + near.text() + ": write " + near.replacing(requested) + " here";
    findings_.error(file, line, message + "; " + NO_TEXTURE_EFFECT);
}
