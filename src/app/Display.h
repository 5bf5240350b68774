// SDL start-up, the OpenGL state of the window, the event pump and full screen.
#pragma once

// SDL with a timer and an OpenGL video mode from the settings. Ends the process
// with status 1 (SDL cannot start) or 2 (no video mode).
void initSdl();
// The whole OpenGL state for a window of width x height pixels; (re)loads the font.
void initGl(int width, int height);
// Drains the event queue into gRun; false as soon as a quit event is seen.
bool pollEvents();
void toggleFullScreen();
