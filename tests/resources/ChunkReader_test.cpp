// What the 3DS reader makes of well-formed and damaged files.
#include "ChunkReader.h"

#include <gtest/gtest.h>

#include "Mesh.h"
#include "TdsWriter.h"

namespace {

TdsObject triangle(const std::string& name) {
    TdsObject o;
    o.name = name;
    o.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    o.faces = {0, 1, 2};
    return o;
}

TdsFaceGroup group(const std::string& material) {
    return {material, {0}};
}

bool read(Mesh& mesh, const std::vector<uint8_t>& bytes, ImportReport* report = nullptr) {
    return ChunkReader::importMemory(mesh, bytes.data(), bytes.size(), "test.3ds", report);
}

bool contains(const ImportReport& report, const std::string& text) {
    for (const std::string& w : report.warnings)
        if (w.find(text) != std::string::npos) return true;
    return false;
}

// main > editor > object with one vertex list, built by hand so tests can
// misplace chunks.
std::vector<uint8_t> objectFile(const TdsChunk& objectBody) {
    TdsChunk editor(0x3D3D);
    editor.child(TdsChunk(0x3D3E).u32(3));
    editor.child(objectBody);
    return TdsChunk(0x4D4D).child(editor).bytes();
}

TdsChunk vertexList(int count) {
    TdsChunk v(0x4110);
    v.u16(static_cast<uint16_t>(count));
    for (int i = 0; i < count; ++i) v.f32(float(i)).f32(0).f32(0);
    return v;
}

TdsChunk faceList(const std::vector<uint16_t>& indices) {
    TdsChunk f(0x4120);
    f.u16(static_cast<uint16_t>(indices.size() / 3));
    int n = 0;
    for (uint16_t i : indices) {
        f.u16(i);
        if (++n % 3 == 0) f.u16(0);
    }
    return f;
}

void expectFacesInRange(const Mesh& mesh) {
    for (const MeshObject& o : mesh.objects) {
        ASSERT_EQ(o.faces.size() % 3, 0u);
        for (uint32_t i : o.faces) ASSERT_LT(i, o.vertices.size());
    }
}

}  // namespace

TEST(ChunkReader, ReadsObjectsAndMaterialsInFileOrderWithGameAxes) {
    TdsScene scene;
    scene.materials = {{"Stone", "Wall.BMP", {10, 20, 30}}, {"Plain", "", {1, 2, 3}}};
    TdsObject a = triangle("floor");
    a.uvs = {0.5f, 0.25f, 1, 1, 0, 0};
    a.groups = {group("Stone")};
    scene.objects = {a, triangle("_hidden")};
    Mesh mesh;
    ImportReport report;
    ASSERT_TRUE(read(mesh, writeTds(scene), &report));

    ASSERT_EQ(mesh.materialCount(), 2);
    EXPECT_EQ(mesh.materials[0].name, "Stone");
    EXPECT_EQ(mesh.materials[0].textureFile, "Wall.BMP");  // stored as written
    const uint8_t* colour = mesh.materials[0].colour;
    EXPECT_EQ(std::vector<int>(colour, colour + 3), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(mesh.materials[1].textureFile, "");

    ASSERT_EQ(mesh.objectCount(), 2);
    const MeshObject& floor = mesh.objects[0];
    EXPECT_EQ(floor.name, "floor");
    EXPECT_TRUE(floor.visible);
    EXPECT_EQ(floor.materialIndex, 0);
    EXPECT_TRUE(floor.textured);
    ASSERT_EQ(floor.vertexCount(), 3);
    EXPECT_EQ(floor.vertices[0].x, 1.0f);  // file (1, 2, 3) becomes (1, 3, -2)
    EXPECT_EQ(floor.vertices[0].y, 3.0f);
    EXPECT_EQ(floor.vertices[0].z, -2.0f);
    EXPECT_EQ(floor.faces, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(floor.uvs, (std::vector<float>{0.5f, 0.25f, 1, 1, 0, 0}));

    const MeshObject& hidden = mesh.objects[1];
    EXPECT_FALSE(hidden.visible);  // read in full all the same
    EXPECT_EQ(hidden.vertexCount(), 3);
    EXPECT_EQ(hidden.faceCount(), 1);
    EXPECT_EQ(report.version, 3u);
    EXPECT_TRUE(report.warnings.empty());
}

TEST(ChunkReader, MaterialGroupsDecideOneMaterialPerObject) {
    TdsScene scene;
    scene.materials = {{"Tex", "a.bmp", {}}, {"Flat", "", {}}, {"Flat", "b.bmp", {}}};
    TdsObject lastWins = triangle("lastWins");
    lastWins.groups = {group("Tex"), group("Flat")};  // textured stays set; the first Flat
    TdsObject unknown = triangle("unknown");
    unknown.groups = {group("Flat"), group("Missing")};
    TdsObject caseMatters = triangle("caseMatters");
    caseMatters.groups = {group("flat")};
    TdsObject none = triangle("none");
    scene.objects = {lastWins, unknown, caseMatters, none};
    Mesh mesh;
    ImportReport report;
    ASSERT_TRUE(read(mesh, writeTds(scene), &report));
    EXPECT_EQ(mesh.objects[0].materialIndex, 1);
    EXPECT_TRUE(mesh.objects[0].textured);
    EXPECT_EQ(mesh.objects[1].materialIndex, -1);
    EXPECT_EQ(mesh.objects[2].materialIndex, -1);
    EXPECT_EQ(mesh.objects[3].materialIndex, 0);
    EXPECT_TRUE(contains(report, "unknown material \"Missing\""));

    // Without any material read, a group changes nothing; an object read
    // before its material is defined finds no match.
    TdsScene noMaterials;
    TdsObject o = triangle("o");
    o.groups = {group("Tex")};
    noMaterials.objects = {o};
    Mesh bare;
    ASSERT_TRUE(read(bare, writeTds(noMaterials)));
    EXPECT_EQ(bare.objects[0].materialIndex, 0);

    TdsChunk editor(0x3D3D);
    editor.child(TdsChunk(0x3D3E).u32(3));
    editor.child(TdsChunk(0xAFFF).child(TdsChunk(0xA000).str("Early")));
    editor.child(TdsChunk(0x4000).str("before").child(
        TdsChunk(0x4100)
            .child(vertexList(3))
            .child(faceList({0, 1, 2}).child(TdsChunk(0x4130).str("Late").u16(0)))));
    editor.child(TdsChunk(0xAFFF).child(TdsChunk(0xA000).str("Late")));
    Mesh ordered;
    ASSERT_TRUE(read(ordered, TdsChunk(0x4D4D).child(editor).bytes()));
    EXPECT_EQ(ordered.objects[0].materialIndex, -1);
}

TEST(ChunkReader, FaceListChildrenAreReadAsSiblings) {
    // A vertex list placed inside the face list's length is still met by the
    // object's walk, after the faces.
    TdsChunk object(0x4000);
    object.str("obj").child(TdsChunk(0x4100).child(
        faceList({0, 1, 2}).child(vertexList(3)).child(TdsChunk(0x4150).u32(1))));
    Mesh mesh;
    ImportReport report;
    ASSERT_TRUE(read(mesh, objectFile(object), &report));
    ASSERT_EQ(mesh.objectCount(), 1);
    EXPECT_EQ(mesh.objects[0].vertexCount(), 3);
    EXPECT_EQ(mesh.objects[0].faceCount(), 1);  // checked once the object was complete
    EXPECT_TRUE(report.warnings.empty());
}

TEST(ChunkReader, MaterialMapsColoursAndChunksPassedOver) {
    TdsChunk material(0xAFFF);
    material.child(TdsChunk(0xA000).str("Glass"));
    // Only the first colour child counts, as three bytes even when it holds
    // floats (1.0f is 00 00 80 3F); the second is skipped by the material's walk.
    material.child(TdsChunk(0xA020)
                       .child(TdsChunk(0x0010).f32(1.0f).f32(0.5f).f32(0.25f))
                       .child(TdsChunk(0x0011).u8(9).u8(8).u8(7)));
    material.child(TdsChunk(0xA210).child(TdsChunk(0xA300).str("opacity.bmp")));
    // The editor's first child is passed over whatever it is; the keyframer whole.
    TdsChunk editor(0x3D3D);
    editor.child(TdsChunk(0x0100).child(TdsChunk(0xAFFF).child(TdsChunk(0xA000).str("First"))))
        .child(material);
    TdsChunk keyframer(0xB000);
    keyframer.child(TdsChunk(0x4000).str("track"));
    Mesh mesh;
    ASSERT_TRUE(read(mesh, TdsChunk(0x4D4D).child(editor).child(keyframer).bytes()));
    ASSERT_EQ(mesh.materialCount(), 1);
    EXPECT_EQ(mesh.materials[0].name, "Glass");
    const uint8_t* colour = mesh.materials[0].colour;
    EXPECT_EQ(std::vector<int>(colour, colour + 3), (std::vector<int>{0, 0, 0x80}));
    EXPECT_EQ(mesh.materials[0].textureFile, "");  // an opacity map is not texture map 1
    EXPECT_EQ(mesh.objectCount(), 0);
}

TEST(ChunkReader, VersionAboveThreeWarnsAndReadsOn) {
    TdsScene scene;
    scene.version = 4;
    scene.objects = {triangle("a")};
    const std::vector<uint8_t> bytes = writeTds(scene);
    Mesh mesh;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(read(mesh, bytes));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "This 3DS file is over version 3 so it may load incorrectly");
    EXPECT_EQ(mesh.objectCount(), 1);

    Mesh reported;
    ImportReport report;
    ASSERT_TRUE(read(reported, bytes, &report));
    EXPECT_EQ(report.version, 4u);
    EXPECT_EQ(report.warnings.size(), 1u);
}

TEST(ChunkReader, EveryTruncationEndsTheWalkWithValidObjects) {
    TdsScene scene;
    scene.materials = {{"M", "m.bmp", {}}};
    TdsObject o = triangle("obj");
    o.uvs = {0, 0, 1, 0, 0, 1};
    o.groups = {group("M")};
    scene.objects = {o, triangle("second")};
    const std::vector<uint8_t> whole = writeTds(scene);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        // A copy of exactly cut bytes, so any read past it shows up under the sanitizer.
        const std::vector<uint8_t> prefix(whole.begin(), whole.begin() + long(cut));
        Mesh mesh;
        ImportReport report;
        testing::internal::CaptureStderr();
        const bool ok =
            ChunkReader::importMemory(mesh, prefix.data(), prefix.size(), "cut", &report);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(ok, cut >= 6) << cut;
        if (cut >= 6) {
            EXPECT_FALSE(report.warnings.empty()) << cut;
        }
        expectFacesInRange(mesh);
        for (const MeshObject& obj : mesh.objects) EXPECT_LE(obj.name.size(), 6u);
    }
}

TEST(ChunkReader, BogusLengthsAndCountsStayInsideTheData) {
    // A child claiming less than its own header would never advance.
    {
        TdsChunk editor(0x3D3D);
        editor.child(TdsChunk(0x3D3E).u32(3)).raw(TdsChunk(0x4000).str("x").bytes(2));
        Mesh mesh;
        ImportReport report;
        ASSERT_TRUE(read(mesh, TdsChunk(0x4D4D).child(editor).bytes(), &report));
        EXPECT_TRUE(contains(report, "shorter than its header"));
    }
    // Lengths running past the parent and past the file.
    {
        TdsChunk object(0x4000);
        object.str("obj").child(TdsChunk(0x4100).child(vertexList(3)));
        std::vector<uint8_t> bytes = objectFile(object);
        Mesh mesh;
        ImportReport report;
        std::vector<uint8_t> longMain = bytes;
        longMain[2] = 0xFF, longMain[3] = 0xFF, longMain[4] = 0xFF, longMain[5] = 0x7F;
        for (size_t i = 0; i + 3 < longMain.size(); ++i)  // the vertex list's length + 4096
            if (longMain[i] == 0x10 && longMain[i + 1] == 0x41) {
                longMain[i + 3] = 0x10;
                break;
            }
        ASSERT_TRUE(read(mesh, longMain, &report));
        EXPECT_TRUE(contains(report, "past the end of the file"));
        EXPECT_TRUE(contains(report, "runs past the end of its parent"));
        EXPECT_EQ(mesh.objects.at(0).vertexCount(), 3);
    }
    // Counts larger than the chunk body are cut to what it holds.
    {
        TdsChunk verts(0x4110);
        verts.u16(65535).f32(1).f32(2).f32(3).f32(4).f32(5).f32(6);
        TdsChunk uvs(0x4140);
        uvs.u16(40000).f32(0.5f);
        TdsChunk faces(0x4120);
        faces.u16(9000).u16(0).u16(1).u16(1).u16(0);
        TdsChunk object(0x4000);
        object.str("obj").child(TdsChunk(0x4100).child(verts).child(faces).child(uvs));
        Mesh mesh;
        ImportReport report;
        ASSERT_TRUE(read(mesh, objectFile(object), &report));
        EXPECT_EQ(mesh.objects[0].vertexCount(), 2);
        EXPECT_EQ(mesh.objects[0].faceCount(), 1);
        EXPECT_EQ(mesh.objects[0].uvCount(), 0);
        EXPECT_TRUE(contains(report, "claims 65535 entries but holds only 2"));
    }
}

TEST(ChunkReader, FacesPointingPastTheVerticesAreDropped) {
    // Three vertices: index 3 is one too many, in any corner.
    const std::pair<std::vector<uint16_t>, const char*> cases[] = {
        {{0, 1, 2, 0, 3, 1, 2, 1, 0}, "1 faces point past its 3 vertices"},
        {{3, 0, 1, 0, 1, 2, 1, 0, 3, 2, 1, 0}, "2 faces point past its 3 vertices"}};
    for (const auto& [faces, warning] : cases) {
        TdsChunk object(0x4000);
        object.str("obj").child(TdsChunk(0x4100).child(faceList(faces)).child(vertexList(3)));
        Mesh mesh;
        ImportReport report;
        ASSERT_TRUE(read(mesh, objectFile(object), &report));
        EXPECT_EQ(mesh.objects[0].faces, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}));
        EXPECT_TRUE(contains(report, warning)) << warning;
    }
}

TEST(ChunkReader, HostileNamesAndNestingAreBounded) {
    // Deeply nested meshes are skipped rather than recursed into.
    TdsChunk nested = TdsChunk(0x4100).child(vertexList(1));
    for (int i = 0; i < 2000; ++i) nested = TdsChunk(0x4100).child(nested);
    TdsChunk deep(0x4000);
    deep.str(std::string(300, 'n')).child(nested);
    Mesh mesh;
    ImportReport report;
    ASSERT_TRUE(read(mesh, objectFile(deep), &report));
    EXPECT_EQ(mesh.objects[0].name, std::string(ChunkReader::MAX_NAME, 'n'));
    EXPECT_EQ(mesh.objects[0].vertexCount(), 0);
    EXPECT_TRUE(contains(report, "nested too deeply"));

    // A name without its zero ends at the chunk's end.
    TdsChunk unterminated(0x4000);
    unterminated.raw({'a', 'b'});
    Mesh mesh2;
    ImportReport report2;
    ASSERT_TRUE(read(mesh2, objectFile(unterminated), &report2));
    EXPECT_EQ(mesh2.objects[0].name, "ab");
    EXPECT_TRUE(contains(report2, "no terminating zero"));
}
