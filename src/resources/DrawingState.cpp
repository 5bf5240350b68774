// The GL state the game draws its scenes in: textures, depth, culling, the one light.
#include "DrawingState.h"

#include <GL/gl.h>

namespace {

void setLighting() {
    const GLfloat grey[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
}

}  // namespace

void setDrawingState() {
    glEnable(GL_TEXTURE_2D);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    setLighting();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_GREATER, 0.2f);
}

void setLightLevel(float level) {
    const GLfloat colour[4] = {level, level, level, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, colour);
    glLightfv(GL_LIGHT0, GL_AMBIENT, colour);
}
