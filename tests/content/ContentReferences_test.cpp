// Every file a list, description or animation file names is there, and the animations fit together.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ContentData.h"
#include "TestFiles.h"

using namespace content;

namespace {

// The objects' names and vertex counts: what interpolation needs to match.
std::vector<std::pair<std::string, int>> layout(const Mesh& mesh) {
    std::vector<std::pair<std::string, int>> out;
    for (const MeshObject& o : mesh.objects) out.emplace_back(o.name, o.vertexCount());
    return out;
}

// Checks one animation description file and its keys; returns its keys.
std::vector<std::unique_ptr<Mesh>> checkAnimation(const std::string& name, bool looping) {
    std::vector<std::unique_ptr<Mesh>> keys;
    EXPECT_EQ(name.back(), '3') << name << " would not be read as an animation";
    const AnimationFile a = readAnimation(name);
    EXPECT_TRUE(a.valid) << name;
    if (!a.valid) return keys;
    EXPECT_GE(a.keys, 2) << name;
    EXPECT_GE(a.frames, a.keys) << name;
    EXPECT_LE(a.frames, 16) << name << ": every frame is a whole mesh";
    EXPECT_EQ(a.length % a.keys, 0) << name << ": later frames would need keys past the last";
    EXPECT_EQ(a.length % a.frames, 0) << name << ": the length would be cut";
    EXPECT_EQ(a.looping, looping ? 1 : 0) << name;
    for (int k = 1; k <= a.keys; ++k) {
        keys.push_back(loadMesh(fill(a.pattern, k)));
        EXPECT_NE(keys.back(), nullptr) << name << " key " << k;
        if (!keys.back()) return {};
        EXPECT_EQ(layout(*keys.back()), layout(*keys.front())) << name << " key " << k;
    }
    return keys;
}

// Mean red, green and blue of an image (0 to 255), or all -1 when it cannot be read.
std::vector<double> meanColour(const std::string& path) {
    SDL_Surface* s = IMG_Load(path.c_str());
    if (!s || s->format->BytesPerPixel != 3) {
        if (s) SDL_FreeSurface(s);
        return {-1, -1, -1};
    }
    std::vector<double> sum(3, 0);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += static_cast<uint8_t*>(s->pixels)[y * s->pitch + 3 * x + c];
    for (double& v : sum) v /= s->w * s->h;
    SDL_FreeSurface(s);
    return sum;
}

// A skinned model: one material, textured, every object using it with coordinates.
void expectSkinnable(const Mesh& mesh, const std::string& name) {
    ASSERT_EQ(mesh.materials.size(), 1u) << name;
    EXPECT_FALSE(mesh.materials[0].textureFile.empty()) << name;
    for (const MeshObject& o : mesh.objects) {
        EXPECT_EQ(o.materialIndex, 0) << name;
        EXPECT_EQ(o.uvCount(), o.vertexCount()) << name;
    }
}

}  // namespace

TEST(ContentReferences, FilesTheGameNamesItselfAreFound) {
    for (const char* name :
         {"font.bmp", "menu.jpg", "logo.3ds", "sky.3ds", "c3.3ds", "w1.3ds", "w2.3ds", "w3.3ds",
          "w4.3ds", "w5.3ds", "zat.3ds", "zamer.3ds", "tovask.cfg"})
        EXPECT_NE(locate(name), "") << name;
    const std::vector<std::string> settings = words("tovask.cfg");
    EXPECT_EQ(settings.size(), 7u);
}

TEST(ContentReferences, CharactersHaveSkinsArmsAndAnimations) {
    const std::vector<CharacterFile> list = characters();
    ASSERT_GE(list.size(), 3u);
    std::set<std::string> names;
    for (const CharacterFile& c : list) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.creatureType, 0);
        EXPECT_TRUE(names.insert(c.name).second) << "two characters share a name";
        ASSERT_GE(c.skinCount, 3);
        // Skins must tell creatures apart: their overall colours differ.
        std::vector<std::vector<double>> means;
        for (int k = 1; k <= c.skinCount; ++k) {
            const std::string path = locate(fill(c.skinPattern, k));
            ASSERT_NE(path, "") << fill(c.skinPattern, k);
            means.push_back(meanColour(path));
            ASSERT_GE(means.back()[0], 0) << path;
            for (int j = 0; j + 1 < k; ++j) {
                double d = 0;
                for (int ch = 0; ch < 3; ++ch) d += std::fabs(means.back()[ch] - means[j][ch]);
                EXPECT_GT(d, 20) << "skins " << j + 1 << " and " << k << " look alike";
            }
        }
        for (int pose = 0; pose < 6; ++pose) {
            const auto arms = loadMesh(fill(c.armPattern, pose));
            ASSERT_NE(arms, nullptr) << fill(c.armPattern, pose);
            expectSkinnable(*arms, fill(c.armPattern, pose));
        }
        for (const std::string& anim : {c.stand, c.walk, c.strafe, c.diagonal}) {
            const auto keys = checkAnimation(anim, true);
            if (!keys.empty()) expectSkinnable(*keys[0], anim);
        }
        const auto death = checkAnimation(c.death, false);
        if (!death.empty()) expectSkinnable(*death[0], c.death);
        EXPECT_NE(loadMesh(c.extra), nullptr) << c.extra;
    }
}

TEST(ContentReferences, MapsNameTheirModelsAndTextures) {
    const std::vector<MapFile> list = maps();
    ASSERT_GE(list.size(), 1u);
    for (const MapFile& m : list) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(m.valid);
        EXPECT_NE(locate(m.level), "");
        EXPECT_NE(locate(m.collision), "");
        EXPECT_NE(m.collision, m.level) << "the collision model is a model of its own";
        if (m.ground != "noground") {
            EXPECT_NE(locate(m.ground), "");
        }
        if (m.roof != "noroof") {
            EXPECT_NE(locate(m.roof), "");
        }
        if (m.sky != "nosky") {
            EXPECT_NE(locate(m.sky), "");
        }
        for (float f : m.fog) {
            EXPECT_GE(f, 0.0f);
            EXPECT_LE(f, 1.0f);
        }
        // Every texture its models name is there.
        for (const std::string& model : {m.level, m.ground, m.roof}) {
            const auto mesh = model.rfind("no", 0) == 0 ? nullptr : loadMesh(model);
            if (!mesh) continue;
            for (const Material& mat : mesh->materials) {
                if (!mat.textureFile.empty()) {
                    EXPECT_NE(locate(mat.textureFile), "") << mat.textureFile;
                }
            }
        }
    }
}

TEST(ContentReferences, MapsIncludeAnOutdoorAndADarkIndoorLook) {
    bool outdoor = false, darkIndoor = false;
    for (const MapFile& m : maps()) {
        const bool open = m.sky != "nosky" && m.ground != "noground";
        const bool dark = m.fog[0] < 0.15f && m.fog[1] < 0.15f && m.fog[2] < 0.15f;
        outdoor = outdoor || open;
        darkIndoor = darkIndoor ||
                     (dark && (m.sky == "nosky" || m.roof == "noroof" || m.ground == "noground"));
    }
    EXPECT_TRUE(outdoor);
    EXPECT_TRUE(darkIndoor);
}
