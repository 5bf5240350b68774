// Objects with alpha textures, queued while the opaque scene draws and drawn after it.
#pragma once

#include <deque>

class Mesh;
struct MeshObject;

struct DeferredDraw {
    const MeshObject* object;
    Mesh* mesh;           // not owned; meshes outlive the frame
    float modelview[16];  // OpenGL column order, as current when queued
};

class TransparentQueue {
public:
    // Reads the current modelview matrix and appends a record.
    void push(const MeshObject& object, Mesh& mesh);
    // Draws and removes every record in queuing order, no depth sorting.
    void flush();
    // Drops the records of a mesh that is being destroyed before the queue is flushed.
    void discard(const Mesh& mesh);
    int size() const { return static_cast<int>(records_.size()); }

private:
    std::deque<DeferredDraw> records_;
};

extern TransparentQueue transparentQueue;
