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
        TdsScene scene;
        TdsObject o;
        o.name = "tri";
        o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        o.faces = {0, 1, 2};
        scene.objects.push_back(o);
        for (const char* n : {"a.3ds", "b.3ds", "c.3ds", "sky.3ds"})
            ASSERT_TRUE(saveTds(scene, dir.file(n)));
    }
    Model* get(const char* name, const char* skin = "", const char* replaced = "",
               DisplayListMode mode = NO_LISTS, bool mx = false) {
        return store.getModel(name, skin, replaced, mode, mx, false, false);
    }
    // Stdout of one request.
    std::string said(Model** out, const char* name, const char* skin = "") {
        testing::internal::CaptureStdout();
        *out = get(name, skin);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(ModelStoreTest, TheSameRequestInAnyCaseSharesOneModel) {
    Model *first = nullptr, *again = nullptr;
    EXPECT_NE(std::string::npos, said(&first, "sky.3ds").find("Loading model sky.3ds\n"));
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->loaded);
    EXPECT_EQ("Getting used model SKY.3DS\n", said(&again, "SKY.3DS"));
    EXPECT_EQ(first, again);
    ASSERT_EQ(1, store.count());
    EXPECT_EQ(2, store.entry(0)->refCount);
    EXPECT_EQ("sky.3ds", store.entry(0)->fileName);
}

TEST_F(ModelStoreTest, EveryPartOfTheKeyMakesAModelOfItsOwn) {
    testing::internal::CaptureStdout();
    const Model* models[] = {
        get("a.3ds"),
        store.getModel("a.3ds", "", "", NO_LISTS, true, false, false),
        store.getModel("a.3ds", NO_LISTS, false, false, true),
        get("a.3ds", "Skin.bmp"),
        get("a.3ds", "skin.bmp", "wall.bmp"),
        get("a.3ds", "", "", 8),
    };
    EXPECT_EQ(models[3], get("A.3DS", "SKIN.BMP"));
    testing::internal::GetCapturedStdout();
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_NE(nullptr, models[i]);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(models[i], models[j]);
    }
    EXPECT_EQ(6, store.count());
    EXPECT_EQ("skin.bmp", store.entry(3)->replacementTexture);
}

TEST_F(ModelStoreTest, ReleasingTheLastReferenceMovesTheLastEntryIntoTheHole) {
    Model* a = get("a.3ds");
    Model* b = get("b.3ds");
    Model* c = get("c.3ds");
    EXPECT_EQ(a, get("a.3ds"));
    store.releaseModel(a);
    EXPECT_EQ(3, store.count());
    EXPECT_EQ(a, store.entry(0)->model.get());
    store.releaseModel(a);
    ASSERT_EQ(2, store.count());
    EXPECT_EQ(c, store.entry(0)->model.get());
    EXPECT_EQ(b, store.entry(1)->model.get());
    EXPECT_EQ(nullptr, store.entry(2));
    EXPECT_EQ(nullptr, store.entry(-1));
    EXPECT_EQ(nullptr, store.entry(ModelStore::MAX_MODELS));

    Model stranger;
    store.releaseModel(&stranger);  // not held here: nothing happens
    store.releaseModel(nullptr);
    EXPECT_EQ(2, store.count());
    Model *b2 = nullptr, *c2 = nullptr;
    EXPECT_EQ("Getting used model b.3ds\n", said(&b2, "b.3ds"));
    EXPECT_EQ("Getting used model c.3ds\n", said(&c2, "c.3ds"));
    EXPECT_EQ(b, b2);
    EXPECT_EQ(c, c2);
    store.releaseModel(b);
    store.releaseModel(b);  // the last entry: nothing moves into its place
    EXPECT_EQ(nullptr, store.entry(1));
}

TEST_F(ModelStoreTest, AFullTableRefusesNewRequestsButStillFindsLoadedModels) {
    testing::internal::CaptureStdout();
    for (int i = 0; i < ModelStore::MAX_MODELS; ++i)
        ASSERT_NE(nullptr, get("a.3ds", ("s" + std::to_string(i)).c_str())) << i;
    testing::internal::GetCapturedStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, get("b.3ds"));
    const std::string err = testing::internal::GetCapturedStderr();
    // The store's own file name, not the path it was built from: a player has no such folder.
    EXPECT_TRUE(isWithLineNumber(err, "file: ModelStore.cpp, line: ",
                                 " MAX_MODELS too small - please use larger number.\n"))
        << err;
    EXPECT_EQ(ModelStore::MAX_MODELS, store.count());
    Model* hit = nullptr;
    EXPECT_EQ("Getting used model a.3ds\n", said(&hit, "a.3ds", "S57"));
    EXPECT_EQ(store.entry(57)->model.get(), hit);
    store.clearModels();
    EXPECT_EQ(0, store.count());
    EXPECT_EQ(nullptr, store.entry(0));
}

TEST_F(ModelStoreTest, FailedOrRefusedRequestsLeaveNoEntryBehind) {
    ASSERT_NE(nullptr, get("a.3ds"));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, get("missing.3ds"));
    EXPECT_EQ(nullptr, get(""));
    const std::string longName(300, 'x');
    EXPECT_EQ(nullptr, get(longName.c_str()));
    EXPECT_EQ(nullptr, get("a.3ds", longName.c_str()));
    testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("Unable to locate file missing.3ds\n")) << err;
    EXPECT_NE(std::string::npos, err.find("Model name too long")) << err;
    EXPECT_EQ(1, store.count());
    EXPECT_EQ(nullptr, store.entry(1));
    EXPECT_EQ("a.3ds", store.entry(0)->fileName);
}

TEST_F(ModelStoreTest, ModelsLoadedSinceTheLastClearShareOneElementBudget) {
    // 900 frames of a 1000-vertex key: 915,416 elements a model (frames and
    // key), under the per-model cap; every skin is a model of its own.
    TdsScene scene;
    TdsObject o;
    o.name = "cloud";
    for (int i = 0; i < 1000; ++i) o.vertices.push_back({float(i), 0, 0});
    scene.objects.push_back(o);
    ASSERT_TRUE(saveTds(scene, dir.file("big1.3ds")));
    dir.write("big3", "900\n900\n1\nbig%d.3ds\n1\n");
    constexpr long long PER_MODEL = 900 * 1016 + 1016;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int i = 0; i < 6; ++i) ASSERT_NE(nullptr, get("big3", ("s" + std::to_string(i)).c_str()));
    EXPECT_EQ(6 * PER_MODEL, store.elementsLoaded());
    EXPECT_EQ(nullptr, get("big3", "s6"));
    EXPECT_NE(nullptr, get("big3", "s0"));  // loaded models are still shared
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(
        "Model big3 not loaded: this fight's models already hold 5492496 elements, the most "
        "the game loads at once is 5000000\n",
        testing::internal::GetCapturedStderr());
    EXPECT_EQ(6, store.count());
    store.clearModels();
    EXPECT_EQ(0, store.elementsLoaded());
    testing::internal::CaptureStdout();
    EXPECT_NE(nullptr, get("big3", "s6"));
    testing::internal::GetCapturedStdout();
}

}  // namespace
