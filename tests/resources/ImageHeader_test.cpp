// Image headers judged before decoding: every read format's size, and the reason for each refusal.
#include "ImageHeader.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"

namespace {

using namespace std::string_literals;

// The same 5 x 3 picture in every format the game reads (the fuzzer's seeds).
std::string seed(const std::string& name) {
    return readFile(std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus/image/" + name);
}

const char* inspect(const std::string& bytes, const char* extension, ImageHeader& header) {
    return inspectImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), extension,
                        header);
}

std::string repeated(const std::string& part, int times) {
    std::string out;
    while (times-- > 0) out += part;
    return out;
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
        ImageHeader header;
        EXPECT_EQ(nullptr, inspect(seed("picture."s + f.extension), f.extension, header))
            << f.extension;
        EXPECT_EQ(f.format, header.format) << f.extension;
        EXPECT_EQ(5, header.width) << f.extension;
        EXPECT_EQ(3, header.height) << f.extension;
    }
}

TEST(ImageHeader, RefusalsNameTheirReason) {
    const std::string sos = "\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00"s;  // an empty scan
    const struct {
        const char* seed;   // null: the bytes are the whole file
        std::string bytes;  // written at offset `at` of the seed
        size_t at;
        size_t keep;  // bytes of the result kept; 0: all
        const char* extension;
        const char* reason;
    } cases[] = {
        {"picture.png", "\0\0\x23\x28"s, 16, 0, "png", "image is wider or higher than 8192 pixels"},
        {"picture.png", "\0\0\x08\x01\0\0\x08\0"s, 16, 0, "png",
         "image has more than 4194304 pixels (2048 x 2048)"},
        {"picture.png", "\0\0\x10\0"s, 33, 0, "png", "PNG chunk runs past the end of the file"},
        {"picture.png", "\x80\0\0\0"s, 33, 0, "png", "PNG chunk length out of range"},
        {"picture.png", "", 0, 327 - 12, "png", "PNG file ends before its IEND chunk"},
        {"picture.jpg", "\xff\xdc\xff\xdc", 163, 0, "jpg",
         "image is wider or higher than 8192 pixels"},
        {"picture.jpg", "\0\0"s, 163, 0, "jpg", "JPEG whose height comes after the picture"},
        // Stray bytes before the scans hide nothing: libjpeg skips them too.
        {"picture.jpg", "junk" + repeated(sos, 65), 292, 0, "jpg", "JPEG with more than 64 scans"},
        {"picture.jpg", "", 0, 150, "jpg", "JPEG file without a frame header"},
        {"picture.gif", "\x0c", 0x4f, 0, "gif",
         "GIF picture with a code size out of range (1 to 8)"},
        {"picture.gif", "\xb8\x0b\xb8\x0b", 0x4a, 0, "gif",
         "image has more than 4194304 pixels (2048 x 2048)"},
        {"picture.gif", "", 0, 0x55, "gif", "GIF picture runs past the end of the file"},
        // An empty graphic control block: the decoder goes on skipping blocks
        // (from the picture's 0x2c on), and looped at the end of the file.
        {nullptr, "GIF89a\x05\0\x03\0\0\0\0\x21\xf9\0\x2c\0\0\0\0\x05\0\x03\0\0\x02\x01\0\0\x3b"s,
         0, 0, "gif", "GIF extension runs past the end of the file"},
        {"picture.pcx", "\x02\0"s, 66, 0, "pcx", "PCX line shorter than its picture"},
        {"picture.pcx", "\x40\0"s, 66, 0, "pcx", "PCX line far longer than its picture"},
        {"picture.pcx", "\x04", 3, 0, "pcx",
         "PCX pixel layout not read (1 bit in 1 to 4 planes, 8 bits in 1 or 3 planes are)"},
        {"picture.tif", "\x06\0"s, 84, 0, "tif",
         "TIFF compression not read (none, LZW, JPEG, Deflate and PackBits are)"},
        {"picture.tif", "\x10\x27", 48, 0, "tif", "image is wider or higher than 8192 pixels"},
        {"picture.tif", "\x05\0"s, 144, 0, "tif", "TIFF samples per pixel out of range (1 to 4)"},
        {"picture.webp", "\xff\xff\xff\x0f", 21, 0, "webp",
         "image is wider or higher than 8192 pixels"},
        {nullptr, "RIFF\x16\0\0\0WEBPVP8X\x0a\0\0\0\x02\0\0\0\x04\0\0\x02\0\0"s, 0, 0, "webp",
         "animated WEBP files are not read"},
        {"picture.ico", "\x89PNG", 22, 0, "ico", "PNG-compressed icons are not read"},
        {"picture.ico", "\x2c\x01"s, 54, 0, "ico", "icon palette larger than its depth allows"},
        {"picture.ico", "", 0, 100, "ico", "icon picture runs past the end of the file"},
        // Only the name makes a TGA: this header also begins like a cursor file.
        {"picture.tga", "", 0, 0, "", "icon file holds no picture"},
        {nullptr, "P6\n2049 2048\n255\n", 0, 0, "ppm",
         "image has more than 4194304 pixels (2048 x 2048)"},
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
        ImageHeader header;
        const char* reason = inspect(file, c.extension, header);
        EXPECT_STREQ(c.reason, reason) << (c.seed ? c.seed : c.bytes.c_str()) << " at " << c.at;
    }
    ImageHeader header;
    EXPECT_STREQ(
        "file is larger than 64 MiB",
        inspect(seed("picture.bmp") + std::string(MAX_IMAGE_FILE_BYTES, '\0'), "", header));
}
