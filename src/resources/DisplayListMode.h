// How a mesh is compiled into OpenGL display lists.
#pragma once

// 0: none, objects are drawn immediately every frame; 1: one list per visible
// object; 2: one list for the whole mesh. Any other value builds no lists and
// leaves the mesh's list fields as they were.
using DisplayListMode = int;
constexpr DisplayListMode LISTS_NONE = 0;
constexpr DisplayListMode LISTS_PER_OBJECT = 1;
constexpr DisplayListMode LISTS_WHOLE_MESH = 2;
