// The model cache: sharing by lowered key, dense slots, capacity and failed loads.
#include "ModelStore.h"

#include <gtest/gtest.h>

#include <string>

#include "CaptureOutput.h"
#include "TdsWriter.h"
#include "TestFiles.h"

namespace {

// Mode 7 builds no display lists, so these tests need no GL context.
constexpr DisplayListMode NO_LISTS = 7;

class ModelStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    ModelStore store;

    void SetUp() override {
        const TdsScene scene{3, {}, {{"", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, {}, {}}}};
        for (const char* n : {"a.3ds", "b.3ds", "c.3ds"}) ASSERT_TRUE(saveTds(scene, dir.file(n)));
    }
    Model* get(const char* name, const char* skin = "", const char* replaced = "",
               DisplayListMode mode = NO_LISTS, bool mx = false) {
        return store.getModel(name, skin, replaced, mode, mx, false, false);
    }
    // The table in slot order: "file/skin:references" each, "/skin" only when there is one.
    std::string table() const {
        std::string s;
        for (int i = 0; i < store.count(); ++i) {
            const ModelStoreEntry& e = *store.entry(i);
            s += e.fileName + (e.replacementTexture.empty() ? "" : "/" + e.replacementTexture) +
                 ":" + std::to_string(e.refCount) + " ";
        }
        return s;
    }
};

// The same request in any case shares one model; every part of the key makes one of its own;
// null texture names are empty ones.
TEST_F(ModelStoreTest, EveryPartOfTheKeyButTheCaseMakesAModelOfItsOwn) {
    const Output said = captureOutput([&] {
        get("a.3ds");
        get("a.3ds", "", "", NO_LISTS, true);
        store.getModel("a.3ds", NO_LISTS, false, false, true);
        get("a.3ds", "Skin.bmp");
        get("a.3ds", "skin.bmp", "wall.bmp");
        get("a.3ds", "", "", 8);
        EXPECT_EQ(store.entry(3)->model.get(), get("A.3DS", "SKIN.BMP"));
        EXPECT_EQ(store.entry(0)->model.get(),
                  store.getModel("a.3ds", nullptr, nullptr, NO_LISTS, false, false, false));
    });
    std::string loads;
    for (int i = 0; i < 6; ++i) loads += "Loading model a.3ds\n";
    EXPECT_EQ(loads + "Getting used model A.3DS\nGetting used model a.3ds\n", said.out);
    EXPECT_EQ("a.3ds:2 a.3ds:1 a.3ds:1 a.3ds/skin.bmp:2 a.3ds/skin.bmp:1 a.3ds:1 ", table());
}

TEST_F(ModelStoreTest, ReleasingTheLastReferenceMovesTheLastEntryIntoTheHole) {
    Model* a = get("a.3ds");
    Model* b = get("b.3ds");
    Model* c = get("c.3ds");
    EXPECT_EQ(a, get("a.3ds"));
    store.releaseModel(a);
    EXPECT_EQ("a.3ds:1 b.3ds:1 c.3ds:1 ", table());
    store.releaseModel(a);
    EXPECT_EQ("c.3ds:1 b.3ds:1 ", table());
    EXPECT_EQ(c, store.entry(0)->model.get());
    for (int outside : {2, -1, ModelStore::MAX_MODELS}) EXPECT_EQ(nullptr, store.entry(outside));
    Model stranger;
    store.releaseModel(&stranger);  // not held here: nothing happens
    store.releaseModel(nullptr);
    EXPECT_EQ(c, get("c.3ds"));
    store.releaseModel(b);  // the last entry: nothing moves into its place
    EXPECT_EQ("c.3ds:2 ", table());
    EXPECT_EQ(nullptr, store.entry(1));
}

// Names of up to 254 characters are taken (a skin that long loads), longer ones refused; a full
// table refuses new requests but still finds loaded models.
TEST_F(ModelStoreTest, FailedOrRefusedRequestsLeaveNoEntryBehind) {
    const std::string n254(MAX_MODEL_NAME, 'x'), n255(MAX_MODEL_NAME + 1, 'y');
    Output said = captureOutput([&] {
        ASSERT_NE(nullptr, get("a.3ds", n254.c_str(), n254.c_str()));
        for (const char* name :
             {"missing.3ds", "", n254.c_str(), n255.c_str(), static_cast<const char*>(nullptr)})
            EXPECT_EQ(nullptr, get(name));
        EXPECT_EQ(nullptr, get("a.3ds", n255.c_str()));
        EXPECT_EQ(nullptr, get("a.3ds", "", n255.c_str()));
    });
    const std::string tooLong =
        "Model name too long (more than 254 characters): " + n255.substr(0, 60) + "...\n";
    EXPECT_EQ(said.err, "Unable to locate file missing.3ds\nUnable to locate file " + n254 + "\n" +
                            tooLong + tooLong + tooLong);
    EXPECT_EQ("a.3ds/" + n254 + ":1 ", table());
    said = captureOutput([&] {
        for (int i = 1; i < ModelStore::MAX_MODELS; ++i)
            ASSERT_NE(nullptr, get("a.3ds", ("s" + std::to_string(i)).c_str())) << i;
        EXPECT_EQ(nullptr, get("b.3ds"));
        EXPECT_EQ(store.entry(57)->model.get(), get("a.3ds", "S57"));
    });
    // The store's own file name, not the path it was built from: a player has no such folder.
    EXPECT_TRUE(isWithLineNumber(said.err, "file: ModelStore.cpp, line: ",
                                 " MAX_MODELS too small - please use larger number.\n"))
        << said.err;
    EXPECT_EQ(ModelStore::MAX_MODELS, store.count());
}

// A store whose models may hold one element more than two loads of a.3ds takes a third; one
// whose budget is exactly two loads refuses the load that would start at its budget.
TEST_F(ModelStoreTest, ModelsLoadedSinceTheLastClearShareOneElementBudget) {
    captureOutput([&] { ASSERT_NE(nullptr, get("a.3ds")); });
    const long long perModel = store.elementsLoaded();
    ASSERT_GT(perModel, 0);
    for (const long long budget : {2 * perModel + 1, 2 * perModel}) {
        ModelStore small(budget);
        const auto load = [&](const char* skin) {  // every skin is a model of its own
            return small.getModel("a.3ds", skin, "", NO_LISTS, false, false, false);
        };
        const bool fits = budget > 2 * perModel;
        const Output said = captureOutput([&] {
            EXPECT_TRUE(load("s0") && load("s1"));
            EXPECT_EQ(2 * perModel, small.elementsLoaded());
            EXPECT_EQ(fits, load("s2") != nullptr) << budget;
            EXPECT_NE(nullptr, load("s0"));  // loaded models are still shared
        });
        const std::string n = std::to_string(budget);
        EXPECT_EQ(fits ? ""
                       : "Model a.3ds not loaded: this fight's models already hold " + n +
                             " elements, the most the game loads at once is " + n + "\n",
                  said.err);
        EXPECT_EQ(fits ? 3 : 2, small.count());
        small.clearModels();
        EXPECT_EQ(0, small.elementsLoaded());
    }
}

}  // namespace
