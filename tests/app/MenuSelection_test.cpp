// The menu's selection keys on the settings record: wrap-around, skin reset, low 8 bits.
#include <gtest/gtest.h>

#include "MenuState.h"
#include "Settings.h"

namespace {

// Three maps; characters with 3, 3 and 1 skins.
Settings makeSelection() {
    Settings s;
    s.maps.resize(3);
    s.mapCount = 3;
    for (int skins : {3, 3, 1}) {
        CharacterInfo c;
        c.skinCount = skins;
        s.characters.push_back(c);
    }
    s.characterCount = 3;
    return s;
}

TEST(MenuSelection, MapKeysWrapBothWays) {
    Settings s = makeSelection();
    EXPECT_TRUE(MenuState::changeSelection(s, 'x'));
    EXPECT_EQ(s.mapIndex, 2);
    EXPECT_TRUE(MenuState::changeSelection(s, 'c'));
    EXPECT_EQ(s.mapIndex, 0);
    MenuState::changeSelection(s, 'c');
    MenuState::changeSelection(s, 'c');
    MenuState::changeSelection(s, 'c');
    EXPECT_EQ(s.mapIndex, 0);
}

TEST(MenuSelection, CharacterChangeAlwaysResetsSkin) {
    Settings s = makeSelection();
    s.skinIndex = 2;
    MenuState::changeSelection(s, 'b');  // to a character with as many skins
    EXPECT_EQ(s.characterIndex, 1);
    EXPECT_EQ(s.skinIndex, 0);
    s.skinIndex = 1;
    MenuState::changeSelection(s, 'v');
    EXPECT_EQ(s.characterIndex, 0);
    EXPECT_EQ(s.skinIndex, 0);
    MenuState::changeSelection(s, 'v');
    EXPECT_EQ(s.characterIndex, 2);
}

TEST(MenuSelection, SkinKeysWrapWithinSelectedCharacter) {
    Settings s = makeSelection();
    MenuState::changeSelection(s, 'n');
    EXPECT_EQ(s.skinIndex, 2);
    MenuState::changeSelection(s, 'm');
    EXPECT_EQ(s.skinIndex, 0);
    s.characterIndex = 2;  // one skin only
    MenuState::changeSelection(s, 'n');
    EXPECT_EQ(s.skinIndex, 0);
    MenuState::changeSelection(s, 'm');
    EXPECT_EQ(s.skinIndex, 0);
}

TEST(MenuSelection, SkinKeysStayInRangeForCharacterWithoutSkins) {
    Settings s = makeSelection();
    s.characters[0].skinCount = 0;
    MenuState::changeSelection(s, 'n');
    EXPECT_EQ(s.skinIndex, 0);
    for (int i = 0; i < 3; ++i) MenuState::changeSelection(s, 'm');
    EXPECT_EQ(s.skinIndex, 0);
}

TEST(MenuSelection, OnlyLowEightBitsCountAndOtherKeysDoNothing) {
    Settings s = makeSelection();
    EXPECT_TRUE(MenuState::changeSelection(s, 0x100 | 'c'));
    EXPECT_EQ(s.mapIndex, 1);
    EXPECT_FALSE(MenuState::changeSelection(s, 'q'));
    EXPECT_FALSE(MenuState::changeSelection(s, 13));  // Return is the menu's, not the selection's
    EXPECT_EQ(s.mapIndex, 1);
    EXPECT_EQ(s.characterIndex, 0);
    EXPECT_EQ(s.skinIndex, 0);
}

}  // namespace
