// What the texture store would make of each texture name: found, decoded, its companion; checked
// once.
#pragma once

#include <map>
#include <string>

#include "DataSearch.h"
#include "Findings.h"

enum class Companion { None, Blended, Tested };  // "-" and "+" alpha companions

// What the game draws for a material whose texture it has none of (not found,
// refused, or the texture table full): binding no texture leaves the drawing
// state as the object drawn before it left it (TextureStore::bindTexture).
constexpr const char* NO_TEXTURE_EFFECT =
    "the game draws what uses it with the texture, or the plain colour, of whatever it drew "
    "just before";

struct TextureInfo {
    std::string name;      // lowered, as the store looks for it
    bool tooLong = false;  // over the store's 99 characters: refused
    std::string path;      // "" when not found
    bool usable = false;   // the store makes a texture of it
    int width = 0, height = 0;
    Companion companion = Companion::None;
    std::string companionPath;
};

class TextureCatalog {
public:
    TextureCatalog(Findings& findings, DataSearch& search) : findings_(findings), search_(search) {}

    // The texture as getTextureAuto (probeCompanions) or getTexture loads it.
    // Problems of the image files themselves are reported at those files, once.
    const TextureInfo& texture(const std::string& requested, bool probeCompanions = true);
    // Reports at file:line what keeps the game from using a texture named
    // there: a name too long or a file not found (with the file probably
    // meant). what says who names it ("the sky texture"). inModel: file is the
    // 3DS model whose material names it, which tovask-model can rename.
    void reportUse(const std::string& requested, const std::string& file, int line,
                   const std::string& what, bool probeCompanions = true, bool inModel = false);

private:
    void load(TextureInfo& t, bool probeCompanions);
    void loadCompanion(TextureInfo& t);

    Findings& findings_;
    DataSearch& search_;
    std::map<std::string, TextureInfo> textures_;  // by lowered name and probing
};
