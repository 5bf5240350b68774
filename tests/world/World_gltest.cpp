// Entities with a GL context: the transform an entity draws in.
#include <gtest/gtest.h>

#include "Entity.h"
#include "GlTestWindow.h"
#include "Model.h"
#include "ViewFrustum.h"

namespace {
GLint modelviewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}
}  // namespace

TEST(EntityGl, TransformIsPushedOnlyForVisiblePositions) {
    ASSERT_TRUE(GlTestWindow::open());
    GlTestWindow::resetState();
    GlTestWindow::perspectiveCamera();
    viewFrustum.updateFrustum();
    Model body;
    Entity entity(nullptr, &body);
    const GLint depth = modelviewDepth();

    entity.position = {0, 0, 20};  // behind the camera
    EXPECT_FALSE(entity.beginTransform());
    EXPECT_EQ(modelviewDepth(), depth);

    entity.position = {1, 2, -20};
    entity.heading = 90;
    ASSERT_TRUE(entity.beginTransform());
    EXPECT_EQ(modelviewDepth(), depth + 1);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 1);
    EXPECT_FLOAT_EQ(m[13], 2);
    EXPECT_FLOAT_EQ(m[14], -20);
    // Heading turns about -y: the model's +x axis ends up along +z.
    EXPECT_NEAR(m[0], 0, 1e-6);
    EXPECT_NEAR(m[2], 1, 1e-6);
    glPopMatrix();
    entity.draw();  // within its own push and pop
    EXPECT_EQ(modelviewDepth(), depth);

    // Pitch about -x, then heading about -y, then roll about -z, 90 degrees each:
    // the model's x, y and z axes end up along +z, +y and -x.
    entity.pitch = entity.roll = 90;
    ASSERT_TRUE(entity.beginTransform());
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    const float axes[] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i / 3 * 4 + i % 3], axes[i], 1e-6) << i;
}
