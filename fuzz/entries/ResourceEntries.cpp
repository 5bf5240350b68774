// Fuzz entry points of the resource readers: 3DS files, animation files, images.
#include <SDL.h>

#include <cstdlib>
#include <memory>

#include "ChunkReader.h"
#include "CollisionMap.h"
#include "FuzzEntries.h"
#include "ImageSurface.h"
#include "Mesh.h"
#include "Model.h"
#include "ScratchData.h"

namespace {

// Key files an animation input may carry; more parts are ignored.
constexpr size_t MAX_KEY_PARTS = 8;
// The fight's collision cell size in world units.
constexpr float CELL_SIZE = 20.0f;

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Decodes the way texture files are, as if named with the extension.
SDL_Surface* decode(const std::string& bytes, const char* extension = "tga") {
    return decodeImage(bytes.data(), bytes.size(), extension);
}

}  // namespace

int fuzzTds(const uint8_t* data, size_t size) {
    Mesh mesh;
    ImportReport report;  // keeps the damage notes off stderr
    ChunkReader::importMemory(mesh, data, size, "fuzz.3ds", &report);
    mesh.computeNormals();
    mesh.computeBounds();
    // Downloaded maps bring their own collision model.
    CollisionMap map(Vec3{CELL_SIZE, CELL_SIZE, CELL_SIZE}, mesh);
    return 0;
}

int fuzzAnimation(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitParts(data, size);
    ScratchData scratch;
    scratch.work.write("anim3", parts[0]);
    for (size_t k = 1; k < parts.size() && k <= MAX_KEY_PARTS; ++k)
        scratch.work.write("k" + std::to_string(k) + ".3ds", parts[k]);
    const int mirrors = int(size % 8);
    Model model;
    if (model.load("anim3", LISTS_NONE, mirrors & 1, mirrors & 2, mirrors & 4)) {
        model.advance(int(size));
        model.advance(-7);
        model.setTime(model.length + 3);
    }
    return 0;
}

int fuzzImage(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitParts(data, size);
    const char* problem = "";
    // Named anything but TGA too when that changes the decoder: a TGA header
    // can begin like an icon directory.
    const uint8_t* first = reinterpret_cast<const uint8_t*>(parts[0].data());
    if (imageFormatOf(first, parts[0].size(), "tga") != imageFormatOf(first, parts[0].size(), ""))
        SurfacePtr(textureRows(decode(parts[0], ""), problem));
    SurfacePtr rows(textureRows(decode(parts[0]), problem));
    if (parts.size() < 2) return 0;
    SurfacePtr colour(toPlain24(decode(parts[0])));
    SurfacePtr alpha(toPlain24(decode(parts[1])));
    if (!colour || !alpha || colour->w != alpha->w || colour->h != alpha->h) return 0;
    uint8_t* rgba = static_cast<uint8_t*>(std::malloc(size_t(colour->w) * colour->h * 4 + 1));
    if (rgba) fillRgba(colour.get(), alpha.get(), rgba);
    std::free(rgba);
    return 0;
}
