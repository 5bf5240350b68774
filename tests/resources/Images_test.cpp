// Image files: formats told by their first bytes, headers judged before decoding (every bound at
// and one past it), decoding from memory and files, conversion to texture rows, and the texture
// store's messages when loading fails.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "CaptureOutput.h"
#include "ImageHeader.h"
#include "ImageSurface.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

using namespace std::string_literals;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The fuzzer's seeds: the same 5 x 3 picture in every format the game reads.
const char *const BMP = "picture.bmp", *const GIF = "picture.gif", *const ICO = "picture.ico",
                  *const JPG = "picture.jpg", *const PCX = "picture.pcx",
                  *const PNG = "picture.png", *const TGA = "picture.tga",
                  *const TIF = "picture.tif", *const WEBP = "picture.webp",
                  *const LOSSY = "lossy.webp";
const char* const SEEDS[] = {BMP, "picture.cur", GIF, ICO, JPG, PCX,
                             PNG, "picture.ppm", TGA, TIF, WEBP};

std::string seed(const std::string& name) {
    return readFile(std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus/image/" + name);
}

const char* inspect(const std::string& bytes, const char* extension, ImageHeader* out = nullptr) {
    ImageHeader header;
    return inspectImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), extension,
                        out ? *out : header);
}

// "w x h" of a decoded picture (then freed), or SDL's reason when there is none.
std::string outcome(SDL_Surface* decoded) {
    const SurfacePtr image(decoded);
    return image ? std::to_string(image->w) + " x " + std::to_string(image->h) : SDL_GetError();
}

std::string decodeBytes(const std::string& bytes, const char* extension) {
    return outcome(decodeImage(bytes.data(), bytes.size(), extension));
}

std::string le16(unsigned v) {
    return {char(v & 0xff), char(v >> 8 & 0xff)};
}
std::string le32(unsigned v) {
    return le16(v & 0xffff) + le16(v >> 16);
}

// An uncompressed true-colour TGA header for w x h (TGA has no magic number).
std::string tga(int w, int h) {
    return "\0\0\2"s + std::string(9, '\0') + le16(w) + le16(h) + "\x18\0"s;
}

// A run-length PCX header of 9 x 3 pixels: bits per plane, planes, bytes per plane line.
std::string pcx(int bits, int planes, int lineBytes, int xmin = 0) {
    std::string h = "\x0a\x05\x01"s + char(bits) + le16(xmin) + le16(0) + le16(8) + le16(2);
    h.resize(65, '\0');
    return h + char(planes) + le16(lineBytes) + std::string(60, '\0');
}

// A TIFF directory entry whose value bytes 00 10 01 00 read 0 as a byte, 4096 as a short and
// 69632 as a long, or are the offset 69632 (outside the file) of values longer than 4 bytes.
std::string tiffEntry(int tag, int type, int count = 1) {
    return le16(tag) + le16(type) + le32(count) + "\0\x10\x01\0"s;
}

// A big-endian TIFF of 5 x 3: a directory of width and height.
const std::string BIG_ENDIAN_TIFF =
    "MM\0*\0\0\0\x08\0\x02\x01\0\0\x03\0\0\0\x01\0\x05\0\0\x01\x01\0\x03\0\0\0\x01\0\x03\0\0"s;

// An extended WEBP file of 5 x 3 with the given flags byte.
std::string vp8x(char flags) {
    return "RIFF\x16\0\0\0WEBPVP8X\x0a\0\0\0"s + flags + "\0\0\0\x04\0\0\x02\0\0"s;
}

}  // namespace

TEST(ImageHeader, FormatsAreToldByTheirFirstBytesAndTgaByItsNameAlone) {
    const auto formatOf = [](const std::string& bytes, const char* extension) {
        return imageFormatOf(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                             extension);
    };
    // Columns: the format, files beginning with these bytes named anything but TGA. The seeds
    // below and the refusals of the next test show the other beginnings.
    const std::pair<ImageFormat, std::vector<std::string>> formats[] = {
        {ImageFormat::Gif, {"GIF87a"}},
        {ImageFormat::Pcx, {"\x0a\0\x01"s}},
        {ImageFormat::Pnm, {"P1 ", "P6\n", "P3\t", "P2\r", "P5#"}},
        {ImageFormat::Lbm, {"FORM\0\0\0\0PBM "s}},
        // PCX versions 1 and 6 do not exist; a RIFF file may be a sound.
        {ImageFormat::Unknown,
         {"GIF88a", "\xff\xd8\xfe", "\x0a\x01\x01", "\x0a\x06\x01", "\x0a\x05\x02", "\x0a\x05",
          "\x89PNG\r\n\x1a", "P0 ", "P7 ", "P6x", "P6\0"s, "P6", "II\0*"s, "RIFF\0\0\0\0WAVE"s,
          "RIFX\0\0\0\0WEBP"s, "FORM\0\0\0\0AIFF"s, "anything"}}};
    for (const auto& [format, starts] : formats)
        for (const std::string& bytes : starts) EXPECT_EQ(format, formatOf(bytes, "")) << bytes;
    // Only the name makes a TGA, also of a header that begins like an icon or a cursor.
    for (const std::string& bytes : {"\0\0\1\0"s, "\0\0\2\0"s, "anything"s})
        EXPECT_EQ(ImageFormat::Tga, formatOf(bytes, "Tga")) << bytes;
    EXPECT_EQ(ImageFormat::Unknown, formatOf("anything", "tgz"));
    EXPECT_EQ(ImageFormat::Unknown, formatOf("anything", nullptr));
    // Every seed, and lossy, extended and big-endian files of the same 5 x 3 pixels.
    std::vector<std::pair<std::string, const char*>> pictures = {
        {seed(LOSSY), "webp"}, {vp8x('\0'), "webp"}, {BIG_ENDIAN_TIFF, "tif"}};
    for (const char* name : SEEDS) pictures.push_back({seed(name), std::strchr(name, '.') + 1});
    for (const auto& [bytes, extension] : pictures) {
        ImageHeader h;
        const char* reason = inspect(bytes, extension, &h);
        EXPECT_EQ(std::make_tuple(reason, 5, 3), std::make_tuple(nullptr, h.width, h.height))
            << extension << " " << bytes.substr(0, 16);
    }
}

TEST(ImageHeader, RefusalsNameTheirReasonAndEveryBoundHoldsAtItAndFailsOnePast) {
    const int S = MAX_IMAGE_SIDE;
    using Text = const char*;
    const Text OK = nullptr, WIDE = "image is wider or higher than 8192 pixels",
               MANY = "image has more than 16777216 pixels (4096 x 4096)",
               NONE = "image has no pixels", BMP_CUT = "BMP header cut short",
               TGA_CUT = "TGA header cut short", PCX_CUT = "PCX header cut short",
               PNG_IHDR = "PNG file does not begin with its IHDR chunk",
               PNG_IEND = "PNG file ends before its IEND chunk",
               PNG_PAST = "PNG chunk runs past the end of the file",
               PNG_LENGTH = "PNG chunk length out of range",
               NO_FRAME = "JPEG file without a frame header",
               JPEG_HEIGHT = "JPEG whose height comes after the picture",
               JPEG_SCANS = "JPEG with more than 64 scans", GIF_CUT = "GIF header cut short",
               GIF_EXT = "GIF extension runs past the end of the file",
               GIF_CODE = "GIF picture with a code size out of range (1 to 8)",
               GIF_FIRST = "GIF file ends before its first picture",
               GIF_NONE = "GIF file without a picture",
               GIF_PAST = "GIF picture runs past the end of the file",
               GIF_DESC = "GIF picture descriptor cut short",
               PCX_LAYOUT =
                   "PCX pixel layout not read (1 bit in 1 to 4 planes, 8 bits in 1 or 3 "
                   "planes are)",
               PCX_SHORT = "PCX line shorter than its picture",
               PCX_LONG = "PCX line far longer than its picture",
               ICO_CUT = "icon directory cut short",
               ICO_SIDE = "icon picture outside 1 to 256 pixels a side",
               ICO_PAST = "icon picture runs past the end of the file",
               ICO_DIR = "icon directory runs past the end of the file",
               ICO_PALETTE = "icon palette larger than its depth allows",
               ICO_DEPTH = "icon pixels of a depth not read (1, 4, 8, 24 or 32 bits are)",
               ICO_PNG = "PNG-compressed icons are not read",
               ICO_COMPRESSED = "compressed icon pictures are not read",
               ICO_HEADER = "icon picture header of unknown size",
               ICO_NONE = "icon file holds no picture",
               PNM_MAX = "PNM maximum value missing or out of range (1 to 255)",
               PNM_SIZE = "PNM size missing or out of range", TIFF_CUT = "TIFF header cut short",
               TIFF_DIR = "TIFF directory runs past the end of the file",
               TIFF_OUT = "TIFF directory outside the file",
               TIFF_ENTRY = "TIFF directory entry outside the file",
               TIFF_TYPE = "TIFF directory entry of an unexpected type",
               TIFF_BITS = "TIFF samples of a depth not read (1, 2, 4, 8 or 16 bits are)",
               TIFF_SAMPLES = "TIFF samples per pixel out of range (1 to 4)",
               TIFF_SIZE = "TIFF without a picture size",
               TIFF_COMPRESSION =
                   "TIFF compression not read (none, LZW, JPEG, Deflate and PackBits are)",
               TIFF_REPEATED = "TIFF directory with a repeated tag",
               WEBP_CUT = "WEBP frame header cut short",
               WEBP_ANIMATED = "animated WEBP files are not read",
               WEBP_CHUNK = "WEBP file without a picture chunk",
               XCF = "GIMP XCF files are not read; export the picture as PNG",
               XPM = "XPM pictures are not read; save the picture as PNG or GIF",
               LBM = "IFF ILBM pictures are not read; save the picture as PNG or PCX",
               XV = "XV thumbnails are not read; save the picture as PNG",
               UNKNOWN =
                   "not an image format the game reads (BMP, CUR, GIF, ICO, JPEG, PCX, "
                   "PNG, PNM, TGA, TIFF, WEBP)";
    // Headers of exactly their size, and one byte less; a TGA is only one by its name. Columns:
    // the seed, the bytes of it kept (0: all), the extension it is named with, the reason.
    const std::tuple<const char*, size_t, const char*> cut[] = {
        {BMP, 26, OK},          {BMP, 25, BMP_CUT},     {TGA, 18, OK},        {TGA, 17, TGA_CUT},
        {PCX, 128, OK},         {PCX, 127, PCX_CUT},    {PNG, 33, PNG_IEND},  {PNG, 32, PNG_IHDR},
        {PNG, 326, PNG_IEND},   {GIF, 13, GIF_FIRST},   {GIF, 12, GIF_CUT},   {GIF, 79, GIF_CODE},
        {GIF, 78, GIF_DESC},    {GIF, 69, GIF_FIRST},   {GIF, 68, GIF_EXT},   {GIF, 64, GIF_EXT},
        {GIF, 0x55, GIF_PAST},  {ICO, 6, ICO_DIR},      {ICO, 5, ICO_CUT},    {ICO, 22, ICO_PAST},
        {ICO, 21, ICO_DIR},     {TIF, 8, TIFF_OUT},     {TIF, 7, TIFF_CUT},   {TIF, 40, TIFF_DIR},
        {TIF, 39, TIFF_OUT},    {TIF, 232, TIFF_ENTRY}, {TIF, 231, TIFF_DIR}, {TIF, 238, OK},
        {TIF, 237, TIFF_ENTRY}, {WEBP, 25, OK},         {WEBP, 24, WEBP_CUT}, {LOSSY, 30, OK},
        {LOSSY, 29, WEBP_CUT},  {JPG, 150, NO_FRAME}};
    for (const auto& [name, keep, reason] : cut)
        EXPECT_STREQ(reason, inspect(seed(name).substr(0, keep), std::strchr(name, '.') + 1))
            << name << " cut to " << keep;
    EXPECT_STREQ(ICO_NONE, inspect(seed(TGA), "")) << "a TGA header begins like a cursor file";

    const std::string sos = "\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00"s;  // an empty scan
    // Stray bytes hide nothing (libjpeg skips them too); a table ends a scan's data, and the
    // bytes of the table are no marker.
    std::string scans64 = "junk";
    for (int i = 0; i < 64; ++i) scans64 += sos + "\xff\xc4\0\x04\xff\xda"s;
    const std::string scans65 = scans64 + sos;
    // The ICO seed's picture header: 8 bits a pixel, then the colours it uses.
    const std::string colours256 = "\x08\0"s + std::string(16, '\0') + le32(256);
    const std::string colours257 = "\x08\0"s + std::string(16, '\0') + le32(257);
    // Values written into the seeds: sizes (BMP also top-down rows), PNG chunk lengths; JPEG: a
    // frame header after the picture, 64 and 65 scans; GIF: a comment extension, a trailer
    // instead of the picture, code sizes 8, 9, 1 and 0; TIFF: compression 6 (old JPEG), JPEG,
    // Deflate (two codes), PackBits, none (no tag), missing sides, samples per pixel and their
    // bits, a repeated tag, a text entry and one without a value, four bytes that fit the entry and
    // five stored elsewhere, the width and the tile sides (held whole) read as every integer type;
    // WEBP sizes and frame headers; icon sides of 1 and 256 pixels (the height twice, for the
    // mask), depths, compression, at most 256 colours of 8 bits and none of 32. Columns: the seed,
    // where the bytes go, the bytes, the reason.
    const std::tuple<const char*, size_t, std::string, const char*> patched[] = {
        {PNG, 11, "\x0e", PNG_IHDR},    {PNG, 33, "\x7f\xff\xff\xff", PNG_PAST},
        {JPG, 292, scans64, OK},        {PNG, 33, "\x80\0\0\0"s, PNG_LENGTH},
        {GIF, 62, "\xfe", OK},          {BMP, 22, "\xff\xdf\xff\xff"s, WIDE},
        {GIF, 69, "\x3b", GIF_NONE},    {BMP, 22, "\xfd\xff\xff\xff"s, OK},
        {GIF, 79, "\x08", OK},          {GIF, 78, "\x01", OK},
        {GIF, 78, "\x80", GIF_CODE},    {JPG, 292, scans65, JPEG_SCANS},
        {GIF, 79, "\x09", GIF_CODE},    {JPG, 163, "\0\0"s, JPEG_HEIGHT},
        {GIF, 79, "\x01", OK},          {GIF, 79, "\0"s, GIF_CODE},
        {TIF, 84, "\x05\x80", OK},      {TIF, 84, "\x06\0"s, TIFF_COMPRESSION},
        {TIF, 84, "\xb2\x80", OK},      {TIF, 40, "\xe7\x03"s, TIFF_SIZE},
        {TIF, 76, "\xe7\x03"s, OK},     {TIF, 52, "\xe7\x03"s, TIFF_SIZE},
        {TIF, 144, "\x04\0"s, OK},      {TIF, 144, "\x05\0"s, TIFF_SAMPLES},
        {TIF, 236, "\x10\0"s, OK},      {TIF, 144, "\0\0"s, TIFF_SAMPLES},
        {TIF, 42, "\x02", TIFF_TYPE},   {TIF, 236, "\x20\0"s, TIFF_BITS},
        {TIF, 84, "\x07\0"s, OK},       {TIF, 40, tiffEntry(256, 1, 4), NONE},
        {TIF, 84, "\x08\0"s, OK},       {TIF, 236, "\x03\0"s, TIFF_BITS},
        {TIF, 236, "\x01\0"s, OK},      {TIF, 40, tiffEntry(256, 1, 5), TIFF_ENTRY},
        {TIF, 236, "\x02\0"s, OK},      {TIF, 52, "\0\x01"s, TIFF_REPEATED},
        {TIF, 236, "\x04\0"s, OK},      {TIF, 44, "\0\0\0\0"s, TIFF_TYPE},
        {WEBP, 20, "\x2e", WEBP_CUT},   {TIF, 40, tiffEntry(256, 1), NONE},
        {LOSSY, 23, "\x9c", WEBP_CUT},  {TIF, 40, tiffEntry(256, 6), NONE},
        {ICO, 22, "\x89PNG", ICO_PNG},  {TIF, 40, tiffEntry(256, 3), OK},
        {ICO, 26, "\x01\0"s, OK},       {TIF, 40, tiffEntry(256, 8), OK},
        {ICO, 26, "\0\0"s, ICO_SIDE},   {TIF, 40, tiffEntry(256, 4), WIDE},
        {ICO, 26, "\0\x01"s, ICO_PAST}, {TIF, 40, tiffEntry(256, 9), WIDE},
        {ICO, 30, "\x02", OK},          {TIF, 172, tiffEntry(322, 3), OK},
        {ICO, 30, "\x01", ICO_SIDE},    {TIF, 172, tiffEntry(322, 4), WIDE},
        {ICO, 30, "\0\x02"s, ICO_PAST}, {TIF, 196, tiffEntry(323, 4), WIDE},
        {ICO, 36, "\x18", OK},          {ICO, 26, "\x01\x01", ICO_SIDE},
        {ICO, 36, "\x10", ICO_DEPTH},   {ICO, 30, "\x01\x02", ICO_SIDE},
        {ICO, 54, "\x01", ICO_PALETTE}, {ICO, 38, "\x01", ICO_COMPRESSED},
        {ICO, 36, "\x01", OK},          {ICO, 36, colours256, ICO_PAST},
        {ICO, 36, "\x04", ICO_PAST},    {ICO, 36, colours257, ICO_PALETTE}};
    for (const auto& [name, at, bytes, reason] : patched) {
        std::string file = seed(name);
        file.replace(at, bytes.size(), bytes);
        EXPECT_STREQ(reason, inspect(file, std::strchr(name, '.') + 1))
            << name << " at " << at << ": " << bytes.substr(0, 12);
    }

    const std::string jpeg = "\xff\xd8"s, sof = "\xff\xc0\0\x0b\x08\0\x03\0\x05\x01\x01\x11\0"s;
    // A segment whose bytes would read as a frame of 65535 x 65535.
    const auto notAFrame = [](char marker) {
        return "\xff"s + marker + "\0\x09\x08\xff\xff\xff\xff\x01\x01"s;
    };
    std::string icoHeader41 = seed(ICO).substr(0, 62);  // a picture header said to be 41 bytes
    icoHeader41[22] = 41;
    // Whole files: headers of exactly their size and a byte less; sides of 8192 and 4096 x 4096
    // pixels in all and a few bytes claiming 12 GB; JPEG: fill bytes, markers without a length
    // and a stray byte, tables that are no frame, a second frame header (not read), frame
    // markers CF and BF (none), segment lengths of 2, 1 and past the end, a scan's data with
    // stuffed zeros and a restart marker; GIF: a local colour table of two entries, and an empty
    // graphic control block (the decoder went on skipping blocks from the picture's 0x2c on, and
    // looped at the end of the file); PCX lines of 9 pixels of 1 bit in 2 to 18 bytes, plane
    // layouts, xmin past xmax; a big-endian TIFF; PNM sizes, comments ending at either line end,
    // maximum values, bitmaps (no maximum), nine and ten digits; refused formats. Columns: the
    // extension, the bytes, the reason.
    using File = std::tuple<const char*, std::string, const char*>;
    const std::vector<File> files = {
        {"ico", icoHeader41, ICO_HEADER},
        {"ico", icoHeader41.substr(0, 61), ICO_PAST},
        {"webp", vp8x('\0'), OK},
        {"webp", vp8x('\x02'), WEBP_ANIMATED},
        {"webp", vp8x('\0').substr(0, 29), WEBP_CUT},
        {"jpg", jpeg + sof.substr(0, 9), OK},
        {"jpg", jpeg + sof.substr(0, 8), NO_FRAME},
        {"jpg", jpeg + "\xff\xff\xd0\xff\xd7\x12\xff\x01\xff\0"s + sof, OK},
        {"jpg", jpeg + notAFrame('\xc4') + notAFrame('\xc8') + notAFrame('\xcc') + sof, OK},
        {"jpg", jpeg + sof + notAFrame('\xc1'), OK},
        {"jpg", jpeg + "\xff\xcf" + sof.substr(2), OK},
        {"jpg", jpeg + "\xff\xbf" + sof.substr(2), NO_FRAME},
        {"jpg", jpeg + "\xff\xe0\0\x02"s + sof, OK},
        {"jpg", jpeg + "\xff\xe0\0\x01"s + sof, NO_FRAME},
        {"jpg", jpeg + "\xff\xe0\xff\xff" + sof, NO_FRAME},
        {"jpg", jpeg + sof + sos + "\x12\xff\0\xff\xd3\x34\xff\xd9"s, OK},
        {"gif",
         "GIF89a\x01\0\x01\0\0\0\0\x2c\0\0\0\0\x01\0\x01\0\x80\0\0\0\xff\xff\xff\x02\x02\x44\x01\0\x3b"s,
         OK},
        {"gif", "GIF89a\x05\0\x03\0\0\0\0\x21\xf9\0\x2c\0\0\0\0\x05\0\x03\0\0\x02\x01\0\0\x3b"s,
         GIF_EXT},
        {"webp", "RIFF\0\0\0\0WEBPVP8Q"s, WEBP_CHUNK},
        {"lbm", "FORM\0\0\0\x04ILBM"s, LBM},
        {"pgm", "P5 1234567890 1 9"s, PNM_SIZE},
        {"pgm", "P5 123456789 1 9"s, WIDE},
        {"ppm", "P6 4096 4097 255"s, MANY},
        {"ppm", "P6\n#\n4 4\n65535"s, PNM_MAX},
        {"bmp", ""s, UNKNOWN}};
    const std::vector<File> sizes = {
        {"tga", tga(S, 1), OK},       {"tga", tga(S + 1, 1), WIDE},    {"tga", tga(1, S), OK},
        {"tga", tga(1, S + 1), WIDE}, {"tga", tga(0, 1), NONE},        {"tga", tga(1, 0), NONE},
        {"tga", tga(4096, 4096), OK}, {"tga", tga(4097, 4096), MANY},  {"tga", tga(S, 2048), OK},
        {"tga", tga(S, 2049), MANY},  {"TGA", tga(65535, 65535), WIDE}};
    const std::vector<File> others = {
        {"ppm", "P6 #\r4 4 255"s, OK},   {"pbm", "P4 8 2"s, OK},     {"pbm", "P1 8 2"s, OK},
        {"pbm", "P1 8"s, PNM_SIZE},      {"ppm", "P6 4 4 1"s, OK},   {"ppm", "P6 4 4 0"s, PNM_MAX},
        {"ppm", "P6 4 4 256"s, PNM_MAX}, {"xpm", "/* XPM */"s, XPM}, {"xv", "P7 332"s, XV},
        {"png", "gimp xcf v011\0"s, XCF}};
    const std::vector<File> pcxLines = {
        {"pcx", pcx(1, 4, 2), OK},        {"pcx", pcx(1, 4, 1), PCX_SHORT},
        {"pcx", pcx(1, 4, 18), OK},       {"pcx", pcx(1, 4, 19), PCX_LONG},
        {"pcx", pcx(8, 1, 9), OK},        {"pcx", pcx(1, 5, 2), PCX_LAYOUT},
        {"pcx", pcx(8, 3, 9), OK},        {"pcx", pcx(8, 2, 9), PCX_LAYOUT},
        {"pcx", pcx(8, 1, 9, 9), NONE},   {"pcx", pcx(8, 4, 9), PCX_LAYOUT},
        {"pcx", pcx(4, 1, 9), PCX_LAYOUT}};
    for (const auto* table : {&files, &sizes, &pcxLines, &others})
        for (const auto& [extension, bytes, reason] : *table)
            EXPECT_STREQ(reason, inspect(bytes, extension))
                << extension << ": " << bytes.substr(0, 30);
}

TEST(ImageDecoding, FilesAreReadUpTo65MiBAndFailuresSayWhy) {
    TempDir dir;
    EXPECT_EQ("cannot open the file: No such file or directory",
              outcome(decodeImageFile(dir.file("missing.bmp").c_str())));
    // A folder opens but does not read.
    EXPECT_EQ("cannot read the file", outcome(decodeImageFile(dir.path().c_str())));
    // A bitmap padded with zeros to the most read, and one byte more (sparse files).
    const std::string path = dir.write("big.bmp", seed("picture.bmp"));
    for (const size_t size : {MAX_IMAGE_FILE_BYTES, MAX_IMAGE_FILE_BYTES + 1}) {
        std::filesystem::resize_file(path, size);
        EXPECT_EQ(size == MAX_IMAGE_FILE_BYTES ? "5 x 3" : "file is larger than 65 MiB",
                  outcome(decodeImageFile(path.c_str())));
    }
}

TEST(ImageDecoding, DamageOnlyTheLibrariesSeeIsRefusedWithTheirReason) {
    // (Sizes at and past the largest are the header table's: decoding begins with that walk.)
    // Damage only the libraries see.
    const struct {
        const char* seed;
        std::string bytes;
        size_t at;
        const char* reason;  // SDL's error text
    } damaged[] = {
        {"picture.tif", "\xe7\x03", 112,  // the strip offsets' tag becomes 999
         "MissingRequired: TIFF directory is missing required \"StripOffsets\" field"},
        {"picture.tif", "\x63\0"s, 96,  // photometric interpretation 99
         "TIFF: Sorry, can not handle image with PhotometricInterpretation=99"},
        {"picture.tif", "\0\x10"s, 120,  // the strip lies past the end
         "TIFFFillStrip: Read error at scanline 4294967295; got 0 bytes, expected 29"},
        {"picture.webp", "\x04", 4, "WEBP picture cannot be read"},  // RIFF size
        {"picture.webp", std::string(58, '\xff'), 30, "WEBP picture data is damaged"},
    };
    for (const auto& d : damaged) {
        std::string file = seed(d.seed);
        file.replace(d.at, d.bytes.size(), d.bytes);
        EXPECT_EQ(d.reason, decodeBytes(file, "")) << d.seed << " at " << d.at;
    }
}

// Every format, and every stored layout (paletted, 24 and 32 bits, blue or red first, padded
// rows, a colour key on a used colour, an old-style bitmap header), reads back as the picture it
// holds, top row first.
TEST(ImageConversion, EveryFormatAndLayoutReadsBackAsItsPicture) {
    TempDir dir;
    const TestImage seedPicture = TestImage::gradient(5, 3), tall = TestImage::gradient(3, 5),
                    square = TestImage::gradient(4, 4), grey(2, 2, 127, 127, 127);
    std::string keyed = seed("picture.gif"), uncounted = seed(TIF);
    keyed[64] = 1, keyed[67] = 0;           // colour 0, the top left pixel's, is transparent
    uncounted.replace(160, 2, "\xe7\x03");  // no strip byte counts: libtiff measures the file
    // A 12-byte info header keeps width and height in 16 bits each, so the 32-bit reading of a
    // modern header would see 2 + 2 * 65536: 2 x 2 pixels of 24 bits, pixels at 26.
    const std::string os2 = "BM" + std::string(8, '\0') +
                            "\x1a\0\0\0\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0"s +
                            std::string(16, '\x7f');
    struct File {
        std::string path;
        const TestImage& picture;
        int tolerance;  // per channel: JPEG is lossy
    };
    std::vector<File> files = {{dir.write("keyed.gif", keyed), seedPicture, 0},
                               {dir.write("uncounted.tif", uncounted), seedPicture, 0},
                               {dir.write("os2.bmp", os2), grey, 0}};
    // Columns: the file, its picture, bits per pixel (0: a PPM).
    const std::tuple<const char*, const TestImage*, int> written[] = {
        {"tall8.bmp", &tall, 8}, {"tall.bmp", &tall, 24},     {"tall32.bmp", &tall, 32},
        {"tall.ppm", &tall, 0},  {"square.bmp", &square, 24}, {"square.ppm", &square, 0}};
    for (const auto& [name, picture, bits] : written) {
        ASSERT_TRUE(bits ? writeBmp(*picture, dir.file(name), bits)
                         : writePpm(*picture, dir.file(name)));
        files.push_back({dir.file(name), *picture, 0});
    }
    for (const char* extension :
         {"bmp", "cur", "gif", "ico", "jpg", "pcx", "png", "ppm", "tga", "tif", "webp"})
        files.push_back({std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus/image/picture." + extension,
                         seedPicture, extension == std::string("jpg") ? 12 : 0});
    for (const File& f : files) {
        std::string problem;
        const TestImage got = readImage(f.path, problem);
        ASSERT_EQ(std::make_pair(f.picture.width, f.picture.height),
                  std::make_pair(got.width, got.height))
            << f.path << ": " << problem;
        for (size_t i = 0; i < got.rgb.size(); ++i)
            ASSERT_NEAR(f.picture.rgb[i], got.rgb[i], f.tolerance) << f.path << ", byte " << i;
    }
}

// The header walk refuses empty pictures before they are converted; the conversion refuses them
// too.
TEST(ImageConversion, OnlyThreeByteRedOrBlueFirstPixelsArePlainAndEmptyOnesAreRefused) {
    SDL_Palette palette{};
    // Columns: bits and bytes per pixel, red, green and blue shifts (little-endian), the
    // channel (1 red, 2 green, 3 blue) stored with fewer bits, paletted (1), bytes per row of 4
    // pixels, plain (1). Rows: red or blue first, padded rows, rows shorter than their pixels,
    // green first or last, red and blue in one byte, a channel of fewer bits, a palette, 4 bytes.
    const int layouts[][9] = {{24, 3, 0, 8, 16, 0, 0, 12, 1}, {24, 3, 16, 8, 0, 0, 0, 12, 1},
                              {24, 3, 16, 8, 0, 0, 0, 16, 1}, {24, 3, 16, 8, 0, 0, 0, 11, 0},
                              {24, 3, 8, 0, 16, 0, 0, 12, 0}, {24, 3, 0, 16, 8, 0, 0, 12, 0},
                              {24, 3, 0, 8, 0, 0, 0, 12, 0},  {24, 3, 16, 8, 16, 0, 0, 12, 0},
                              {24, 3, 0, 8, 16, 1, 0, 12, 0}, {24, 3, 0, 8, 16, 2, 0, 12, 0},
                              {24, 3, 0, 8, 16, 3, 0, 12, 0}, {24, 3, 0, 8, 16, 0, 1, 12, 0},
                              {24, 4, 0, 8, 16, 0, 0, 16, 0}, {32, 4, 0, 8, 16, 0, 0, 16, 0}};
    for (const auto& l : layouts) {
        SDL_PixelFormat format{};
        format.BitsPerPixel = Uint8(l[0]), format.BytesPerPixel = Uint8(l[1]);
        format.Rshift = Uint8(l[2]), format.Gshift = Uint8(l[3]), format.Bshift = Uint8(l[4]);
        format.Rloss = l[5] == 1 ? 3 : 0, format.Gloss = l[5] == 2 ? 2 : 0;
        format.Bloss = l[5] == 3 ? 3 : 0;
        format.palette = l[6] ? &palette : nullptr;
        SDL_Surface surface{};
        surface.format = &format, surface.w = 4, surface.h = 1, surface.pitch = l[7];
        EXPECT_EQ(bool(l[8]), isPlain24(&surface))
            << l[0] << " bits, shifts " << l[2] << " " << l[3] << " " << l[4] << ", lossy " << l[5]
            << ", pitch " << l[7];
    }
    const char* problem = "";
    EXPECT_EQ(textureRows(SDL_CreateRGBSurface(SDL_SWSURFACE, 0, 0, 24, 0xff, 0xff00, 0xff0000, 0),
                          problem),
              nullptr);
    EXPECT_STREQ(problem, "empty image");
}

class ImageLoading : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    TextureStore store;  // loading that fails before the upload needs no GL context
};

// Names fit the locator's buffer (255 characters) and an entry's name (99); a decoding failure
// on the alpha path says nothing of its own.
TEST_F(ImageLoading, FailuresReturnNoneWithTheirMessageAndNamesAreBoundedByTheirFields) {
    dir.write("broken.bmp", std::string("BM this is not a bitmap"));
    dir.write("c.bmp", seed("picture.bmp"));
    // Its text chunk runs past the end: SDL_image's libpng reader loops for ever on it.
    dir.write("hang.png", readFile(std::string(TOVASK_SOURCE_DIR) +
                                   "/tests/regressions/image/png_text_chunk_past_the_end"));
    const std::string n99(99, 'a'), n100(100, 'b'), n255(255, 'c'), n256(256, 'd');
    const auto tooLong = [](const std::string& name, int limit) {
        return "Texture name too long (more than " + std::to_string(limit) +
               " characters): " + name.substr(0, 60) + "...\n";
    };
    const auto missing = [](const std::string& name) {
        return "Unable to locate file " + name + "\n";
    };
    captureStderr();
    for (const char* name : {"missing.bmp", "broken.bmp", "hang.png", n255.c_str(), n256.c_str(),
                             static_cast<const char*>(nullptr)})
        EXPECT_EQ(nullptr, store.loadImage(name)) << (name ? name : "null");
    const std::pair<const char*, const char*> alphas[] = {
        {n99.c_str(), "c.bmp"},  {n100.c_str(), "c.bmp"}, {"c.bmp", n255.c_str()},
        {"c.bmp", n256.c_str()}, {"broken.bmp", "c.bmp"}, {"c.bmp", "broken.bmp"},
        {nullptr, "c.bmp"},      {"c.bmp", nullptr}};
    for (const auto& [colour, alpha] : alphas) EXPECT_EQ(-1, store.loadAlphaTexture(colour, alpha));
    for (const char* name : {n99.c_str(), n100.c_str(), static_cast<const char*>(nullptr)})
        EXPECT_EQ(std::make_pair(-1, -1),
                  std::make_pair(store.getTexture(name), store.getTextureAuto(name)));
    EXPECT_EQ(capturedStderr(),
              missing("missing.bmp") + "Unable to load broken.bmp: BMP header cut short\n" +
                  "Unable to load hang.png: PNG chunk runs past the end of the file\n" +
                  missing(n255) + tooLong(n256, 255) + missing(n99) + tooLong(n100, 99) +
                  missing(n255) + tooLong(n256, 255) + missing(n99) + missing(n99) +
                  tooLong(n100, 99) + tooLong(n100, 99));
    EXPECT_EQ(0, store.count());
}
