// The six clip planes of the current view and the point and box tests on them.
#include "ViewFrustum.h"

#include <GL/gl.h>

#include <cmath>

void ViewFrustum::updateFrustum() {
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    setFromMatrices(projection, modelview);
}

void ViewFrustum::setFromMatrices(const float projection[16], const float modelview[16]) {
    const float* p = projection;
    const float* m = modelview;
    float k[16];  // clip transform: projection applied after modelview
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            k[4 * i + j] = m[4 * i] * p[j] + m[4 * i + 1] * p[4 + j] + m[4 * i + 2] * p[8 + j] +
                           m[4 * i + 3] * p[12 + j];
    // Row r of the clip transform is k[r], k[4 + r], k[8 + r], k[12 + r]; each
    // plane is row 3 plus or minus one of rows 0 to 2.
    constexpr struct {
        int row;
        float sign;
    } PLANE_ROWS[6] = {{0, -1.0f}, {0, 1.0f}, {1, 1.0f}, {1, -1.0f}, {2, -1.0f}, {2, 1.0f}};
    for (int plane = 0; plane < 6; ++plane) {
        const int r = PLANE_ROWS[plane].row;
        const float s = PLANE_ROWS[plane].sign;
        for (int column = 0; column < 4; ++column)
            planes[plane][column] = k[4 * column + 3] + s * k[4 * column + r];
        normalizePlane(planes, plane);
    }
}

void ViewFrustum::normalizePlane(float planes[6][4], int index) {
    float* plane = planes[index];
    const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    for (int i = 0; i < 4; ++i) plane[i] /= length;
}

bool ViewFrustum::pointInFrustum(float x, float y, float z) const {
    for (const auto& p : planes)
        if (!(p[0] * x + p[1] * y + p[2] * z + p[3] > 0.0f)) return false;
    return true;
}

bool ViewFrustum::boxInFrustum(float x1, float y1, float z1, float x2, float y2, float z2) const {
    for (const auto& p : planes) {
        bool someCornerInside = false;
        for (int corner = 0; corner < 8 && !someCornerInside; ++corner) {
            const float x = (corner & 1) ? x2 : x1;
            const float y = (corner & 2) ? y2 : y1;
            const float z = (corner & 4) ? z2 : z1;
            someCornerInside = p[0] * x + p[1] * y + p[2] * z + p[3] > 0.0f;
        }
        if (!someCornerInside) return false;
    }
    return true;
}
