// The fight's model requests as lists, from the game's own request functions.
#include "FightRequests.h"

#include "FightModels.h"
#include "ProjectileType.h"
#include "WeaponType.h"

std::string storeKey(const ModelRequest& r) {
    ModelKey k;
    if (r.fileName.empty() || !makeModelKey(r, k)) return "";
    return k.fileName + '\n' + k.replacementTexture + '\n' + k.replacedTexture + '\n' +
           std::to_string(k.listMode) + char('0' + k.mirrorX) + char('0' + k.mirrorY) +
           char('0' + k.mirrorZ);
}

std::vector<ModelRequest> fixedRequests() {
    std::vector<ModelRequest> out{creatureBodyModelRequest()};
    for (int i = 0; i < PROJECTILE_TYPE_COUNT; ++i) out.push_back(projectileModelRequest(i));
    for (const WeaponType& w : weaponTypes) out.push_back(weaponModelRequest(w));
    out.push_back(crosshairModelRequest());
    return out;
}

std::vector<ModelRequest> mapRequests(const MapInfo& m) {
    const MapModelRequests r = mapModelRequests(m);
    std::vector<ModelRequest> out{r.level};
    for (const std::optional<ModelRequest>& part : {r.ground, r.roof, r.sky})
        if (part) out.push_back(*part);
    return out;
}

ModelRequest collisionRequest(const MapInfo& m) {
    return collisionModelRequest(m.collisionModel);
}

std::vector<ModelRequest> lookRequests(const CharacterInfo& c, int skin) {
    std::vector<ModelRequest> out;
    for (const std::optional<ModelRequest>& r : characterModelRequests(c, skin))
        if (r) out.push_back(*r);
    return out;
}
