// The GL state the game draws its scenes in: textures, depth, culling, the one light.
#pragma once

// Textures on; depth test (less or equal); back faces culled; the blend and
// alpha-test functions that textures with an alpha companion use; GL_LIGHT0
// with its default direction (from the viewer), smooth shading and the
// material following glColor, ambient and diffuse light and material at 0.9
// grey. The window's set-up and the tools that draw as the game does call it.
void setDrawingState();

// Material ambient and diffuse (front and back) and the light's ambient colour,
// all the same grey level (0 to 1); the light's diffuse colour is kept.
void setLightLevel(float level);
