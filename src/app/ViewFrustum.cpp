// Placeholder until the view frustum lands: nothing is visible.
#include "ViewFrustum.h"

void ViewFrustum::updateFrustum() {}
void ViewFrustum::setFromMatrices(const float*, const float*) {}
void ViewFrustum::normalizePlane(float[6][4], int) {}
bool ViewFrustum::pointInFrustum(float, float, float) const { return false; }
bool ViewFrustum::boxInFrustum(float, float, float, float, float, float) const { return false; }
