// Text and JSON descriptions of an imported mesh for tovask-3dsinfo.
#pragma once

#include <cstdio>
#include <string>

#include "ChunkReader.h"
#include "MeshData.h"

// A JSON string literal, quotes included. Valid UTF-8 passes through; other
// bytes, control characters, '"' and '\\' are escaped (bytes as \u00XX).
std::string jsonString(const std::string& text);
// Up to 6 significant digits (%g); null for infinities and not-a-number,
// which JSON cannot hold.
std::string jsonNumber(float value);

// One line: {"file":...,"materials":[...],"objects":[...]}. The mesh's
// bounds must have been computed. Objects and materials carry their "index":
// from 0 in the reader's order, every one counted (hidden and empty objects
// too), as the text form and tovask-check number them.
void printJson(FILE* out, const char* path, const MeshData& mesh);
// Several lines for people: objects, materials, totals, warnings.
void printText(FILE* out, const char* path, const MeshData& mesh, const ImportReport& report);
