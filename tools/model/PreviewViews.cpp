// The preview's four orthographic cameras, its marks and labels around the game's own drawing.
#include "PreviewViews.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "BitmapFont.h"
#include "OffscreenGl.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

const char* const PREVIEW_VIEW_NAMES[VIEW_COUNT] = {"front", "right side", "back", "top"};

namespace {

// Columns: direction from the subject to the eye, screen up, column and row in the picture.
struct ViewPlacement {
    Vec3 towardsEye;
    Vec3 up;
    int column, row;
};
constexpr ViewPlacement VIEWS[VIEW_COUNT] = {
    {{0, 0, -1}, {0, 1, 0}, 0, 0},
    {{1, 0, 0}, {0, 1, 0}, 1, 0},
    {{0, 0, 1}, {0, 1, 0}, 0, 1},
    {{0, 1, 0}, {0, 0, -1}, 1, 1},
};

// Colours, 0 to 255: background, the lines between views, ground grid, body box.
constexpr uint8_t BACKGROUND[3] = {46, 52, 64};
constexpr uint8_t DIVIDER[3] = {110, 116, 128};
constexpr uint8_t GROUND[3] = {96, 150, 96};
constexpr uint8_t BODY_BOX[3] = {255, 220, 0};

constexpr float MARGIN = 1.08f;      // the framed box's larger side times this fills a view
constexpr int MOST_GRID_LINES = 40;  // per direction across a view: the spacing grows by 10
constexpr int LABEL_INSET = 6;       // pixels from the view's left and top edges
constexpr int FONT_WIDTH = 640, FONT_HEIGHT = 480;  // the font's virtual screen
constexpr int GLYPH_HEIGHT = 16;                    // virtual units

PreviewBox join(const PreviewBox& a, const PreviewBox& b) {
    return {{std::min(a.lo.x, b.lo.x), std::min(a.lo.y, b.lo.y), std::min(a.lo.z, b.lo.z)},
            {std::max(a.hi.x, b.hi.x), std::max(a.hi.y, b.hi.y), std::max(a.hi.z, b.hi.z)}};
}

void colour(const uint8_t c[3]) {
    glColor3ub(c[0], c[1], c[2]);
}

// Lines over the ground: along x and along z, spaced in whole powers of ten.
void drawGround(Vec3 centre, float half, float y) {
    double spacing = 1;
    while (2 * half / spacing > MOST_GRID_LINES) spacing *= 10;
    const double first = std::floor((double(centre.x) - half) / spacing) * spacing;
    const double firstZ = std::floor((double(centre.z) - half) / spacing) * spacing;
    colour(GROUND);
    glBegin(GL_LINES);
    for (double x = first; x <= centre.x + half; x += spacing) {
        glVertex3d(x, y, double(centre.z) - half);
        glVertex3d(x, y, double(centre.z) + half);
    }
    for (double z = firstZ; z <= centre.z + half; z += spacing) {
        glVertex3d(double(centre.x) - half, y, z);
        glVertex3d(double(centre.x) + half, y, z);
    }
    glEnd();
}

void drawBoxEdges(const PreviewBox& b) {
    const float xs[2] = {b.lo.x, b.hi.x}, ys[2] = {b.lo.y, b.hi.y}, zs[2] = {b.lo.z, b.hi.z};
    colour(BODY_BOX);
    glBegin(GL_LINES);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            glVertex3f(xs[0], ys[i], zs[j]);  // along x
            glVertex3f(xs[1], ys[i], zs[j]);
            glVertex3f(xs[i], ys[0], zs[j]);  // along y
            glVertex3f(xs[i], ys[1], zs[j]);
            glVertex3f(xs[i], ys[j], zs[0]);  // along z
            glVertex3f(xs[i], ys[j], zs[1]);
        }
    glEnd();
}

// Fills the view's square, inside a one-pixel divider, with the background.
void clearView(int left, int bottom) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(left + 1, bottom + 1, PREVIEW_VIEW_SIDE - 2, PREVIEW_VIEW_SIDE - 2);
    glClearColor(BACKGROUND[0] / 255.0f, BACKGROUND[1] / 255.0f, BACKGROUND[2] / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

void drawView(const ViewPlacement& v, const PreviewScene& scene, Vec3 centre, float half,
              float depth) {
    const int left = v.column * PREVIEW_VIEW_SIDE;
    const int bottom = (1 - v.row) * PREVIEW_VIEW_SIDE;
    clearView(left, bottom);
    glViewport(left, bottom, PREVIEW_VIEW_SIDE, PREVIEW_VIEW_SIDE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, 0, 2 * depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const Vec3 eye = add(centre, scale(v.towardsEye, depth));
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, v.up.x, v.up.y, v.up.z);
    viewFrustum.updateFrustum();

    // The ground lies under everything; the subject hides it where it stands in front.
    glDisable(GL_LIGHTING);
    textureStore.unbindTexture();
    drawGround(centre, half, scene.groundY);
    glEnable(GL_LIGHTING);
    glColor3ub(255, 255, 255);
    scene.drawSubject();
    transparentQueue.flush();

    // The box shows through everything.
    glDisable(GL_LIGHTING);
    textureStore.unbindTexture();
    glDisable(GL_DEPTH_TEST);
    drawBoxEdges(scene.body);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void drawLabels() {
    glViewport(0, 0, PREVIEW_SIDE, PREVIEW_SIDE);
    glDisable(GL_LIGHTING);
    bitmapFont.begin2D();
    for (int i = 0; i < VIEW_COUNT; ++i) {
        const int x =
            (VIEWS[i].column * PREVIEW_VIEW_SIDE + LABEL_INSET) * FONT_WIDTH / PREVIEW_SIDE;
        const int top = (2 - VIEWS[i].row) * PREVIEW_VIEW_SIDE - LABEL_INSET;
        const int y = top * FONT_HEIGHT / PREVIEW_SIDE - GLYPH_HEIGHT;
        bitmapFont.printLine(x, y, PREVIEW_VIEW_NAMES[i]);
    }
    bitmapFont.end2D();
    glEnable(GL_LIGHTING);
}

}  // namespace

std::vector<uint8_t> drawPreview(OffscreenGl& gl, const PreviewScene& scene) {
    const PreviewBox ground{{0, scene.groundY, 0}, {0, scene.groundY, 0}};
    const PreviewBox framed = join(join(scene.subject, scene.body), ground);
    const Vec3 centre = scale(add(framed.lo, framed.hi), 0.5f);
    const Vec3 size = subtract(framed.hi, framed.lo);
    const float largest = std::max({size.x, size.y, size.z, 1.0f});
    const float half = largest / 2 * MARGIN;
    // The eye stands outside the framed box, which fits between the clip planes.
    const float depth = length(size) + 1;

    glViewport(0, 0, PREVIEW_SIDE, PREVIEW_SIDE);
    glClearColor(DIVIDER[0] / 255.0f, DIVIDER[1] / 255.0f, DIVIDER[2] / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (const ViewPlacement& v : VIEWS) drawView(v, scene, centre, half, depth);
    if (scene.labels) drawLabels();

    const std::vector<uint8_t> rgba = gl.rgba();
    std::vector<uint8_t> rgb;
    rgb.reserve(rgba.size() / 4 * 3);
    for (size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), &rgba[i], &rgba[i] + 3);
    return rgb;
}
