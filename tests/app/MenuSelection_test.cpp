// The menu's selection keys on the settings record: wrap-around, skin reset, low 8 bits.
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "MenuState.h"
#include "Settings.h"

namespace {

using Selection = std::array<int, 3>;  // map, character, skin

// Three maps; characters with `skins` skins each (3, 3 and 1 unless told otherwise). A
// fourth character record with 5 skins lies past characterCount: the menu must not see it.
struct Case {
    const char* what;
    Selection start;
    std::vector<int> keys;
    Selection end;
    std::vector<int> skins = {3, 3, 1};
};

TEST(MenuSelection, KeysWrapResetTheSkinAndReadOnlyTheLowByte) {
    const Case cases[] = {
        {"x wraps the map down", {0, 0, 0}, {'x'}, {2, 0, 0}},
        {"c wraps the map up", {2, 0, 0}, {'c'}, {0, 0, 0}},
        {"x steps the map down", {2, 0, 0}, {'x'}, {1, 0, 0}},
        {"c steps to the last map", {1, 0, 0}, {'c'}, {2, 0, 0}},
        {"c from past the end", {5, 0, 0}, {'c'}, {0, 0, 0}},
        {"x from below 0", {-3, 0, 0}, {'x'}, {2, 0, 0}},
        {"no skins past the last character", {0, 3, 0}, {'m'}, {0, 3, 0}},
        {"no skins before the first character", {0, -1, 0}, {'n'}, {0, -1, 0}},
        {"m steps the skin up", {0, 0, 0}, {'m'}, {0, 0, 1}},
        {"b resets the skin", {0, 0, 2}, {'b'}, {0, 1, 0}},
        {"v resets the skin", {0, 1, 1}, {'v'}, {0, 0, 0}},
        {"v wraps the character", {0, 0, 0}, {'v'}, {0, 2, 0}},
        {"n wraps the skin down", {0, 0, 0}, {'n'}, {0, 0, 2}},
        {"m wraps the skin up", {0, 0, 2}, {'m'}, {0, 0, 0}},
        {"one skin stays", {0, 2, 0}, {'n', 'm'}, {0, 2, 0}},
        {"no skins stay at 0", {0, 0, 0}, {'n', 'm', 'm', 'n'}, {0, 0, 0}, {0, 3, 1}},
        {"high bits ignored", {0, 0, 0}, {0x100 | 'c'}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        Settings s;
        s.maps.resize(3);
        s.mapCount = 3;
        s.characters.resize(4);
        for (int i = 0; i < 3; ++i) s.characters[i].skinCount = c.skins[i];
        s.characters[3].skinCount = 5;
        s.characterCount = 3;
        std::tie(s.mapIndex, s.characterIndex, s.skinIndex) = std::tuple_cat(c.start);
        for (int key : c.keys) EXPECT_TRUE(MenuState::changeSelection(s, key)) << c.what;
        EXPECT_EQ(Selection({s.mapIndex, s.characterIndex, s.skinIndex}), c.end) << c.what;
        // Other keys, Return among them (the menu's own), change nothing.
        EXPECT_FALSE(MenuState::changeSelection(s, 'q')) << c.what;
        EXPECT_FALSE(MenuState::changeSelection(s, 13)) << c.what;
        EXPECT_EQ(Selection({s.mapIndex, s.characterIndex, s.skinIndex}), c.end) << c.what;
    }
}

}  // namespace
