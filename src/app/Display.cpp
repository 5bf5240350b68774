// SDL video start-up, OpenGL window state, event dispatch and the full-screen toggle.
#include "Display.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "BitmapFont.h"
#include "DataLocator.h"
#include "DrawingState.h"
#include "GRun.h"
#include "ImageSurface.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TextureStore.h"

namespace {

constexpr const char* WINDOW_CAPTION = "Tovask ( Pelmo II )";
constexpr const char* FONT_FILE = "font.bmp";
// The window's icon (drawn 32 x 32 by the content generator; any size works).
constexpr const char* ICON_FILE = "icon.png";

void setHints(GLenum quality) {
    constexpr GLenum HINTS[] = {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT,
                                GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
    for (GLenum hint : HINTS) glHint(hint, quality);
}

// Fog is only configured here; the fight switches it on and off.
void setFog() {
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_DENSITY, 10.0f);
    glFogf(GL_FOG_START, 100.0f);
    glFogf(GL_FOG_END, 200.0f);
}

// SDL 1.2 takes the icon only before the video mode is set. Without a usable
// icon file the window simply has none; the one line on stderr says why.
void setWindowIcon() {
    char path[DATA_NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", ICON_FILE);
    if (!locateDataFile(path, true)) return;
    const std::unique_ptr<SDL_Surface, SurfaceDeleter> icon(decodeImageFile(path));
    if (!icon) {
        std::fprintf(stderr, "Unable to load icon %s: %s\n", path, SDL_GetError());
        return;
    }
    SDL_WM_SetIcon(icon.get(), nullptr);  // SDL keeps a copy
}

}  // namespace

void initSdl() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Unable to initialize SDL: %s\n", SDL_GetError());
        std::exit(1);
    }
    std::atexit(SDL_Quit);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    setWindowIcon();
    Uint32 flags = SDL_OPENGL;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    if (!SDL_SetVideoMode(settings.width, settings.height, settings.bitsPerPixel, flags)) {
        std::fprintf(stderr, "Unable to create OpenGL screen: %s\n", SDL_GetError());
        SDL_Quit();
        std::exit(2);
    }
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    SDL_ShowCursor(SDL_DISABLE);
}

void initGl(int width, int height) {
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    screenWidth = static_cast<float>(width);
    screenHeight = static_cast<float>(height);
    // A zero height (a short settings file) would make the aspect infinite or NaN
    // and the whole projection unusable.
    const float aspect = screenHeight > 0.0f ? screenWidth / screenHeight : 1.0f;
    gluPerspective(45.0, aspect, 1.0, 250.0);
    glMatrixMode(GL_MODELVIEW);

    glPolygonMode(GL_FRONT_AND_BACK, settings.filledPolygons ? GL_FILL : GL_LINE);
    setHints(settings.niceHints ? GL_NICEST : GL_FASTEST);
    setFog();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
            GL_ACCUM_BUFFER_BIT);
    setDrawingState();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    textureStore.setTextureQuality(settings.textureQuality);
    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    std::printf("GL Extensions: %s\n", extensions ? reinterpret_cast<const char*>(extensions) : "");
    bitmapFont.loadFont(FONT_FILE);
}

bool pollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_KEYDOWN:
                if (event.key.keysym.sym == SDLK_F1)
                    toggleFullScreen();
                else if (gRun)
                    gRun->keyDown(event.key.keysym.sym);
                break;
            case SDL_KEYUP:
                if (gRun) gRun->keyUp(event.key.keysym.sym);
                break;
            case SDL_QUIT:
                return false;
            case SDL_VIDEORESIZE:
                initGl(event.resize.w, event.resize.h);
                break;
            case SDL_VIDEOEXPOSE:
                if (gRun) gRun->draw();
                break;
            default:
                break;
        }
    }
    return true;
}

void toggleFullScreen() {
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen && SDL_WM_ToggleFullScreen(screen) == 1) return;
    std::fprintf(stderr, "Unable to toggle fullscreen: %s\n", SDL_GetError());
}
