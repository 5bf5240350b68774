// PNG encoding: chunks with their CRC-32, a zlib stream with its Adler-32, and a deflate block
// of fixed Huffman codes over greedy matches found through a hash of three bytes.
#include "PngFile.h"

#include <array>
#include <cstring>

namespace {

// Appends bits to a byte stream from the least significant bit up, as deflate packs them.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void bits(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) put((value >> i) & 1u);
    }
    // Huffman codes go most significant bit first.
    void code(uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) put((value >> i) & 1u);
    }
    void flush() {
        if (used_ > 0) out_.push_back(current_);
        current_ = 0;
        used_ = 0;
    }

private:
    void put(uint32_t bit) {
        current_ = uint8_t(current_ | (bit << used_));
        if (++used_ == 8) flush();
    }
    std::vector<uint8_t>& out_;
    uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of a symbol 0 to 287.
void literalCode(BitWriter& w, int symbol) {
    if (symbol < 144)
        w.code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.code(symbol - 256, 7);
    else
        w.code(0xC0 + symbol - 280, 8);
}

// Columns: first length (or distance) of the code, extra bits.
struct CodeBase {
    int base;
    int extra;
};
constexpr CodeBase LENGTHS[29] = {
    {3, 0},  {4, 0},  {5, 0},  {6, 0},   {7, 0},   {8, 0},   {9, 0},   {10, 0},  {11, 1}, {13, 1},
    {15, 1}, {17, 1}, {19, 2}, {23, 2},  {27, 2},  {31, 2},  {35, 3},  {43, 3},  {51, 3}, {59, 3},
    {67, 4}, {83, 4}, {99, 4}, {115, 4}, {131, 5}, {163, 5}, {195, 5}, {227, 5}, {258, 0}};
constexpr CodeBase DISTANCES[30] = {{1, 0},     {2, 0},     {3, 0},      {4, 0},      {5, 1},
                                    {7, 1},     {9, 2},     {13, 2},     {17, 3},     {25, 3},
                                    {33, 4},    {49, 4},    {65, 5},     {97, 5},     {129, 6},
                                    {193, 6},   {257, 7},   {385, 7},    {513, 8},    {769, 8},
                                    {1025, 9},  {1537, 9},  {2049, 10},  {3073, 10},  {4097, 11},
                                    {6145, 11}, {8193, 12}, {12289, 12}, {16385, 13}, {24577, 13}};

constexpr int MIN_MATCH = 3, MAX_MATCH = 258;
constexpr size_t WINDOW = 32768;  // farthest distance deflate can say
constexpr int HASH_BITS = 15;

// The last code whose base is at most value.
int codeFor(const CodeBase* table, int count, int value) {
    int i = count - 1;
    while (table[i].base > value) --i;
    return i;
}

void match(BitWriter& w, int length, int distance) {
    const int l = codeFor(LENGTHS, 29, length);
    literalCode(w, 257 + l);
    w.bits(uint32_t(length - LENGTHS[l].base), LENGTHS[l].extra);
    const int d = codeFor(DISTANCES, 30, distance);
    w.code(uint32_t(d), 5);
    w.bits(uint32_t(distance - DISTANCES[d].base), DISTANCES[d].extra);
}

uint32_t hash3(const uint8_t* p) {
    return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - HASH_BITS);
}

// One final block of fixed codes. Each position is matched against the last
// earlier position with the same hash of its next three bytes.
void deflateFixed(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
    BitWriter w(out);
    w.bits(1, 1);  // final block
    w.bits(1, 2);  // fixed Huffman codes
    std::vector<int64_t> last(size_t(1) << HASH_BITS, -1);
    const size_t n = data.size();
    size_t i = 0;
    while (i < n) {
        int length = 0;
        size_t from = 0;
        if (i + MIN_MATCH <= n) {
            const uint32_t h = hash3(&data[i]);
            const int64_t candidate = last[h];
            last[h] = int64_t(i);
            if (candidate >= 0 && i - size_t(candidate) <= WINDOW) {
                from = size_t(candidate);
                const size_t most = n - i < size_t(MAX_MATCH) ? n - i : size_t(MAX_MATCH);
                while (size_t(length) < most &&
                       data[from + size_t(length)] == data[i + size_t(length)])
                    ++length;
            }
        }
        if (length >= MIN_MATCH) {
            match(w, length, int(i - from));
            // The positions inside the match feed the hash for later matches.
            for (size_t k = i + 1; k < i + size_t(length) && k + MIN_MATCH <= n; ++k)
                last[hash3(&data[k])] = int64_t(k);
            i += size_t(length);
        } else {
            literalCode(w, data[i]);
            ++i;
        }
    }
    literalCode(w, 256);  // end of block
    w.flush();
}

std::array<uint32_t, 256> crcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

uint32_t crc32(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = crcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    constexpr uint32_t MOD = 65521;
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % MOD;
        b = (b + a) % MOD;
    }
    return b << 16 | a;
}

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
    putU32(out, uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putU32(out, crc32(&out[start], out.size() - start));
}

}  // namespace

std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgb, int width, int height) {
    // Every row starts with filter type 0: the bytes as they are.
    const size_t row = size_t(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + long(row * size_t(y)),
                   rgb.begin() + long(row * (size_t(y) + 1)));
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
    deflateFixed(raw, zlib);
    putU32(zlib, adler32(raw));

    std::vector<uint8_t> header;
    putU32(header, uint32_t(width));
    putU32(header, uint32_t(height));
    // 8 bits per sample, colour type 2 (RGB), deflate, adaptive filters, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", {});
    return png;
}
