// tovask-heavycontent: writes the heavy content the load limits are measured on: a fight of
// seven looks of a 5,000-triangle character, and pictures of any size for skins and skies.
//
//   tovask-heavycontent fight DIR [RINGS]  characters into DIR (use DIR as the working folder);
//                                          RINGS (default 50) sets the body's 100 x RINGS triangles
//   tovask-heavycontent picture SIDE FILE  a SIDE x SIDE picture, BMP or JPEG by FILE's extension
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "AnimationFile.h"
#include "DataLocator.h"
#include "Image.h"
#include "JpegFile.h"
#include "TdsWriter.h"

namespace {

constexpr float PI = 3.14159265f;
constexpr int CHARACTERS = 7;  // a fight shows seven looks at most
// Skins per character: with 112 looks to draw from, the six computer creatures
// and the player wear seven different ones in five fights out of six.
constexpr int SKINS = 16;
constexpr int SKIN_SIDE = 256;  // pixels, as the default characters' skins
constexpr int JPEG_QUALITY = 90;

// A tube of rings x segments quads (2 triangles each) with one texture seam:
// (segments + 1) x (rings + 1) vertices, u round the tube, v along it. radius
// and centre give the tube's shape at t (0 at the first ring, 1 at the last),
// in game axes.
template <typename Radius, typename Centre>
TdsObject tube(const char* name, int segments, int rings, Radius radius, Centre centre) {
    TdsObject o;
    o.name = name;
    for (int r = 0; r <= rings; ++r) {
        const float t = float(r) / float(rings);
        float cx, cy, cz, ax;  // centre and the axis the tube runs along (0: y, 1: x)
        centre(t, cx, cy, cz, ax);
        for (int s = 0; s <= segments; ++s) {
            const float a = 2.0f * PI * float(s) / float(segments);
            const float rr = radius(t, a);
            const float u = std::cos(a) * rr, w = std::sin(a) * rr;
            o.vertices.push_back(ax > 0 ? gameToFile(cx, cy + u, cz + w)
                                        : gameToFile(cx + u, cy, cz + w));
            o.uvs.push_back(float(s) / float(segments));
            o.uvs.push_back(t);
        }
    }
    TdsFaceGroup group{"skin", {}};
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const int a = r * (segments + 1) + s, b = a + 1, c = a + segments + 1, d = c + 1;
            for (int i : {a, b, d, a, d, c}) o.faces.push_back(uint16_t(i));
        }
    for (size_t f = 0; f < o.faces.size() / 3; ++f) group.faces.push_back(uint16_t(f));
    o.groups.push_back(group);
    return o;
}

TdsScene skinned(TdsObject object) {
    TdsScene scene;
    scene.materials.push_back({"skin", "heavy_skin.bmp", {200, 200, 200}});
    scene.objects.push_back(std::move(object));
    return scene;
}

constexpr int BODY_RINGS = 50;  // 5,000 triangles, 2,601 vertices

// Key `key` of `keys` of an animation: a body 7.8 tall (soles at y = -0.5),
// 50 segments round and `rings` rings high (100 x rings triangles), swaying
// from key to key. The death keys fall backwards.
TdsScene bodyKey(int key, int keys, bool death, int rings) {
    const float phase = 2.0f * PI * float(key - 1) / float(keys);
    const float fall = death ? 0.5f * PI * float(key - 1) / float(keys - 1) : 0.0f;
    return skinned(tube(
        "body", 50, rings,
        [&](float t, float a) {
            return 0.6f + 1.2f * std::sin(PI * t) + 0.1f * std::cos(3.0f * a + phase);
        },
        [&](float t, float& x, float& y, float& z, float& axis) {
            const float h = 7.8f * t;
            x = 0.3f * std::sin(phase) * t;
            y = -0.5f + h * std::cos(fall);
            z = h * std::sin(fall);
            axis = 0;
        }));
}

// Arm pose `pose`: both arms as one tube across the chest, forward for a gun
// (20 x 25: 1,000 triangles).
TdsScene arms(int pose) {
    const float reach = pose == 0 ? 0.0f : 2.0f;
    return skinned(tube(
        "arms", 20, 25, [](float, float) { return 0.45f; },
        [&](float t, float& x, float& y, float& z, float& axis) {
            x = -1.7f + 3.4f * t;
            y = 4.0f;
            z = -reach * std::sin(PI * t);
            axis = 1;
        }));
}

// The extra model: a pack on the back with its own colour (10 x 25: 500 triangles).
TdsScene gear(int character) {
    TdsScene scene;
    TdsMaterial paint{"paint", "", {}};
    paint.colour[0] = uint8_t(40 * character);
    scene.materials.push_back(paint);
    TdsObject o = tube(
        "gear", 10, 25, [](float, float) { return 0.7f; },
        [](float t, float& x, float& y, float& z, float& axis) {
            x = 0;
            y = 3.4f + 3.0f * t;
            z = 1.4f;
            axis = 0;
        });
    o.groups[0].material = "paint";
    scene.objects.push_back(std::move(o));
    return scene;
}

// A picture with detail everywhere (so that JPEG and PNG do not squeeze it to
// nothing): colour bands with a grain of hue seed.
Image picture(int side, int seed) {
    Image image(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const unsigned n = unsigned(x * 73856093u) ^ unsigned(y * 19349663u) ^ unsigned(seed);
            const float grain = float(n % 64u) / 640.0f;
            image.set(x, y,
                      {0.3f + 0.3f * std::sin(float(x + seed * 37) / 40.0f) + grain,
                       0.4f + 0.2f * std::sin(float(y) / 23.0f) + grain,
                       0.5f + 0.2f * std::sin(float(x + y) / 61.0f) + grain});
        }
    return image;
}

bool savePicture(const Image& image, const std::string& path) {
    const size_t dot = path.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    if (ext == "jpg" || ext == "jpeg") return saveJpeg(image, path, JPEG_QUALITY);
    if (ext == "bmp") return saveBmp(image, path);
    std::fprintf(stderr, "tovask-heavycontent: %s: only .bmp and .jpg are written\n", path.c_str());
    return false;
}

bool saveText(const std::string& text, const std::string& path) {
    return saveBytes(std::vector<uint8_t>(text.begin(), text.end()), path);
}

// The default characters' animations (data/models/pelmo_*3, read from the
// game's data folder): the same length, frames, keys and looping, each key a
// heavy body.
bool writeAnimations(const std::string& models, int rings) {
    for (const char* what : {"stand", "walk", "strafe", "death"}) {
        char path[DATA_NAME_SIZE];
        std::snprintf(path, sizeof path, "pelmo_%s3", what);
        AnimationDescription d;
        if (!locateDataFile(path, true) || !readAnimationDescription(path, d)) return false;
        const std::string name = std::string("heavy_") + what;
        if (!saveText(std::to_string(d.length) + "\n" + std::to_string(d.frameCount) + "\n" +
                          std::to_string(d.keyCount) + "\n" + name + "%d.3ds\n" +
                          std::to_string(d.looping) + "\n",
                      models + "/" + name + "3"))
            return false;
        for (int k = 1; k <= d.keyCount; ++k)
            if (!saveTds(bodyKey(k, d.keyCount, std::strcmp(what, "death") == 0, rings),
                         models + "/" + name + std::to_string(k) + ".3ds"))
                return false;
    }
    return true;
}

// Seven characters sharing the body files, each with its own name, extra model
// and SKINS skins: every look is a model set of its own, as seven different
// characters would be.
bool writeFight(const std::string& dir, int rings) {
    for (const char* sub : {"", "/cfg", "/models", "/textures"}) mkdir((dir + sub).c_str(), 0755);
    const std::string models = dir + "/models";
    if (!writeAnimations(models, rings)) return false;
    for (int pose = 0; pose < 6; ++pose)
        if (!saveTds(arms(pose), models + "/heavy_arms" + std::to_string(pose) + ".3ds"))
            return false;
    std::string list;
    for (int c = 1; c <= CHARACTERS; ++c) {
        const std::string id = "heavy" + std::to_string(c);
        list += id + ".chr\n";
        if (!saveTds(gear(c), models + "/" + id + "_gear.3ds")) return false;
        for (int s = 1; s <= SKINS; ++s)
            if (!saveBmp(picture(SKIN_SIDE, c * 100 + s),
                         dir + "/textures/" + id + "_skin" + std::to_string(s) + ".bmp"))
                return false;
        const std::string chr = "0\n" + std::to_string(SKINS) + "\nHeavy" + std::to_string(c) +
                                "\n" + id + "_skin%d.bmp\nheavy_arms%d.3ds\nheavy_stand3\n" +
                                "heavy_walk3\nheavy_strafe3\nheavy_strafe3\n1.0\nnone\n" + id +
                                "_gear.3ds\nheavy_death3\n";
        if (!saveText(chr, dir + "/cfg/" + id + ".chr")) return false;
    }
    return saveText(list, dir + "/chars");
}

void usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: tovask-heavycontent fight DIR [RINGS]\n"
                 "       tovask-heavycontent picture SIDE FILE.bmp|FILE.jpg\n"
                 "Writes the heavy fight (seven characters of 100 x RINGS triangles) or a\n"
                 "picture the game's load limits are measured on.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        usage(stdout);
        return 0;
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "fight") == 0) {
        const int rings = argc == 4 ? std::atoi(argv[3]) : BODY_RINGS;
        if (rings < 1 || rings > 600) {  // 51 x 601 vertices: the most a 3DS object indexes
            std::fprintf(stderr, "tovask-heavycontent: RINGS must be 1 to 600\n");
            return 2;
        }
        return writeFight(argv[2], rings) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "picture") == 0) {
        const int side = std::atoi(argv[2]);
        if (side < 1 || side > 16384) {
            std::fprintf(stderr, "tovask-heavycontent: SIDE must be 1 to 16384\n");
            return 2;
        }
        return savePicture(picture(side, 1), argv[3]) ? 0 : 1;
    }
    usage(stderr);
    return 2;
}
