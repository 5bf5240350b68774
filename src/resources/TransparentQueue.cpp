// Placeholder until the transparent queue lands.
#include "TransparentQueue.h"

void TransparentQueue::push(const MeshObject&, Mesh&) {}
void TransparentQueue::flush() {}
