// The program-wide drawing objects, defined in one place so they are built in
// this order and destroyed in the reverse order at exit: whatever a later one
// holds of an earlier one (the font's texture, a model's) is gone first.
#include "BitmapFont.h"
#include "ModelStore.h"
#include "ScreenSize.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

TransparentQueue transparentQueue;
ModelStore modelStore;
BitmapFont bitmapFont;
TextureStore textureStore;
ViewFrustum viewFrustum;

float screenWidth = 0.0f;
float screenHeight = 0.0f;
