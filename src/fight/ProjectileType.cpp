// The projectile models shared by every shot of a fight.
#include "ProjectileType.h"

#include "FightModels.h"
#include "ModelStore.h"

Model* projectileModels[PROJECTILE_TYPE_COUNT] = {};

void loadProjectileModels() {
    for (int i = 0; i < PROJECTILE_TYPE_COUNT; ++i)
        projectileModels[i] = modelStore.getModel(projectileModelRequest(i));
}

void releaseProjectileModels() {
    for (Model*& model : projectileModels) {
        modelStore.releaseModel(model);
        model = nullptr;
    }
}
