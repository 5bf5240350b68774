// Placeholder until the 3DS reader lands: reads nothing.
#include "ChunkReader.h"

bool ChunkReader::import(Mesh&, const char*) { return false; }
