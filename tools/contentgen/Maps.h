// The three maps: each a level, optional ground and roof, and a separate collision model.
#pragma once

#include <string>

#include "MapKit.h"

MapModels buildArena();
MapModels buildBunker();
MapModels buildCanyon();

bool writeMaps(const std::string& modelDir);
