// The fixes of tovask-model, one function per verb.
#pragma once

#include <string>

#include "MeshData.h"

// Each checks its arguments (as many as the verb takes) and, given a mesh,
// applies the fix to it and prints on stdout what it did in terms that
// repeat it exactly (a measured fix as the scale or move it made). False,
// with a message on stderr, on a bad argument or a mesh it cannot fix.
using VerbFunction = bool (*)(const char* const* args, MeshData* mesh);

bool scaleVerb(const char* const* args, MeshData* mesh);    // FACTOR
bool heightVerb(const char* const* args, MeshData* mesh);   // UNITS
bool moveVerb(const char* const* args, MeshData* mesh);     // DX DY DZ
bool liftVerb(const char* const* args, MeshData* mesh);     // (none)
bool centreVerb(const char* const* args, MeshData* mesh);   // (none)
bool turnVerb(const char* const* args, MeshData* mesh);     // AXIS DEGREES
bool uvVerb(const char* const* args, MeshData* mesh);       // PROJECTION
bool textureVerb(const char* const* args, MeshData* mesh);  // OLD NEW

// The shortest text that reads back as exactly this float ("0.4", "3.25"); zero has no sign.
std::string exactNumber(float value);
