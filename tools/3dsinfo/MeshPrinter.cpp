// Formats an imported mesh as JSON (one line per file) or as readable text.
#include "MeshPrinter.h"

#include <cmath>

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the
// bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF included).
size_t utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t n;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < n; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return n;
}

void appendEscape(std::string& out, unsigned char c) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    out += code;
}

std::string vec(const Vec3& v) {
    return "[" + jsonNumber(v.x) + "," + jsonNumber(v.y) + "," + jsonNumber(v.z) + "]";
}

std::string materialJson(size_t index, const Material& m) {
    return "{\"index\":" + std::to_string(index) + ",\"name\":" + jsonString(m.name) +
           ",\"textureFile\":" + jsonString(m.textureFile) + ",\"colour\":[" +
           std::to_string(m.colour[0]) + "," + std::to_string(m.colour[1]) + "," +
           std::to_string(m.colour[2]) + "]}";
}

std::string objectJson(size_t index, const MeshObject& o) {
    std::string s = "{\"index\":" + std::to_string(index) + ",\"name\":" + jsonString(o.name) +
                    ",\"visible\":" + (o.visible ? "true" : "false") +
                    ",\"vertices\":" + std::to_string(o.vertexCount()) +
                    ",\"faces\":" + std::to_string(o.faceCount()) +
                    ",\"uvs\":" + std::to_string(o.uvCount()) +
                    ",\"materialIndex\":" + std::to_string(o.materialIndex);
    if (!o.vertices.empty())
        s += ",\"boundsMin\":" + vec(o.boundsMin) + ",\"boundsMax\":" + vec(o.boundsMax);
    return s + "}";
}

std::string textVec(const Vec3& v) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", double(v.x), double(v.y), double(v.z));
    return text;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, c);
        } else if (c >= 0x80) {
            const size_t n = utf8Length(text, i);
            if (n == 0) {
                appendEscape(out, c);
            } else {
                out.append(text, i, n);
                i += n;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string jsonNumber(float value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

void printJson(FILE* out, const char* path, const MeshData& mesh) {
    std::string line = "{\"file\":" + jsonString(path) + ",\"materials\":[";
    for (size_t i = 0; i < mesh.materials.size(); ++i)
        line += (i ? "," : "") + materialJson(i, mesh.materials[i]);
    line += "],\"objects\":[";
    for (size_t i = 0; i < mesh.objects.size(); ++i)
        line += (i ? "," : "") + objectJson(i, mesh.objects[i]);
    line += "]}\n";
    std::fputs(line.c_str(), out);
}

void printText(FILE* out, const char* path, const MeshData& mesh, const ImportReport& report) {
    std::fprintf(out, "%s: version %u, %d objects, %d materials\n", path, report.version,
                 mesh.objectCount(), mesh.materialCount());
    for (size_t i = 0; i < mesh.objects.size(); ++i) {
        const MeshObject& o = mesh.objects[i];
        std::fprintf(out, "  object %zu %s%s: %d vertices, %d faces, %d uvs, material %d", i,
                     jsonString(o.name).c_str(), o.visible ? "" : " (invisible)", o.vertexCount(),
                     o.faceCount(), o.uvCount(), o.materialIndex);
        if (!o.vertices.empty())
            std::fprintf(out, ", bounds %s - %s", textVec(o.boundsMin).c_str(),
                         textVec(o.boundsMax).c_str());
        std::fputc('\n', out);
    }
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        const Material& m = mesh.materials[i];
        std::fprintf(out, "  material %zu %s: texture %s, colour %d %d %d\n", i,
                     jsonString(m.name).c_str(), jsonString(m.textureFile).c_str(), m.colour[0],
                     m.colour[1], m.colour[2]);
    }
    std::fprintf(out, "  triangles: %d\n", mesh.triangleCount);
    if (!mesh.objects.empty())
        std::fprintf(out, "  bounds: %s - %s, radius %g\n", textVec(mesh.boundsMin).c_str(),
                     textVec(mesh.boundsMax).c_str(), double(mesh.radius));
    for (const std::string& w : report.warnings) {
        const std::string quoted = jsonString(w);  // escaped for the terminal
        std::fprintf(out, "  warning: %s\n", quoted.substr(1, quoted.size() - 2).c_str());
    }
}
