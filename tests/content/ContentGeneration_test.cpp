// The generated content: byte-identical on every run, and images the texture loader can take.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "ContentData.h"
#include "TestFiles.h"

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
    const std::string command = "'" + generator() + "' '" + outDir + "/data' " +
                                "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf '" +
                                outDir + "/icons' >/dev/null";
    return std::system(command.c_str()) == 0;
}

uint32_t le32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

bool powerOfTwo(uint32_t n) {
    return n >= 4 && (n & (n - 1)) == 0;
}

struct Bmp {
    uint32_t width = 0, height = 0, bits = 0, compression = 1;
    bool sizeMatches = false;
};

Bmp parseBmp(const std::string& b) {
    Bmp bmp;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return bmp;
    bmp.width = le32(b, 18);
    bmp.height = le32(b, 22);
    bmp.bits = static_cast<uint8_t>(b[28]) | static_cast<uint8_t>(b[29]) << 8;
    bmp.compression = le32(b, 30);
    bmp.sizeMatches = b.size() == le32(b, 10) + ((bmp.width * 3 + 3) & ~3u) * bmp.height;
    return bmp;
}

}  // namespace

TEST(ContentGeneration, RunsAreByteIdenticalMatchTheBuiltDataAndDrawEveryIconSize) {
    TempDir first, second;
    ASSERT_TRUE(runGenerator(first.path()));
    ASSERT_TRUE(runGenerator(second.path()));
    const auto a = filesUnder(first.path()), b = filesUnder(second.path());
    ASSERT_GT(a.size(), 50u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name << " differs between runs";
        if (name.rfind("data/", 0) == 0) {
            EXPECT_TRUE(bytes == readFile(dataDir() + "/" + name.substr(5))) << name << " is stale";
        }
    }
    // Every icon size a desktop theme takes, drawn at its size: transparent
    // corners, an opaque middle, and the crest's orange unblended.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string name = "icons/tovask-" + std::to_string(size) + ".png";
        ASSERT_TRUE(a.count(name)) << name;
        SDL_Surface* icon = IMG_Load(first.file(name).c_str());
        ASSERT_NE(icon, nullptr) << name << ": " << IMG_GetError();
        EXPECT_EQ(icon->w, size) << name;
        EXPECT_EQ(icon->h, size) << name;
        ASSERT_EQ(icon->format->BytesPerPixel, 4) << name;
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

TEST(ContentGeneration, WritesOnlyIntoTheFoldersTheLocatorSearches) {
    for (const auto& e : fs::recursive_directory_iterator(dataDir())) {
        if (!e.is_directory()) continue;
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "textures" || name == "models" || name == "scenes" || name == "cfg")
            << "unexpected folder " << e.path();
    }
}

TEST(ContentGeneration, BitmapsAreUncompressed24BitWithPowerOfTwoSides) {
    int count = 0;
    for (const auto& e : fs::directory_iterator(dataDir() + "/textures")) {
        const std::string name = e.path().filename().string();
        if (e.path().extension() != ".bmp") continue;
        ++count;
        const Bmp bmp = parseBmp(readFile(e.path().string()));
        EXPECT_EQ(bmp.bits, 24u) << name;
        EXPECT_EQ(bmp.compression, 0u) << name;
        EXPECT_TRUE(powerOfTwo(bmp.width) && powerOfTwo(bmp.height)) << name;
        EXPECT_TRUE(bmp.sizeMatches) << name;
        EXPECT_EQ(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << name << ": the texture cache looks names up in lower case";
        // An alpha companion must have its colour image's size.
        const size_t sign = name.find_first_of("-+");
        if (sign != std::string::npos) {
            const std::string colour = name.substr(0, sign) + name.substr(sign + 1);
            const Bmp c = parseBmp(readFile(dataDir() + "/textures/" + colour));
            EXPECT_EQ(c.width, bmp.width) << name;
            EXPECT_EQ(c.height, bmp.height) << name;
        }
    }
    EXPECT_GT(count, 20);
}

TEST(ContentGeneration, MenuPictureIsAJpegWithPowerOfTwoSides) {
    const std::string path = dataDir() + "/textures/menu.jpg";
    const std::string bytes = readFile(path);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xD8);
    SDL_Surface* image = IMG_Load(path.c_str());
    ASSERT_NE(image, nullptr) << IMG_GetError();
    EXPECT_TRUE(powerOfTwo(static_cast<uint32_t>(image->w)) &&
                powerOfTwo(static_cast<uint32_t>(image->h)));
    EXPECT_EQ(image->format->BitsPerPixel, 24);
    SDL_FreeSurface(image);
}

TEST(ContentGeneration, FontHasPrintableGlyphsInTheCellsTheGameDraws) {
    SDL_Surface* font = IMG_Load((dataDir() + "/textures/font.bmp").c_str());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->w, 256);
    ASSERT_EQ(font->h, 256);
    // Brightest channel value inside the 16 x 16 cell of glyph g.
    auto brightest = [&](int g) {
        int best = 0;
        for (int y = (g / 16) * 16; y < (g / 16) * 16 + 16; ++y)
            for (int x = (g % 16) * 16; x < (g % 16) * 16 + 16; ++x)
                best = std::max<int>(best,
                                     static_cast<uint8_t*>(font->pixels)[y * font->pitch + 3 * x]);
        return best;
    };
    for (char c : std::string("AZaz09!~%")) EXPECT_GT(brightest(96 + c), 200) << c;
    EXPECT_EQ(brightest(96 + ' '), 0);
    EXPECT_EQ(brightest(65), 0) << "cell 65 is not where the game looks for 'A'";
    SDL_FreeSurface(font);
}
