// The projectile models shared by every shot of a fight.
#include "ProjectileType.h"

#include "ModelStore.h"

Model* projectileModels[PROJECTILE_TYPE_COUNT] = {};

void loadProjectileModels() {
    for (int i = 0; i < PROJECTILE_TYPE_COUNT; ++i) {
        projectileModels[i] = modelStore.getModel(projectileTypes[i].modelFile, LISTS_WHOLE_MESH,
                                                  false, false, false);
    }
}

void releaseProjectileModels() {
    for (Model*& model : projectileModels) {
        modelStore.releaseModel(model);
        model = nullptr;
    }
}
