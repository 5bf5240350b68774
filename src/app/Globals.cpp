// The program-wide objects, defined in one place so they are built in this
// order and destroyed in the reverse order at exit.
#include "BitmapFont.h"
#include "FrameStats.h"
#include "ModelStore.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

TransparentQueue transparentQueue;
ModelStore modelStore;
BitmapFont bitmapFont;
TextureStore textureStore;
ViewFrustum viewFrustum;
FrameStats frameStats;
