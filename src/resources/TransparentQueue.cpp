// Objects with alpha textures, queued while the opaque scene draws and drawn after it.
#include "TransparentQueue.h"

#include <GL/gl.h>

#include <algorithm>

#include "Mesh.h"

void TransparentQueue::push(const MeshObject& object, Mesh& mesh) {
    DeferredDraw record;
    record.object = &object;
    record.mesh = &mesh;
    glGetFloatv(GL_MODELVIEW_MATRIX, record.modelview);
    records_.push_back(record);
}

void TransparentQueue::flush() {
    glPushMatrix();
    while (!records_.empty()) {
        const DeferredDraw record = records_.front();
        records_.pop_front();
        glLoadMatrixf(record.modelview);
        record.mesh->drawObject(*record.object);
    }
    glPopMatrix();
}

void TransparentQueue::discard(const Mesh& mesh) {
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [&](const DeferredDraw& r) { return r.mesh == &mesh; }),
                   records_.end());
}
