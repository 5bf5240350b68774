// Loading, animation choice and drawing of a character's models.
#include "CharacterModelSet.h"

#include <cstdlib>

#include "ModelStore.h"
#include "NamePattern.h"
#include "Settings.h"
#include "Weapon.h"

namespace {

// Skinned body part: the skin replaces every texture of the model.
Model* getSkinned(const char* name, const char* skin, bool mirrorX) {
    if (name[0] == '\0') return nullptr;
    return modelStore.getModel(name, skin, "", LISTS_WHOLE_MESH, mirrorX, false, false);
}

void releaseOne(Model*& model) {
    modelStore.releaseModel(model);
    model = nullptr;
}

}  // namespace

int chooseSkin(int skinIndex, int skinCount) {
    if (skinIndex < skinCount) return skinIndex;
    return skinCount > 0 ? rand() % skinCount : 0;
}

CharacterModelSet::~CharacterModelSet() {
    release();
}

bool CharacterModelSet::load(int index, int skinIndex) {
    return load(settings.characters.data(), settings.characterCount, index, skinIndex);
}

bool CharacterModelSet::load(const CharacterInfo* characters, int count, int index, int skinIndex) {
    if (characters == nullptr || count <= 0) {
        fprintf(stderr, "No character to load\n");
        return false;
    }
    if (index < 0 || index >= count) index = 0;
    characterIndex = index;
    character = characters[index];

    skinIndex = chooseSkin(skinIndex, character.skinCount);
    char skin[INFO_TEXT_SIZE];
    formatNumberedName(skin, sizeof skin, character.skinTexturePattern, skinIndex + 1);

    for (int i = 0; i < ARM_MODEL_COUNT; ++i) {
        char arm[INFO_TEXT_SIZE];
        formatNumberedName(arm, sizeof arm, character.armModelPattern, i);
        armModels[i] = getSkinned(arm, skin, false);
    }
    standModel = getSkinned(character.standModelName, skin, false);
    strafeRightModel = getSkinned(character.strafeModelName, skin, false);
    strafeLeftModel = getSkinned(character.strafeModelName, skin, true);
    walkModel = getSkinned(character.walkModelName, skin, false);
    diagonalRightModel = getSkinned(character.diagonalModelName, skin, false);
    diagonalLeftModel = getSkinned(character.diagonalModelName, skin, true);
    deathModel = getSkinned(character.deathModelName, skin, false);
    if (character.extraModelName[0] != '\0') {
        extraModel =
            modelStore.getModel(character.extraModelName, LISTS_PER_OBJECT, false, false, false);
    }
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

void CharacterModelSet::release() {
    for (Model*& arm : armModels) releaseOne(arm);
    releaseOne(standModel);
    releaseOne(strafeRightModel);
    releaseOne(strafeLeftModel);
    releaseOne(walkModel);
    releaseOne(diagonalRightModel);
    releaseOne(diagonalLeftModel);
    releaseOne(deathModel);
    releaseOne(extraModel);
    currentModel = nullptr;
}
