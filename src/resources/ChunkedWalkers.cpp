// Header walkers of the formats made of chunks, segments or blocks: PNG, JPEG, GIF, TIFF, WEBP.
#include <cstring>
#include <iterator>

#include "ImageWalkers.h"

namespace {

// A progressive JPEG needs about ten scans; each scan makes the decoder pass
// over every coefficient of the picture again, so a few bytes per scan would
// buy seconds.
constexpr int MAX_JPEG_SCANS = 64;
// TIFF compression schemes decoded: none, LZW, JPEG, Deflate (two codes), PackBits.
constexpr uint32_t TIFF_COMPRESSIONS[] = {1, 5, 7, 8, 32946, 32773};

bool same(const ImageBytes& f, size_t at, const char* text, size_t n) {
    return f.has(at, n) && std::memcmp(f.data + at, text, n) == 0;
}

// Skips GIF data sub-blocks (a length byte, that many bytes, until a zero
// length); false when they run past the end of the file.
bool skipSubBlocks(const ImageBytes& f, size_t& at) {
    for (;;) {
        if (!f.has(at, 1)) return false;
        const size_t n = f.data[at++];
        if (n == 0) return true;
        if (!f.has(at, n)) return false;
        at += n;
    }
}

}  // namespace

// libpng is fed through a reader that ignores short reads: a chunk running past
// the end of the file makes it re-read stale bytes for ever. So every chunk up
// to IEND must lie inside the file; nothing after IEND is read.
const char* walkPng(const ImageBytes& f, ImageHeader& header) {
    size_t at = 8;
    if (!f.has(at, 8 + 13 + 4) || !same(f, at + 4, "IHDR", 4) || f.be32(at) != 13)
        return "PNG file does not begin with its IHDR chunk";
    setSize(header, f.be32(at + 8), f.be32(at + 12));
    for (;;) {
        if (!f.has(at, 12)) return "PNG file ends before its IEND chunk";
        const uint32_t length = f.be32(at);
        if (length > 0x7fffffffu) return "PNG chunk length out of range";
        if (!f.has(at + 8, size_t(length) + 4)) return "PNG chunk runs past the end of the file";
        if (same(f, at + 4, "IEND", 4)) return nullptr;
        at += 12 + size_t(length);
    }
}

// The frame header (SOFn) gives the size; scans are counted up to the end of
// the file or EOI, skipping their entropy-coded data. A file cut short is
// decoded as far as it goes (libjpeg ends it for us).
const char* walkJpeg(const ImageBytes& f, ImageHeader& header) {
    size_t at = 2;
    bool frame = false;
    int scans = 0;
    while (f.has(at, 1)) {
        // libjpeg skips stray bytes up to the next marker, and so must the count.
        if (f.data[at++] != 0xff) continue;
        while (f.has(at, 1) && f.data[at] == 0xff) ++at;  // fill bytes
        if (!f.has(at, 1)) break;
        const uint8_t marker = f.data[at++];
        if (marker == 0xd9) break;  // EOI
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            continue;  // no length
        if (!f.has(at, 2) || f.be16(at) < 2) break;
        const size_t length = f.be16(at);
        const bool sof =
            marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (sof && !frame && f.has(at, 7)) {
            frame = true;
            setSize(header, f.be16(at + 5), f.be16(at + 3));
            if (header.height == 0) return "JPEG whose height comes after the picture";
        }
        at += length;
        if (marker != 0xda) continue;
        if (++scans > MAX_JPEG_SCANS) return "JPEG with more than 64 scans";
        // Entropy-coded data ends at the first marker other than a stuffed
        // zero or a restart marker.
        while (f.has(at, 2) && !(f.data[at] == 0xff && f.data[at + 1] != 0 &&
                                 (f.data[at + 1] < 0xd0 || f.data[at + 1] > 0xd7)))
            ++at;
    }
    return frame ? nullptr : "JPEG file without a frame header";
}

// The decoder reads the first picture of the file and sizes it by that
// picture's own descriptor, not by the logical screen.
const char* walkGif(const ImageBytes& f, ImageHeader& header) {
    if (!f.has(0, 13)) return "GIF header cut short";
    size_t at = 13;
    if (f.data[10] & 0x80) at += size_t(3) << ((f.data[10] & 7) + 1);  // global colour table
    for (;;) {
        if (!f.has(at, 1)) return "GIF file ends before its first picture";
        const uint8_t block = f.data[at++];
        if (block == 0x21) {  // extension: label, then sub-blocks
            // The decoder reads the first block of a graphic control extension
            // whole, even an empty one, and then skips blocks up to an empty
            // one; at the end of the file it would skip for ever.
            const bool control = f.has(at, 1) && f.data[at] == 0xf9;
            ++at;
            if (control && (!f.has(at, 1) || !f.has(at + 1, f.data[at])))
                return "GIF extension runs past the end of the file";
            if (control) at += 1 + size_t(f.data[at]);
            if (!skipSubBlocks(f, at)) return "GIF extension runs past the end of the file";
        } else if (block == 0x2c) {
            if (!f.has(at, 9)) return "GIF picture descriptor cut short";
            setSize(header, f.le16(at + 4), f.le16(at + 6));
            const uint8_t flags = f.data[at + 8];
            at += 9;
            if (flags & 0x80) at += size_t(3) << ((flags & 7) + 1);  // local colour table
            // The decoder's string table holds 4096 codes: 8-bit pixels at most.
            if (!f.has(at, 1) || f.data[at] < 1 || f.data[at] > 8)
                return "GIF picture with a code size out of range (1 to 8)";
            ++at;
            if (!skipSubBlocks(f, at)) return "GIF picture runs past the end of the file";
            return nullptr;
        } else {
            return "GIF file without a picture";
        }
    }
}

// Only the first directory is read, and only the tags that decide how much
// the decoder allocates and which codec runs. libtiff takes these from entries
// of any integer type and keeps one of two entries with the same tag, so the
// walker reads every integer type and refuses repeated tags.
const char* walkTiff(const ImageBytes& f, ImageHeader& header) {
    const bool big = f.data[0] == 'M';
    const auto u16 = [&](size_t at) { return big ? f.be16(at) : f.le16(at); };
    const auto u32 = [&](size_t at) { return big ? f.be32(at) : f.le32(at); };
    // An integer of the given TIFF type at at: byte, short, long (signed or not).
    const auto integer = [&](uint32_t type, size_t at) -> uint32_t {
        if (type == 1 || type == 6) return f.data[at];
        return type == 3 || type == 8 ? u16(at) : u32(at);
    };
    if (!f.has(0, 8)) return "TIFF header cut short";
    const size_t directory = u32(4);
    if (!f.has(directory, 2)) return "TIFF directory outside the file";
    const size_t entries = u16(directory);
    if (!f.has(directory + 2, entries * 12)) return "TIFF directory runs past the end of the file";
    // Columns of the tags read: tag, value (defaults as libtiff's).
    struct Tag {
        uint32_t tag, value;
        bool seen;
    } tags[] = {{256, 0, false}, {257, 0, false}, {258, 1, false}, {259, 1, false},
                {277, 1, false}, {322, 1, false}, {323, 1, false}};
    enum { WIDTH, HEIGHT, BITS, COMPRESSION, SAMPLES, TILE_WIDTH, TILE_HEIGHT };
    for (size_t i = 0; i < entries; ++i) {
        const size_t at = directory + 2 + 12 * i;
        const uint32_t tag = u16(at), type = u16(at + 2), count = u32(at + 4);
        Tag* t = std::find_if(std::begin(tags), std::end(tags),
                              [&](const Tag& x) { return x.tag == tag; });
        if (t == std::end(tags)) continue;
        if (t->seen) return "TIFF directory with a repeated tag";
        t->seen = true;
        const uint32_t size = type == 1 || type == 6 ? 1 : type == 3 || type == 8 ? 2 : 4;
        if (count < 1 ||
            (type != 1 && type != 3 && type != 4 && type != 6 && type != 8 && type != 9))
            return "TIFF directory entry of an unexpected type";
        // Values wider than the entry's 4 bytes (bits per sample, one per
        // sample) are elsewhere in the file; the first one is checked.
        const size_t value = uint64_t(count) * size <= 4 ? at + 8 : u32(at + 8);
        if (!f.has(value, size)) return "TIFF directory entry outside the file";
        t->value = integer(type, value);
    }
    const uint32_t bits = tags[BITS].value, compression = tags[COMPRESSION].value;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        return "TIFF samples of a depth not read (1, 2, 4, 8 or 16 bits are)";
    if (tags[SAMPLES].value < 1 || tags[SAMPLES].value > 4)
        return "TIFF samples per pixel out of range (1 to 4)";
    if (std::find(std::begin(TIFF_COMPRESSIONS), std::end(TIFF_COMPRESSIONS), compression) ==
        std::end(TIFF_COMPRESSIONS))
        return "TIFF compression not read (none, LZW, JPEG, Deflate and PackBits are)";
    if (!tags[WIDTH].seen || !tags[HEIGHT].seen) return "TIFF without a picture size";
    // The decoder holds one whole tile in memory too.
    if (const char* problem = imageSizeProblem(tags[TILE_WIDTH].value, tags[TILE_HEIGHT].value))
        return problem;
    setSize(header, tags[WIDTH].value, tags[HEIGHT].value);
    return nullptr;
}

// Lossy ("VP8 "), lossless ("VP8L") and extended ("VP8X") files; libwebp
// decodes still pictures only.
const char* walkWebp(const ImageBytes& f, ImageHeader& header) {
    const size_t at = 20;  // the first chunk's data
    if (same(f, 12, "VP8 ", 4)) {
        if (!f.has(at, 10) || !same(f, at + 3, "\x9d\x01\x2a", 3))
            return "WEBP frame header cut short";
        setSize(header, f.le16(at + 6) & 0x3fff, f.le16(at + 8) & 0x3fff);
    } else if (same(f, 12, "VP8L", 4)) {
        if (!f.has(at, 5) || f.data[at] != 0x2f) return "WEBP frame header cut short";
        const uint32_t bits = f.le32(at + 1);
        setSize(header, (bits & 0x3fff) + 1, ((bits >> 14) & 0x3fff) + 1);
    } else if (same(f, 12, "VP8X", 4)) {
        if (!f.has(at, 10)) return "WEBP frame header cut short";
        if (f.data[at] & 0x02) return "animated WEBP files are not read";
        setSize(header, (f.le32(at + 4) & 0xffffff) + 1, (f.le32(at + 6) >> 8) + 1);
    } else {
        return "WEBP file without a picture chunk";
    }
    return nullptr;
}
