// The program-wide objects, defined in one place so they are built in this
// order and destroyed in the reverse order at exit.
#include "BitmapFont.h"
#include "FrameStats.h"
#include "GRun.h"
#include "ModelStore.h"
#include "Settings.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

Settings settings;
TransparentQueue transparentQueue;
ModelStore modelStore;
BitmapFont bitmapFont;
TextureStore textureStore;
ViewFrustum viewFrustum;
FrameStats frameStats;

GRun* gRun = nullptr;
float screenWidth = 0.0f;  // window size in pixels as last given to initGl
float screenHeight = 0.0f;
