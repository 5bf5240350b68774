// Drawing a built mesh: textures per material, display lists, culling, the transparent queue.
#include "Mesh.h"

#include <GL/gl.h>

#include "FrameStats.h"
#include "Text.h"
#include "TextureLookups.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"

namespace {

bool boxVisible(const Vec3& lo, const Vec3& hi, float x, float y, float z) {
    return viewFrustum.boxInFrustum(lo.x + x, lo.y + y, lo.z + z, hi.x + x, hi.y + y, hi.z + z);
}

}  // namespace

Mesh::~Mesh() {
    destroy();
}

const Material* Mesh::materialOf(const MeshObject& object) const {
    if (object.materialIndex < 0 || object.materialIndex >= materialCount()) return nullptr;
    return &materials[size_t(object.materialIndex)];
}

void Mesh::assignTextures() {
    TextureLookups lookups;
    assignTextures(lookups);
}

void Mesh::assignTextures(TextureLookups& lookups) {
    for (Material& m : materials) {
        if (m.textureFile.empty()) {
            m.textureSlot = -1;
            m.transparent = false;
            continue;
        }
        m.textureFile = lowered(m.textureFile);
        // A named replaced texture retextures only the materials using it; an
        // empty one with a skin given retextures every textured material.
        const bool replace = m.textureFile == replacedTexture ||
                             (replacedTexture.empty() && !replacementTexture.empty());
        const std::string& chosen = replace ? replacementTexture : m.textureFile;
        m.textureSlot = lookups.take(lowered(chosen));
        const TextureEntry* e = textureStore.entry(m.textureSlot);
        m.transparent = e && e->alpha;
    }
}

void Mesh::buildLists(DisplayListMode mode) {
    if (mode != LISTS_NONE && mode != LISTS_PER_OBJECT && mode != LISTS_WHOLE_MESH) return;
    deleteLists();  // a rebuild (after mirroring) must not leak the previous lists
    if (mode == LISTS_PER_OBJECT && !objects.empty()) {
        const GLuint base = glGenLists(GLsizei(objects.size()));
        for (size_t i = 0; base != 0 && i < objects.size(); ++i) {
            MeshObject& o = objects[i];
            o.listId = base + GLuint(i);
            if (!o.visible) continue;
            glNewList(o.listId, GL_COMPILE);
            renderObject(o);
            glEndList();
            o.hasList = true;
        }
    } else if (mode == LISTS_WHOLE_MESH) {
        wholeListId = glGenLists(1);
        if (wholeListId == 0) return;  // no lists to be had: objects draw one by one
        glNewList(wholeListId, GL_COMPILE);
        for (const MeshObject& o : objects) renderObject(o);
        glEndList();
        wholeList = true;
    }
}

void Mesh::deleteLists() {
    if (wholeList) glDeleteLists(wholeListId, 1);
    wholeList = false;
    wholeListId = 0;
    // Invisible objects own a reserved, never compiled name in mode 1; it goes too.
    for (MeshObject& o : objects) {
        if (o.listId != 0) glDeleteLists(o.listId, 1);
        o.listId = 0;
        o.hasList = false;
    }
}

void Mesh::renderObject(const MeshObject& object) {
    if (!object.visible) return;
    const Material* material = materialOf(object);
    // An index past the material list draws untextured, like an unknown material.
    const bool textured = object.textured && material;
    if (textured) {
        textureStore.bindTexture(material->textureSlot);
    } else {
        textureStore.unbindTexture();
        if (material) glColor3ub(material->colour[0], material->colour[1], material->colour[2]);
    }
    const bool uvs = textured && object.uvCount() > 0;
    const size_t vertexCount = object.vertices.size();
    const bool normals = object.normals.size() >= vertexCount;
    glBegin(GL_TRIANGLES);
    for (size_t f = 0; f + 2 < object.faces.size(); f += 3) {
        if (object.faces[f] >= vertexCount || object.faces[f + 1] >= vertexCount ||
            object.faces[f + 2] >= vertexCount)
            continue;
        for (size_t corner = 0; corner < 3; ++corner) {
            const uint32_t k = object.faces[f + corner];
            if (normals) glNormal3f(object.normals[k].x, object.normals[k].y, object.normals[k].z);
            // Vertices past the stored coordinates take the texture's corner (0, 0).
            if (uvs) {
                if (int(k) < object.uvCount())
                    glTexCoord2f(object.uvs[2 * k], object.uvs[2 * k + 1]);
                else
                    glTexCoord2f(0.0f, 0.0f);
            }
            glVertex3f(object.vertices[k].x, object.vertices[k].y, object.vertices[k].z);
        }
    }
    glEnd();
}

void Mesh::drawObject(const MeshObject& object) {
    if (object.hasList)
        glCallList(object.listId);
    else
        renderObject(object);
}

void Mesh::draw(float x, float y, float z) {
    if (!loaded || !boxVisible(boundsMin, boundsMax, x, y, z)) return;
    glPushMatrix();
    if (wholeList) {
        glCallList(wholeListId);
        glPopMatrix();
        frameStats.addTriangles(triangleCount);
        return;
    }
    for (const MeshObject& o : objects) {
        if (!o.visible || !boxVisible(o.boundsMin, o.boundsMax, x, y, z)) continue;
        const Material* material = materialOf(o);
        if (material && material->transparent)
            transparentQueue.push(o, *this);
        else
            drawObject(o);
        frameStats.addTriangles(o.faceCount());
    }
    glPopMatrix();
}

void Mesh::destroy() {
    for (Material& m : materials) {
        textureStore.releaseTexture(m.textureSlot);
        m.textureSlot = -1;
    }
    deleteLists();
    transparentQueue.discard(*this);  // queued records would point into freed objects
    objects.clear();
    materials.clear();
}
