// The three maps: each a level, optional ground and roof, and a separate collision model.
#include "Maps.h"

namespace {

struct MapEntry {
    const char* id;  // file prefix in models/
    MapModels (*build)();
};

// Columns: file prefix, builder.
constexpr MapEntry MAPS[] = {
    {"arena", buildArena},
    {"bunker", buildBunker},
    {"canyon", buildCanyon},
};

}  // namespace

bool writeMaps(const std::string& modelDir) {
    bool ok = true;
    for (const MapEntry& m : MAPS) ok = saveMap(m.build(), modelDir, m.id) && ok;
    return ok;
}
