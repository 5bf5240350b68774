// Placeholder until frame statistics land.
#include "FrameStats.h"

void FrameStats::addTriangles(int) {}
void FrameStats::endFrame() {}
void FrameStats::reportTriangles(int) {}
