// The size of the picture being drawn, which every perspective takes its aspect from.
#pragma once

// Pixels, as last given to the GL set-up of the window (or of an off-screen buffer).
extern float screenWidth;
extern float screenHeight;
