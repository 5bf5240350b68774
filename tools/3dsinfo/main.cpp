// tovask-3dsinfo FILE...: what the game's 3DS reader makes of each file.
#include <cstdio>
#include <cstring>
#include <vector>

#include "ChunkReader.h"
#include "MeshData.h"
#include "MeshPrinter.h"

namespace {

void usage(std::FILE* out) {
    std::fputs(
        "usage: tovask-3dsinfo [--json] FILE...\n"
        "Prints the objects, materials, bounds and warnings the game's 3DS reader\n"
        "finds in each file; --json prints one JSON line per file.\n",
        out);
}

// Imports and builds the bounds the game would; false when the file cannot
// be opened or is not a 3DS file (the reader has said why on stderr).
bool describe(const char* path, bool json) {
    MeshData mesh;
    ImportReport report;
    if (!ChunkReader::import(mesh, path, &report)) return false;
    mesh.computeBounds();
    if (json)
        printJson(stdout, path, mesh);
    else
        printText(stdout, path, mesh, report);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool json = false;
    std::vector<const char*> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
        } else if (options && std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (options &&
                   (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)) {
            usage(stdout);
            return 0;
        } else if (options && argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "tovask-3dsinfo: unknown option %s\n", argv[i]);
            usage(stderr);
            return 2;
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        usage(stderr);
        return 2;
    }
    bool allRead = true;
    for (const char* path : files) allRead = describe(path, json) && allRead;
    std::fflush(stdout);
    return allRead ? 0 : 1;
}
