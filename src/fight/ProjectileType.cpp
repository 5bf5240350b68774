// The projectile models shared by every shot of a fight.
#include "ProjectileType.h"

#include "ModelStore.h"

Model* projectileModels[PROJECTILE_TYPE_COUNT] = {};

ModelRequest projectileModelRequest(int type) {
    ModelRequest request;
    request.fileName = projectileTypes[type].modelFile;
    request.listMode = LISTS_WHOLE_MESH;
    return request;
}

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
