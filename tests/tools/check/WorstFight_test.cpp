// The worst fight's model count: exact against trying every choice of looks; the search's step
// limit. (Weighted tables, many characters and many skins: the checker's runs; that every default
// map's worst fight fits the model store is a content test.)
#include "WorstFight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FightModelCount.h"
#include "Settings.h"

namespace {

void set(char* field, const std::string& text) {
    std::snprintf(field, INFO_TEXT_SIZE, "%s", text.c_str());
}

// A character's model fields, and the ends of the names character() gives them.
std::vector<char*> models(CharacterInfo& c) {
    return {c.armModelPattern,   c.standModelName, c.walkModelName, c.strafeModelName,
            c.diagonalModelName, c.deathModelName, c.extraModelName};
}
const char* const ENDS[] = {"_arms%d.3ds", "_stand3", "_walk3",   "_strafe3",
                            "_diag3",      "_death3", "_gear.3ds"};

// A character whose files are all named after id, with the given skins.
CharacterInfo character(const std::string& id, int skins) {
    CharacterInfo c;
    c.skinCount = skins;
    set(c.name, id);
    set(c.skinTexturePattern, id + "_skin%d.bmp");
    for (int i = 0; i < 7; ++i) set(models(c)[i], id + ENDS[i]);
    return c;
}

TEST(WorstFight, SharedFilesSkinsAndPlayerChoicesCountExactly) {
    MapInfo map;  // whose models are the level and the sky
    set(map.levelModel, "level.3ds");
    set(map.groundModel, "noground");
    set(map.roofModel, "noroof");
    set(map.skyTexture, "sky_day.bmp");
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
    for (int i = 0; i < 7; ++i) set(models(patchwork[0])[i], "y" + std::to_string(i + 1) + ENDS[i]);

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
        // Every look: a skin of a character, skin 0 of one without skins (not for the player).
        std::vector<CharacterSkin> every, found;
        for (int c = 0; c < count; ++c)
            for (int s = 0; s < std::max(table[c].skinCount, 1); ++s) every.push_back({c, s});
        // The most models over every set of at most 7 looks (bit i: look i) that holds one the
        // player may choose; -1 when there is none.
        long long brute = -1;
        for (unsigned set = 1; set < 1u << every.size(); ++set) {
            std::vector<CharacterSkin> chosen;
            bool player = false;
            for (size_t i = 0; i < every.size(); ++i)
                if (set >> i & 1) {
                    chosen.push_back(every[i]);
                    player = player || table[every[i].character].skinCount > 0;
                }
            if (player && chosen.size() <= 7)
                brute =
                    std::max<long long>(brute, fightModelCount(map, table.data(), count, chosen));
        }
        long long sum = w.base;  // each look counts the models it adds
        for (const WorstFight::Look& l : w.looks) {
            found.push_back({l.character, l.skin});
            sum += l.adds;
        }
        // No fight: the base's 10 models, the game's own (c3, zat, w1 to w5, zamer), level and sky.
        const std::string b = std::to_string(brute);
        EXPECT_EQ(std::to_string(w.looks.empty() ? -1 : w.total) + " " + std::to_string(sum) + " " +
                      std::to_string(fightModelCount(map, table.data(), count, found)),
                  brute < 0 ? "-1 10 10" : b + " " + b + " " + b)
            << "table " << t << ": the worst fight, its looks' sum, their count";
    }
}

// The search's step limit, at the steps a search takes and one below: one look for one creature
// takes two (no look yet, then the look); cut short, it keeps the best fight found so far.
TEST(WorstFight, StopsAtItsStepLimit) {
    const std::vector<LookItems> one = {{{0, 0}, true, {0}}};
    EXPECT_TRUE(findWorstFight({5}, {}, one, 1, 2).exact);
    const WorstFight cut = findWorstFight({5}, {}, one, 1, 1);
    EXPECT_EQ(std::to_string(cut.exact) + " " + std::to_string(cut.total), "0 5") << "exact, total";
}

}  // namespace
