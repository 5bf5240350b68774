// The generated content: byte-identical on every run, with icons and a font that draw what they
// should, skins that tell characters apart and maps of different looks. Whether the game can
// read all of it, and whether the worst fight fits the model table, is the data checker's job
// (DataCheck.DefaultContentHasNoFindingAndSaysWhatItSearches).
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "ContentData.h"
#include "TestFiles.h"
#include "TestImages.h"

namespace fs = std::filesystem;
using namespace content;

namespace {

std::map<std::string, std::string> filesUnder(const std::string& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            out[fs::relative(e.path(), root).string()] = readFile(e.path().string());
    return out;
}

// Generates into outDir/data, with the desktop icons in outDir/icons.
bool runGenerator(const std::string& outDir) {
    const std::string command = "'" TOVASK_BUILD_DIR "/tools/contentgen/tovask-contentgen' '" +
                                outDir + "/data' " +
                                "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf '" +
                                outDir + "/icons' >/dev/null";
    return std::system(command.c_str()) == 0;
}

// Mean red, green and blue of an image as the game decodes it (0 to 255); none when it cannot.
std::vector<double> meanColour(const std::string& path) {
    std::string problem;
    const TestImage image = readImage(path, problem);
    std::vector<double> mean(image.rgb.empty() ? 0 : 3, 0);
    for (size_t i = 0; i < image.rgb.size(); ++i)
        mean[i % 3] += image.rgb[i] * 3.0 / image.rgb.size();
    return mean;
}

}  // namespace

// The build ran the generator too: a second run writes the same bytes.
TEST(ContentGeneration, RunsAreByteIdenticalMatchTheBuiltDataAndDrawEveryIconSize) {
    TempDir first;
    ASSERT_TRUE(runGenerator(first.path()));
    const auto a = filesUnder(first.path());
    ASSERT_GT(a.size(), 50u);
    for (const auto& [name, bytes] : a)
        EXPECT_TRUE(bytes == readFile(TOVASK_BUILD_DIR "/" + name)) << name << " differs";
    // Every icon size a desktop theme takes, drawn at its size: transparent
    // corners, an opaque middle, and the crest's orange unblended.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string name = "icons/tovask-" + std::to_string(size) + ".png";
        SDL_Surface* icon = IMG_Load(first.file(name).c_str());
        ASSERT_NE(icon, nullptr) << name << ": " << IMG_GetError();
        ASSERT_EQ((std::array<int, 3>{icon->w, icon->h, icon->format->BytesPerPixel}),
                  (std::array<int, 3>{size, size, 4}))
            << name;
        auto at = [&](int x, int y) {
            Uint8 r, g, b, alpha;
            SDL_GetRGBA(static_cast<Uint32*>(icon->pixels)[y * icon->pitch / 4 + x], icon->format,
                        &r, &g, &b, &alpha);
            return std::array<int, 4>{r, g, b, alpha};
        };
        EXPECT_EQ(at(0, 0)[3], 0) << name;
        EXPECT_EQ(at(size - 1, size - 1)[3], 0) << name;
        EXPECT_EQ(at(size / 2, size / 2)[3], 255) << name;
        EXPECT_EQ(at(size / 2, size / 6), (std::array<int, 4>{255, 170, 40, 255})) << name;
        SDL_FreeSurface(icon);
    }
}

TEST(ContentGeneration, FontHasPrintableGlyphsInTheCellsTheGameDraws) {
    std::string problem;
    const TestImage font = readImage(dataDir() + "/textures/font.bmp", problem);
    ASSERT_EQ((std::array<int, 2>{font.width, font.height}), (std::array<int, 2>{256, 256}))
        << "size " << problem;
    // Brightest red value inside the 16 x 16 cell of glyph g.
    auto brightest = [&](int g) {
        int best = 0;
        for (int y = (g / 16) * 16; y < (g / 16) * 16 + 16; ++y)
            for (int x = (g % 16) * 16; x < (g % 16) * 16 + 16; ++x)
                best = std::max<int>(best, font.rgb[(y * 256 + x) * 3]);
        return best;
    };
    for (char c : std::string("AZaz09!~%")) EXPECT_GT(brightest(96 + c), 200) << c;
    EXPECT_EQ(brightest(96 + ' '), 0);
    EXPECT_EQ(brightest(65), 0) << "cell 65 is not where the game looks for 'A'";
}

TEST(ContentLooks, CharactersAndMapsLookApartAndMapsCollideWithModelsOfTheirOwn) {
    ASSERT_GE(records().characters.size(), 3u);
    std::set<std::string> names;
    for (const CharacterInfo& c : records().characters) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(names.insert(c.name).second) << "two characters share a name";
        ASSERT_GE(c.skinCount, 3);
        std::vector<std::vector<double>> means;
        for (int k = 1; k <= c.skinCount; ++k) {
            means.push_back(meanColour(locate(format(c.skinTexturePattern, k))));
            ASSERT_EQ(means.back().size(), 3u) << format(c.skinTexturePattern, k);
            for (int j = 0; j + 1 < k; ++j) {
                double d = 0;
                for (int ch = 0; ch < 3; ++ch) d += std::fabs(means.back()[ch] - means[j][ch]);
                EXPECT_GT(d, 20) << "skins " << j + 1 << " and " << k << " look alike";
            }
        }
    }
    bool outdoor = false, darkIndoor = false;
    for (const MapInfo& m : records().maps) {
        const std::string sky = m.skyTexture, roof = m.roofModel, ground = m.groundModel;
        EXPECT_STRNE(m.collisionModel, m.levelModel) << m.name;
        const float* fog = m.fogColour;
        const bool dark = fog[0] < 0.15f && fog[1] < 0.15f && fog[2] < 0.15f;
        outdoor = outdoor || (sky != "nosky" && ground != "noground");
        darkIndoor =
            darkIndoor || (dark && (sky == "nosky" || roof == "noroof" || ground == "noground"));
    }
    EXPECT_TRUE(outdoor);
    EXPECT_TRUE(darkIndoor);
}
