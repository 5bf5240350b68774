// Loading, animation choice and drawing of a character's models.
#include "CharacterModelSet.h"

#include <cstdlib>

#include "ModelStore.h"
#include "NamePattern.h"
#include "Weapon.h"

int chooseSkin(int skinIndex, int skinCount) {
    if (skinIndex < skinCount) return skinIndex;
    return skinCount > 0 ? rand() % skinCount : 0;
}

CharacterModelSet::~CharacterModelSet() {
    for (Model* arm : armModels) modelStore.releaseModel(arm);  // none is no model
    for (Model* body : {standModel, strafeRightModel, strafeLeftModel, walkModel,
                        diagonalRightModel, diagonalLeftModel, deathModel, extraModel})
        modelStore.releaseModel(body);
}

bool CharacterModelSet::load(const CharacterInfo* characters, int count, int index, int skin) {
    if (characters == nullptr || count <= 0) {
        fprintf(stderr, "No character to load\n");
        return false;
    }
    if (index < 0 || index >= count) index = 0;
    characterIndex = index;
    character = characters[index];

    skinIndex = chooseSkin(skin, character.skinCount);
    const CharacterModelRequests requests = characterModelRequests(character, skinIndex);
    Model** parts[CHARACTER_PART_COUNT] = {};
    for (int i = 0; i < ARM_MODEL_COUNT; ++i) parts[PART_ARMS + i] = &armModels[i];
    parts[PART_STAND] = &standModel;
    parts[PART_STRAFE_RIGHT] = &strafeRightModel;
    parts[PART_STRAFE_LEFT] = &strafeLeftModel;
    parts[PART_WALK] = &walkModel;
    parts[PART_DIAGONAL_RIGHT] = &diagonalRightModel;
    parts[PART_DIAGONAL_LEFT] = &diagonalLeftModel;
    parts[PART_DEATH] = &deathModel;
    parts[PART_EXTRA] = &extraModel;
    for (int i = 0; i < CHARACTER_PART_COUNT; ++i)
        *parts[i] = requests[i] ? modelStore.getModel(*requests[i]) : nullptr;
    return true;
}

void CharacterModelSet::selectAnimation(int ms, bool forward, bool backward, bool left, bool right,
                                        int health) {
    bool moving = forward;
    if (backward) {
        moving = true;
        ms = -ms;
        const bool wasLeft = left;
        left = right;
        right = wasLeft;
    }
    currentModel = standModel;
    if (moving) {
        currentModel = left ? diagonalLeftModel : right ? diagonalRightModel : walkModel;
    } else if (left) {
        currentModel = strafeLeftModel;
    } else if (right) {
        currentModel = strafeRightModel;
    }
    if (health >= 0) {
        dying = false;
    } else if (!dying) {
        animationTime = 0;
        dying = true;
    }
    animationTime += ms;
}

void CharacterModelSet::draw(float x, float y, float z, Weapon* weapon) {
    if (dying) {
        if (deathModel != nullptr) {
            deathModel->setTime(animationTime);
            deathModel->draw(x, y, z);
        }
        return;
    }
    int hand = 0;
    if (weapon != nullptr) {
        weapon->draw(x, y, z);
        hand = weapon->armsIndex();
        if (hand < 0 || hand >= ARM_MODEL_COUNT) hand = 0;
    }
    if (armModels[hand] != nullptr) armModels[hand]->draw(x, y, z);
    if (currentModel != nullptr) {
        currentModel->setTime(animationTime);
        currentModel->draw(x, y, z);
    }
    if (extraModel != nullptr) extraModel->draw(x, y, z);
}
