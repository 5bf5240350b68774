// tovask-contentgen OUTDIR [FONT [ICONDIR]]: writes the game's binary content (models, textures,
// font, menu picture, window icon) and, given ICONDIR, the desktop icons.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Characters.h"
#include "FontImage.h"
#include "Icon.h"
#include "Maps.h"
#include "MenuPicture.h"
#include "Props.h"
#include "Textures.h"
#include "Weapons.h"

namespace {

constexpr const char* DEFAULT_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

bool makeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
    std::fprintf(stderr, "Unable to create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
}

void usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: tovask-contentgen OUTDIR [FONT.ttf [ICONDIR]]\n"
                 "Writes the game's binary content (models, textures, font image, menu\n"
                 "picture) into OUTDIR, the font image drawn from FONT.ttf (default %s),\n"
                 "and the desktop icons into ICONDIR when it is given.\n",
                 DEFAULT_FONT);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        usage(stdout);
        return 0;
    }
    // Every argument is a path: one that looks like an option is a mistake,
    // and nothing is written for it.
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "tovask-contentgen: unknown option %s\n", argv[i]);
            usage(stderr);
            return 2;
        }
    if (argc < 2 || argc > 4) {
        usage(stderr);
        return 2;
    }
    const std::string out = argv[1];
    const std::string font = argc >= 3 ? argv[2] : DEFAULT_FONT;
    const std::string textures = out + "/textures", models = out + "/models";
    if (!makeDir(out) || !makeDir(textures) || !makeDir(models)) return 1;

    bool ok = writeWorldTextures(textures);
    ok = writeFontImage(font, textures + "/font.bmp") && ok;
    ok = writeMenuPicture(textures + "/menu.jpg") && ok;
    ok = writeWindowIcon(textures + "/icon.png") && ok;
    ok = writeProps(models) && ok;
    ok = writeWeapons(models) && ok;
    ok = writeCharacters(textures, models) && ok;
    ok = writeMaps(models) && ok;
    if (argc == 4) ok = makeDir(argv[3]) && writeIcons(argv[3]) && ok;
    if (!ok) {
        std::fprintf(stderr, "Some content could not be written into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
