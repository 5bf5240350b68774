// The worst fight's model count: exact against trying every choice of looks, and quick with many
// characters. (That every default map's worst fight fits the model store is a content test.)
#include "WorstFight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "FightModelCount.h"
#include "Settings.h"

namespace {

void set(char* field, const std::string& text) {
    std::snprintf(field, INFO_TEXT_SIZE, "%s", text.c_str());
}

// A character whose files are all named after id, with the given skins.
CharacterInfo character(const std::string& id, int skins) {
    CharacterInfo c;
    c.skinCount = skins;
    set(c.name, id);
    set(c.skinTexturePattern, id + "_skin%d.bmp");
    set(c.armModelPattern, id + "_arms%d.3ds");
    set(c.standModelName, id + "_stand3");
    set(c.walkModelName, id + "_walk3");
    set(c.strafeModelName, id + "_strafe3");
    set(c.diagonalModelName, id + "_diag3");
    set(c.deathModelName, id + "_death3");
    set(c.extraModelName, id + "_gear.3ds");
    return c;
}

MapInfo skyMap() {
    MapInfo m;
    set(m.levelModel, "level.3ds");
    set(m.groundModel, "noground");
    set(m.roofModel, "noroof");
    set(m.skyTexture, "sky_day.bmp");
    return m;
}

// Every set of up to seven distinct looks that holds one the player may pick;
// repeating a look adds nothing.
int bruteForceWorst(const MapInfo& map, const std::vector<CharacterInfo>& table) {
    std::vector<CharacterSkin> looks;
    std::vector<bool> playerMay;
    for (int c = 0; c < static_cast<int>(table.size()); ++c)
        for (int s = 0; s < std::max(table[c].skinCount, 1); ++s) {
            looks.push_back({c, s});
            playerMay.push_back(table[c].skinCount > 0);
        }
    int worst = -1;
    std::vector<CharacterSkin> chosen;
    auto visit = [&](auto& self, size_t from, bool player) -> void {
        if (player)
            worst = std::max(
                worst, fightModelCount(map, table.data(), static_cast<int>(table.size()), chosen));
        if (chosen.size() == 7) return;
        for (size_t i = from; i < looks.size(); ++i) {
            chosen.push_back(looks[i]);
            self(self, i + 1, player || playerMay[i]);
            chosen.pop_back();
        }
    };
    visit(visit, 0, false);
    return worst;
}

TEST(WorstFight, SharedFilesSkinsAndPlayerChoicesCountExactly) {
    const MapInfo map = skyMap();
    CharacterInfo sharing = character("b", 2);  // wears a's skins and arms, has its own body
    set(sharing.skinTexturePattern, "a_skin%d.bmp");
    set(sharing.armModelPattern, "A_ARMS%d.3ds");
    CharacterInfo oneSkinName = character("c", 4);  // every skin the same texture
    set(oneSkinName.skinTexturePattern, "c_skin.bmp");
    CharacterInfo computerOnly = character("d", 0);
    CharacterInfo levelGear = character("e", 2);  // its extra model is the map's level
    set(levelGear.extraModelName, "Level.3ds");
    CharacterInfo oneMove = character("f", 3);  // walks, strafes and sidesteps alike
    for (char* field : {oneMove.strafeModelName, oneMove.diagonalModelName})
        set(field, oneMove.walkModelName);
    CharacterInfo bare = character("g", 1);  // no extra model, arms of one name
    bare.extraModelName[0] = '\0';
    set(bare.armModelPattern, "g_arms.3ds");
    // Eight bigger looks for the computer only: the player's smaller one must be in;
    // then the player's look is one of theirs under another name.
    std::vector<CharacterInfo> computerFirst = {bare}, playerTwin;
    for (int i = 0; i < 8; ++i) computerFirst.push_back(character("d" + std::to_string(i), 0));
    playerTwin.assign(computerFirst.begin() + 1, computerFirst.end());
    playerTwin.push_back(character("d0", 1));
    // One look made of parts of seven others: taking it first, as the largest,
    // loses to taking the seven.
    std::vector<CharacterInfo> patchwork = {character("x", 1)};
    for (int i = 1; i <= 7; ++i) patchwork.push_back(character("y" + std::to_string(i), 1));
    for (CharacterInfo& c : patchwork) set(c.skinTexturePattern, "shared_skin.bmp");
    CharacterInfo& x = patchwork[0];
    for (auto [field, name] : {std::pair{x.standModelName, "y1_stand3"},
                               {x.armModelPattern, "y2_arms%d.3ds"},
                               {x.walkModelName, "y3_walk3"},
                               {x.strafeModelName, "y4_strafe3"},
                               {x.diagonalModelName, "y5_diag3"},
                               {x.deathModelName, "y6_death3"},
                               {x.extraModelName, "y7_gear.3ds"}})
        set(field, name);

    const std::vector<std::vector<CharacterInfo>> tables = {
        {character("a", 3), sharing, oneSkinName, computerOnly, levelGear, oneMove, bare},
        computerFirst,
        playerTwin,
        patchwork,
        {character("a", 2), sharing},  // four looks, two pairs of which share
        {computerOnly},                // nobody the player may pick: no fight
    };
    for (size_t t = 0; t < tables.size(); ++t) {
        const std::vector<CharacterInfo>& table = tables[t];
        const int count = static_cast<int>(table.size());
        const WorstFight w = worstModelFight(map, table.data(), count);
        SCOPED_TRACE(t);
        std::vector<CharacterSkin> looks;
        long long sum = w.base;  // each look counts the models it adds
        for (const WorstFight::Look& l : w.looks) {
            looks.push_back({l.character, l.skin});
            sum += l.adds;
        }
        EXPECT_EQ(sum, w.total);
        const int brute = bruteForceWorst(map, table);
        EXPECT_EQ(w.looks.empty() ? -1 : w.total, brute);
        if (brute >= 0) {
            EXPECT_EQ(fightModelCount(map, table.data(), count, looks), w.total);
        }
    }
    // The game's own models: c3, zat, w1 to w5, zamer; the map's level and sky.
    EXPECT_EQ(worstModelFight(map, nullptr, 0).base, 10);
}

TEST(WorstFight, TwentyCharactersOfEightSkinsAreCountedWithoutTryingEveryFight) {
    std::vector<CharacterInfo> table;
    for (int c = 0; c < 20; ++c) table.push_back(character("m" + std::to_string(c), 8));
    const WorstFight w = worstModelFight(skyMap(), table.data(), 20);
    // Seven different characters: each look its 13 skinned models and its own extra model.
    EXPECT_EQ(w.total, w.base + 7 * 14);
}

// The texture and mesh-element tables weigh their items and start from a base:
// small random tables against every choice of up to `creatures` looks.
TEST(WorstFight, WeightedItemsAndABaseCountExactly) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<long long> weights(6);
        for (long long& w : weights) w = random() % 50;
        const std::vector<int> base = {int(random() % 6)};
        std::vector<LookItems> looks(2 + random() % 5);
        for (LookItems& l : looks) {
            l.playerMay = random() % 3 != 0;
            for (int item = 0; item < 6; ++item)
                if (random() % 2) l.items.push_back(item);
        }
        const int creatures = 1 + random() % 3;
        long long brute = -1;
        for (unsigned set = 1; set < 1u << looks.size(); ++set) {
            std::vector<bool> held(6, false);
            held[base[0]] = true;
            bool player = false;
            for (size_t c = 0; c < looks.size(); ++c)
                if (set >> c & 1) {
                    player = player || looks[c].playerMay;
                    for (int item : looks[c].items) held[item] = true;
                }
            long long total = 0;
            for (int item = 0; item < 6; ++item) total += held[item] ? weights[item] : 0;
            if (player && __builtin_popcount(set) <= creatures) brute = std::max(brute, total);
        }
        const WorstFight w = findWorstFight(weights, base, looks, creatures);
        EXPECT_EQ(w.looks.empty() ? -1 : w.total, brute);
    }
}

// The search's step limit, at the steps a search takes and one below: one look for one creature
// takes two (no look yet, then the look); cut short, it keeps the best fight found so far.
TEST(WorstFight, StopsAtItsStepLimit) {
    const std::vector<LookItems> one = {{{0, 0}, true, {0}}};
    EXPECT_TRUE(findWorstFight({5}, {}, one, 1, 2).exact);
    const WorstFight cut = findWorstFight({5}, {}, one, 1, 1);
    EXPECT_FALSE(cut.exact);
    EXPECT_EQ(cut.total, 5);
}

}  // namespace
