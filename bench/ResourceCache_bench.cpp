// Cost of decoding and converting texture images, and of a model cache lookup in a full table.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ModelStore.h"
#include "TdsWriter.h"
#include "TextureStore.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under /tmp made the working directory for one benchmark, so
// the data-file locator finds the files written there first.
class Workspace {
public:
    Workspace() : previous_(fs::current_path()) {
        char pattern[] = "/tmp/tovask-bench-XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "/tmp";
        fs::current_path(path_);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        if (path_ != "/tmp") fs::remove_all(path_, ignored);
    }

private:
    fs::path previous_;
    std::string path_;
};

// A 256 x 256 picture saved at the given depth (24-bit BGR rows, or 8-bit paletted).
void saveImage(const char* name, int bitsPerPixel) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, bitsPerPixel, 0xff0000, 0x00ff00,
                                          0x0000ff, 0);
    if (!s) return;
    if (bitsPerPixel == 8) {
        SDL_Color palette[256];
        for (int i = 0; i < 256; ++i) palette[i] = {Uint8(i), Uint8(255 - i), Uint8(i / 2), 0};
        SDL_SetColors(s, palette, 0, 256);
    }
    auto* bytes = static_cast<Uint8*>(s->pixels);
    for (int i = 0; i < s->pitch * s->h; ++i) bytes[i] = Uint8(i * 7);
    SDL_SaveBMP(s, name);
    SDL_FreeSurface(s);
}

// Decode, convert to bottom-up RGB, free: what every texture load pays before GL.
void loadImage(benchmark::State& state) {
    Workspace workspace;
    const int bits = int(state.range(0));
    saveImage("picture.bmp", bits);
    TextureStore store;
    for (auto _ : state) {
        SDL_Surface* s = store.loadImage("picture.bmp");
        benchmark::DoNotOptimize(s);
        if (s) SDL_FreeSurface(s);
    }
    state.SetLabel(std::to_string(bits) + "-bit 256x256");
}
BENCHMARK(loadImage)->Arg(24)->Arg(8)->Unit(benchmark::kMicrosecond);

// A hit and release on the last entry of a full table: 100 entries scanned,
// the same file with 100 skins (list mode 7 builds no lists, so no GL is needed).
void modelStoreHit(benchmark::State& state) {
    Workspace workspace;
    TdsScene scene;
    TdsObject o;
    o.name = "tri";
    o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    o.faces = {0, 1, 2};
    scene.objects.push_back(o);
    saveTds(scene, "m.3ds");
    // The cache logs every load and hit on stdout, which would swamp the report.
    std::fflush(stdout);
    const int saved = dup(1);
    if (!std::freopen("/dev/null", "w", stdout)) return;
    {
        ModelStore store;
        for (int i = 0; i < ModelStore::MAX_MODELS; ++i)
            store.getModel("m.3ds", ("skin" + std::to_string(i)).c_str(), "", 7, false, false,
                           false);
        for (auto _ : state) {
            Model* m = store.getModel("M.3DS", "SKIN99", "", 7, false, false, false);
            benchmark::DoNotOptimize(m);
            store.releaseModel(m);
        }
    }
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
}
BENCHMARK(modelStoreHit);

}  // namespace
