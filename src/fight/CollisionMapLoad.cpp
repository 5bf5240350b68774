// The collision map of a fight, built from the level model the store hands out.
#include <cstdio>

#include "CollisionMap.h"
#include "FightModels.h"
#include "Model.h"
#include "ModelStore.h"

CollisionMap::CollisionMap(float cellSizeX, float cellSizeY, float cellSizeZ, const char* modelFile)
    : cellSize{cellSizeX, cellSizeY, cellSizeZ} {
    Model* level =
        modelFile != nullptr ? modelStore.getModel(collisionModelRequest(modelFile)) : nullptr;
    if (level == nullptr) {
        std::fprintf(stderr, "Collision map: cannot load level model %s, no collisions built\n",
                     modelFile != nullptr ? modelFile : "(none)");
        return;
    }
    build(*level->frames[0], level->boundsMin, level->boundsMax, modelFile);  // loaded: a frame
    modelStore.releaseModel(level);
}
