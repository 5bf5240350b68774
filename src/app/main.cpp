// Program entry: settings, SDL, OpenGL, GRun, the main loop and an orderly shutdown.
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "Display.h"
#include "GRun.h"
#include "MainLoop.h"
#include "Settings.h"

int main(int, char**) {
    // Line-buffered so progress lines interleave correctly with stderr.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    settings.load();
    std::printf("Setting Loaded.\n");
    initSdl();
    std::printf("SDL Inicialized.\n");
    initGl(settings.width, settings.height);
    std::printf("OpenGL Inicialized.\n");

    gRun = new (std::nothrow) GRun;
    if (!gRun) {  // GCOVR_EXCL_START: only when memory runs out
        std::fprintf(stderr, "Unable to init game - creating of GRun failed\n");
        SDL_Quit();
        std::exit(3);
    }  // GCOVR_EXCL_STOP
    gRun->goToMenu();
    std::printf("Game Inicialized.\n");
    const Uint32 start = SDL_GetTicks();
    std::printf("Entering main game loop.\n");
    runMainLoop(start);

    std::printf("Delleting all..\n");
    delete gRun;
    gRun = nullptr;
    SDL_Quit();
    std::printf("OK\nEnd.\n");
    return 0;
}
