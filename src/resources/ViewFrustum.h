// The six clip planes of the current view and the visibility tests on them.
#pragma once

class ViewFrustum {
public:
    enum Plane { RIGHT = 0, LEFT, BOTTOM, TOP, FAR, NEAR };

    // Reads the current GL projection and modelview matrices.
    void updateFrustum();
    // GL-free: forms and normalises the planes from the two matrices (OpenGL column order).
    void setFromMatrices(const float projection[16], const float modelview[16]);
    static void normalizePlane(float planes[6][4], int index);
    bool pointInFrustum(float x, float y, float z) const;
    bool boxInFrustum(float x1, float y1, float z1, float x2, float y2, float z2) const;

    // (a, b, c) points into the visible volume; all zero before the first refresh,
    // when every test reports nothing visible.
    float planes[6][4] = {};
};

extern ViewFrustum viewFrustum;
