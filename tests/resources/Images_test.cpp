// Image files: headers judged before decoding (every read format's size, the reason for each
// refusal), decoding from memory, and the texture store's messages when loading fails.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CaptureOutput.h"
#include "ImageHeader.h"
#include "ImageSurface.h"
#include "TestFiles.h"
#include "TextureStore.h"

namespace {

using namespace std::string_literals;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The same 5 x 3 picture in every format the game reads (the fuzzer's seeds).
std::string seed(const std::string& name) {
    return readFile(std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus/image/" + name);
}

const char* inspect(const std::string& bytes, const char* extension, ImageHeader* out = nullptr) {
    ImageHeader header;
    return inspectImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), extension,
                        out ? *out : header);
}

SurfacePtr decodeBytes(const std::string& bytes, const char* extension) {
    return SurfacePtr(decodeImage(bytes.data(), bytes.size(), extension));
}

// An uncompressed true-colour TGA header for w x h (TGA has no magic number).
std::string tga(int w, int h) {
    std::string t(18, '\0');
    t[2] = 2;
    t[12] = char(w & 0xff), t[13] = char(w >> 8), t[14] = char(h & 0xff), t[15] = char(h >> 8);
    t[16] = 24;
    return t;
}

}  // namespace

TEST(ImageHeader, EveryReadFormatDeclaresItsSize) {
    const struct {
        const char* extension;
        ImageFormat format;
    } formats[] = {
        {"bmp", ImageFormat::Bmp},  {"cur", ImageFormat::Cur},  {"gif", ImageFormat::Gif},
        {"ico", ImageFormat::Ico},  {"jpg", ImageFormat::Jpeg}, {"pcx", ImageFormat::Pcx},
        {"png", ImageFormat::Png},  {"ppm", ImageFormat::Pnm},  {"tga", ImageFormat::Tga},
        {"tif", ImageFormat::Tiff}, {"webp", ImageFormat::Webp}};
    for (const auto& f : formats) {
        ImageHeader h;
        EXPECT_EQ(nullptr, inspect(seed("picture."s + f.extension), f.extension, &h))
            << f.extension;
        EXPECT_EQ(std::make_tuple(f.format, 5, 3), std::make_tuple(h.format, h.width, h.height))
            << f.extension;
    }
}

TEST(ImageHeader, RefusalsNameTheirReasonAndTheLimitsAreInclusive) {
    const std::string sos = "\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00"s;  // an empty scan
    std::string scans = "junk";
    for (int i = 0; i < 65; ++i) scans += sos;
    const char* const WIDE = "image is wider or higher than 8192 pixels";
    const char* const PCX_LAYOUT =
        "PCX pixel layout not read (1 bit in 1 to 4 planes, 8 bits in 1 or 3 planes are)";
    const char* const MANY = "image has more than 16777216 pixels (4096 x 4096)";
    const struct {
        const char* seed;   // null: the bytes are the whole file
        std::string bytes;  // written at offset `at` of the seed
        size_t at;
        size_t keep;  // bytes of the result kept; 0: all
        const char* extension;
        const char* reason;  // null: accepted
    } cases[] = {
        {"picture.png", "\0\0\x23\x28"s, 16, 0, "png", WIDE},
        {"picture.png", "\0\0\x10\x01\0\0\x10\0"s, 16, 0, "png", MANY},  // 4097 x 4096
        {"picture.png", "\0\0\x10\0"s, 33, 0, "png", "PNG chunk runs past the end of the file"},
        {"picture.png", "\x80\0\0\0"s, 33, 0, "png", "PNG chunk length out of range"},
        {"picture.png", "", 0, 327 - 12, "png", "PNG file ends before its IEND chunk"},
        {"picture.jpg", "\xff\xdc\xff\xdc", 163, 0, "jpg", WIDE},
        {"picture.jpg", "\0\0"s, 163, 0, "jpg", "JPEG whose height comes after the picture"},
        // Stray bytes before the scans hide nothing: libjpeg skips them too.
        {"picture.jpg", scans, 292, 0, "jpg", "JPEG with more than 64 scans"},
        {"picture.jpg", "", 0, 150, "jpg", "JPEG file without a frame header"},
        {"picture.gif", "\x0c", 0x4f, 0, "gif",
         "GIF picture with a code size out of range (1 to 8)"},
        {"picture.gif", "\x88\x13\x88\x13", 0x4a, 0, "gif", MANY},  // 5000 x 5000
        {"picture.gif", "", 0, 0x55, "gif", "GIF picture runs past the end of the file"},
        // A picture with a local colour table of two entries, one pixel.
        {nullptr,
         "GIF89a\x01\0\x01\0\0\0\0\x2c\0\0\0\0\x01\0\x01\0\x80\0\0\0\xff\xff\xff\x02\x02\x44\x01\0\x3b"s,
         0, 0, "gif", nullptr},
        // An empty graphic control block: the decoder goes on skipping blocks
        // (from the picture's 0x2c on), and looped at the end of the file.
        {nullptr, "GIF89a\x05\0\x03\0\0\0\0\x21\xf9\0\x2c\0\0\0\0\x05\0\x03\0\0\x02\x01\0\0\x3b"s,
         0, 0, "gif", "GIF extension runs past the end of the file"},
        {"picture.pcx", "\x02\0"s, 66, 0, "pcx", "PCX line shorter than its picture"},
        {"picture.pcx", "\x40\0"s, 66, 0, "pcx", "PCX line far longer than its picture"},
        {"picture.pcx", "\x04", 3, 0, "pcx", PCX_LAYOUT},
        {"picture.pcx", "\x02", 65, 0, "pcx", PCX_LAYOUT},  // 8 bits in 2 planes
        {"picture.pcx", "\x01", 65, 0, "pcx", nullptr},     // 8 bits in 1 plane: paletted
        {"picture.tif", "\x06\0"s, 84, 0, "tif",
         "TIFF compression not read (none, LZW, JPEG, Deflate and PackBits are)"},
        {"picture.tif", "\x10\x27", 48, 0, "tif", WIDE},
        {"picture.tif", "\xe7\x03"s, 76, 0, "tif", nullptr},  // no compression tag: none
        {"picture.tif", "\x05\0"s, 144, 0, "tif", "TIFF samples per pixel out of range (1 to 4)"},
        {"picture.webp", "\xff\xff\xff\x0f", 21, 0, "webp", WIDE},
        {nullptr, "RIFF\x16\0\0\0WEBPVP8X\x0a\0\0\0\x02\0\0\0\x04\0\0\x02\0\0"s, 0, 0, "webp",
         "animated WEBP files are not read"},
        {"picture.ico", "\x89PNG", 22, 0, "ico", "PNG-compressed icons are not read"},
        {"picture.ico", "\x2c\x01"s, 54, 0, "ico", "icon palette larger than its depth allows"},
        {"picture.ico", "", 0, 100, "ico", "icon picture runs past the end of the file"},
        // Only the name makes a TGA: this header also begins like a cursor file.
        {"picture.tga", "", 0, 0, "", "icon file holds no picture"},
        {nullptr, tga(65535, 65535), 0, 0, "TGA", WIDE},  // a few bytes claiming 12 GB
        {nullptr, tga(MAX_IMAGE_SIDE, 1), 0, 0, "tga", nullptr},
        {nullptr, tga(4096, 4096), 0, 0, "tga", nullptr},
        {nullptr, tga(4097, 4096), 0, 0, "tga", MANY},
        {nullptr, tga(MAX_IMAGE_SIDE, 2048), 0, 0, "tga", nullptr},  // a sky round the horizon
        {nullptr, tga(MAX_IMAGE_SIDE, 2049), 0, 0, "tga", MANY},
        {"picture.bmp", "\x01\x20\0\0"s, 18, 0, "bmp", WIDE},         // 8193 wide
        {"picture.bmp", "\xff\xdf\xff\xff"s, 22, 0, "bmp", WIDE},     // top-down rows count too
        {"picture.bmp", "\xfd\xff\xff\xff"s, 22, 0, "bmp", nullptr},  // 3 rows top-down
        {nullptr, "P6\n4096 4097\n255\n", 0, 0, "ppm", MANY},
        {nullptr, "P6\n# a comment\n4 4\n65535\n", 0, 0, "ppm",
         "PNM maximum value missing or out of range (1 to 255)"},
        {nullptr, "P5 1234567890 1 255\n", 0, 0, "pgm", "PNM size missing or out of range"},
        {nullptr, "gimp xcf v011\0"s, 0, 0, "png",
         "GIMP XCF files are not read; export the picture as PNG"},
        {nullptr, "/* XPM */\nstatic char* x[] = {\"1 1 1 1\"};\n", 0, 0, "xpm",
         "XPM pictures are not read; save the picture as PNG or GIF"},
        {nullptr, "FORM\0\0\0\x04ILBM"s, 0, 0, "lbm",
         "IFF ILBM pictures are not read; save the picture as PNG or PCX"},
        {nullptr, "P7 332\n", 0, 0, "", "XV thumbnails are not read; save the picture as PNG"},
        {nullptr, "", 0, 0, "bmp",
         "not an image format the game reads (BMP, CUR, GIF, ICO, JPEG, PCX, PNG, PNM, TGA, "
         "TIFF, WEBP)"},
    };
    for (const auto& c : cases) {
        std::string file = c.seed ? seed(c.seed) : c.bytes;
        if (c.seed) file.replace(c.at, c.bytes.size(), c.bytes);
        if (c.keep) file.resize(c.keep);
        EXPECT_STREQ(c.reason, inspect(file, c.extension))
            << (c.seed ? c.seed : c.bytes.substr(0, 40).c_str()) << " at " << c.at;
    }
    std::string big = seed("picture.bmp");
    big.resize(MAX_IMAGE_FILE_BYTES);  // the most read, padded with zeros
    EXPECT_EQ(nullptr, inspect(big, ""));
    EXPECT_STREQ("file is larger than 65 MiB", inspect(big + '\0', ""));
}

TEST(ImageDecoding, OnlyPicturesWhoseHeadersPassAreDecodedAndRefusalsSayWhy) {
    const std::string smallTga = tga(4, 2) + std::string(4 * 2 * 3, '\x40');
    EXPECT_TRUE(decodeBytes(smallTga, "TGA"));
    EXPECT_FALSE(decodeBytes(smallTga, "bmp"));
    EXPECT_FALSE(decodeBytes(smallTga, nullptr));
    // The largest picture decodes; one row more is refused before any decoder allocates.
    std::string rle = tga(4096, 4096);
    rle[2] = 10;  // run-length encoded: 131072 runs of 128 grey pixels, a 512 KiB file
    for (int run = 0; run < 4096 * 4096 / 128; ++run) rle += "\xff\x40\x40\x40";
    const SurfacePtr largest = decodeBytes(rle, "tga");
    ASSERT_TRUE(largest) << SDL_GetError();
    EXPECT_EQ(std::make_pair(4096, 4096), std::make_pair(largest->w, largest->h));
    rle[14] = 1, rle[15] = 16;  // 4097 rows
    EXPECT_FALSE(decodeBytes(rle, "tga"));
    EXPECT_STREQ("image has more than 16777216 pixels (4096 x 4096)", SDL_GetError());
    // Damage only the libraries see: their reasons are passed on.
    std::string tiff = seed("picture.tif");
    tiff.replace(112, 2, "\xe7\x03");  // the StripOffsets entry becomes tag 999
    EXPECT_FALSE(decodeBytes(tiff, "tif"));
    EXPECT_NE(std::string(SDL_GetError()).find("missing required \"StripOffsets\""),
              std::string::npos)
        << SDL_GetError();
    std::string webp = seed("picture.webp");
    webp.replace(30, std::string::npos, webp.size() - 30, '\xff');
    EXPECT_FALSE(decodeBytes(webp, "webp"));
    EXPECT_STREQ("WEBP picture data is damaged", SDL_GetError());
}

TEST(ImageDecoding, OldStyleBitmapHeadersAreMeasuredByTheirOwnFields) {
    // A 12-byte info header keeps width and height in 16 bits each, so the
    // 32-bit reading of a modern header would see 2 + 2 * 65536.
    std::string os2 = "BM" + std::string(8, '\0') + "\x1a\0\0\0"s;  // pixels at 26
    os2 += "\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0"s;  // header size 12, 2 x 2, 1 plane, 24 bits
    os2 += std::string(2 * 8, '\x7f');             // two rows of 6 bytes padded to 8
    SurfacePtr image = decodeBytes(os2, nullptr);
    ASSERT_TRUE(image) << SDL_GetError();
    EXPECT_EQ(std::make_pair(image->w, image->h), std::make_pair(2, 2));
}

class ImageLoading : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    TextureStore store;  // loadImage needs no GL context
};

TEST_F(ImageLoading, FailuresReturnNoneWithTheirMessage) {
    dir.write("broken.bmp", std::string("BM this is not a bitmap"));
    // Its text chunk runs past the end: SDL_image's libpng reader loops for ever on it.
    dir.write("hang.png", readFile(std::string(TOVASK_SOURCE_DIR) +
                                   "/tests/regressions/image/png_text_chunk_past_the_end"));
    const std::string longName(400, 'a');
    captureStderr();
    for (const char* name : {"missing.bmp", "broken.bmp", "hang.png", longName.c_str()})
        EXPECT_EQ(nullptr, store.loadImage(name)) << name;
    EXPECT_EQ(-1, store.getTexture(longName.c_str()));
    EXPECT_EQ(-1, store.getTextureAuto(longName.c_str()));
    EXPECT_EQ(
        capturedStderr(),
        "Unable to locate file missing.bmp\n"
        "Unable to load broken.bmp: BMP header cut short\n"
        "Unable to load hang.png: PNG chunk runs past the end of the file\n"
        "Texture name too long (more than 255 characters): " +
            longName.substr(0, 60) + "...\n" +
            "Texture name too long (more than 99 characters): " + longName.substr(0, 60) + "...\n" +
            "Texture name too long (more than 99 characters): " + longName.substr(0, 60) + "...\n");
    EXPECT_EQ(0, store.count());
}
