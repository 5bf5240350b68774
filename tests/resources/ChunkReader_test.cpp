// What the 3DS reader makes of well-formed and damaged files.
#include "ChunkReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "CaptureOutput.h"
#include "Mesh.h"
#include "TdsWriter.h"
#include "TestFiles.h"

namespace {

TdsObject triangle(const std::string& name, std::vector<std::string> groups = {}) {
    TdsObject o{name, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0, 1, 2}, {}, {}};
    for (const std::string& material : groups) o.groups.push_back({material, {0}});
    return o;
}

bool read(Mesh& mesh, const std::vector<uint8_t>& bytes, ImportReport* report = nullptr) {
    return ChunkReader::importMemory(mesh, bytes.data(), bytes.size(), "test.3ds", report);
}

// What the reader makes of the bytes: materials as "name:texture:r,g,b", then
// objects as "name(hidden) m<material>t(extured) v<vertices> f<faces> uv<coordinates>",
// then the warnings, one a line, then colours stored as floats as "material:r,g,b".
std::string readBack(const std::vector<uint8_t>& bytes) {
    Mesh mesh;
    ImportReport report;
    EXPECT_TRUE(read(mesh, bytes, &report));
    std::ostringstream s;
    for (const Material& m : mesh.materials)
        s << m.name << ':' << m.textureFile << ':' << int(m.colour[0]) << ',' << int(m.colour[1])
          << ',' << int(m.colour[2]) << ' ';
    s << '|';
    for (const MeshObject& o : mesh.objects)
        s << ' ' << o.name << (o.visible ? "" : "(hidden)") << " m" << o.materialIndex
          << (o.textured ? "t" : "") << " v" << o.vertexCount() << " f" << o.faceCount() << " uv"
          << o.uvCount() << ';';
    for (const std::string& w : report.warnings) s << '\n' << w;
    for (const auto& f : report.floatColours)
        s << '\n' << f.material << ':' << f.rgb[0] << ',' << f.rgb[1] << ',' << f.rgb[2];
    return s.str();
}

// main > editor (version first) > the given children, built by hand so tests can misplace chunks.
std::vector<uint8_t> editorFile(const std::vector<TdsChunk>& children) {
    TdsChunk editor(0x3D3D);
    editor.child(TdsChunk(0x3D3E).u32(3));
    for (const TdsChunk& c : children) editor.child(c);
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
    for (size_t i = 0; i < indices.size(); ++i) {
        f.u16(indices[i]);
        if (i % 3 == 2) f.u16(0);
    }
    return f;
}

// An object whose mesh chunk holds the given children.
TdsChunk object(const std::vector<TdsChunk>& meshChildren, const std::string& name = "obj") {
    TdsChunk mesh(0x4100);
    for (const TdsChunk& c : meshChildren) mesh.child(c);
    return TdsChunk(0x4000).str(name).child(mesh);
}

TdsChunk material(const char* name) {
    return TdsChunk(0xAFFF).child(TdsChunk(0xA000).str(name));
}

}  // namespace

// A version above 3 is only a warning: into the report when there is one, else onto stderr. The
// editor's first child is passed over whatever it is (here a material), the keyframer whole, and
// an unknown chunk inside a material.
// (Materials and objects as read: the 3DS inspector's and the model fixer's tests.)
TEST(ChunkReader, NewerVersionsWarnAndTheEditorsFirstChildAndTheKeyframerArePassedOver) {
    TdsChunk editor(0x3D3D);
    editor.child(material("First")).child(material("Glass").child(TdsChunk(0x1234).u8(7)));
    const std::vector<uint8_t> bytes =
        TdsChunk(0x4D4D)
            .child(TdsChunk(0x0002).u32(4))
            .child(editor)
            .child(TdsChunk(0xB000).child(TdsChunk(0x4000).str("track")))
            .bytes();
    EXPECT_EQ(
        readBack(bytes),
        "Glass::0,0,0 |\nThis 3DS file is over version 3 so it may load incorrectly (version 4)");
    Mesh quiet;
    captureStderr();
    ASSERT_TRUE(read(quiet, bytes));
    EXPECT_EQ(capturedStderr(), "This 3DS file is over version 3 so it may load incorrectly");
}

// The last group met decides the object's material; without any material read, a group changes
// nothing. (Unknown names, textured flags and materials read after the object: the 3DS
// inspector's and the model preview's tests.)
TEST(ChunkReader, TheLastMaterialGroupDecidesAndWithoutMaterialsGroupsChangeNothing) {
    TdsScene scene;
    scene.materials = {{"Tex", "a.bmp", {}}, {"Flat", "", {}}};
    scene.objects = {triangle("lastWins", {"Tex", "Flat"})};
    EXPECT_EQ(readBack(writeTds(scene)), "Tex:a.bmp:0,0,0 Flat::0,0,0 | lastWins m1t v3 f1 uv0;");
    scene.materials.clear();
    EXPECT_EQ(readBack(writeTds(scene)), "| lastWins m0 v3 f1 uv0;");
}

TEST(ChunkReader, EveryTruncationEndsTheWalkWithValidObjects) {
    TdsScene scene;
    scene.materials = {{"M", "m.bmp", {}}};
    scene.objects = {triangle("obj", {"M"}), triangle("second")};
    scene.objects[0].uvs = {0, 0, 1, 0, 0, 1};
    const std::vector<uint8_t> whole = writeTds(scene);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        // A copy of exactly cut bytes, so any read past it shows up under the sanitizer.
        const std::vector<uint8_t> prefix(whole.begin(), whole.begin() + long(cut));
        Mesh mesh;
        ImportReport report;
        captureStderr();
        const bool ok = read(mesh, prefix, &report);
        capturedStderr();
        EXPECT_EQ(ok, cut >= 6) << cut;
        EXPECT_EQ(report.warnings.empty(), cut < 6) << cut;
        for (const MeshObject& o : mesh.objects) {
            EXPECT_LE(o.name.size(), 6u);
            ASSERT_EQ(o.faces.size() % 3, 0u);
            for (uint32_t i : o.faces) ASSERT_LT(i, o.vertices.size());
        }
    }
}

// Every bound of the walk at its limit and one past it: chunk lengths against their header,
// their parent and the data, counts against their chunk, names and nesting depth.
TEST(ChunkReader, BoundsHoldAtTheirLimitAndEndTheWalkOnePast) {
    const auto nested = [](int levels) {  // meshes in meshes, a vertex list in the innermost
        TdsChunk mesh = TdsChunk(0x4100).child(vertexList(1));
        for (int i = 1; i < levels; ++i) mesh = TdsChunk(0x4100).child(mesh);
        return TdsChunk(0x4000).str("deep").child(mesh);
    };
    // The vertex list's length one past its object: what follows is not read.
    std::vector<uint8_t> pastParent = editorFile({object({vertexList(3)}), object({}, "after")});
    pastParent[40] += 1;
    std::vector<uint8_t> pastFile = editorFile({object({vertexList(3)})});
    pastFile[2] += 1;
    TdsChunk verts(0x4110), faces(0x4120), uvs(0x4140);
    verts.u16(3).f32(1).f32(2).f32(3).f32(4).f32(5).f32(6);
    faces.u16(2).u16(0).u16(1).u16(1).u16(0);
    uvs.u16(2).f32(0.5f).f32(0.5f);
    const std::string n254(ChunkReader::MAX_NAME, 'n');
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {TdsChunk(0x4D4D).bytes(), "|"},
        {TdsChunk(0x4D4D).bytes(5),
         "|\nchunk 0x4D4D at offset 0 (length 5) is shorter than its header"},
        {pastFile,
         "| obj m0 v3 f0 uv0;\nchunk 0x4D4D at offset 0 (length 83) runs past the end of the file"},
        {editorFile({TdsChunk(0x1234), object({vertexList(3)})}), "| obj m0 v3 f0 uv0;"},
        // A vertex list inside the face list's length is still met by the object's walk, after
        // the faces; faces are checked once the object is complete.
        {editorFile(
             {object({faceList({0, 1, 2}).child(vertexList(3)).child(TdsChunk(0x4150).u32(1))})}),
         "| obj m0 v3 f1 uv0;"},
        {TdsChunk(0x4D4D)
             .child(
                 TdsChunk(0x3D3D).child(TdsChunk(0x3D3E)).raw(TdsChunk(0x4000).str("x").bytes(5)))
             .bytes(),
         "|\nchunk 0x4000 at offset 18 (length 5) is shorter than its header"},
        {editorFile({object({vertexList(3)}).raw(TdsChunk(0x1234).bytes()), object({}, "after")}),
         "| obj m0 v3 f0 uv0; after m0 v0 f0 uv0;"},
        {editorFile({object({vertexList(3)}).raw({1, 2, 3, 4, 5}), object({}, "after")}),
         "| obj m0 v3 f0 uv0;\nchunk 0x4000 at offset 22 (length 65) ends inside a chunk header"},
        {pastParent,
         "| obj m0 v3 f0 uv0;\nchunk 0x4110 at offset 38 (length 45) runs past the end of its "
         "parent"},
        {editorFile({object({verts, faces, uvs})}),
         "| obj m0 v2 f1 uv1;\n"
         "vertex list at offset 38 claims 3 entries but holds only 2\n"
         "face list at offset 70 claims 2 entries but holds only 1\n"
         "texture coordinate list at offset 86 claims 2 entries but holds only 1"},
        {editorFile({TdsChunk(0x4000).str(n254), TdsChunk(0x4000).str(n254 + "x")}),
         "| " + n254 + " m0 v0 f0 uv0; " + n254 +
             " m0 v0 f0 uv0;\nobject name cut to 254 characters: \"" + n254 + "\""},
        // A name without its zero ends at the chunk's end.
        {editorFile({TdsChunk(0x4000).raw({'a', 'b'})}),
         "| ab m0 v0 f0 uv0;\nobject name \"ab\" has no terminating zero"},
        // A list without room for its count, a version without room for its value.
        {editorFile({object({TdsChunk(0x4110).u8(1), vertexList(3)})}),
         "| obj m0 v3 f0 uv0;\nchunk 0x4110 at offset 38 (length 7) ends before its count"},
        {TdsChunk(0x4D4D)
             .child(TdsChunk(0x0002).u8(4).u8(0).u8(0))
             .child(TdsChunk(0x4000).str("o"))
             .bytes(),
         "| o m0 v0 f0 uv0;\nchunk 0x0002 at offset 6 (length 9) ends before its value"},
        // The list 29 meshes down is read at depth 32; deeper ones are skipped, told once.
        {editorFile({nested(29), nested(30), nested(31)}),
         "| deep m0 v1 f0 uv0; deep m0 v0 f0 uv0; deep m0 v0 f0 uv0;\n"
         "chunk 0x4110 at offset 418 (length 20) is nested too deeply; skipped"},
    };
    for (const auto& [bytes, reading] : cases) EXPECT_EQ(readBack(bytes), reading);
}

// Three vertices: index 3 is one too many, in any corner.
TEST(ChunkReader, FacesPointingPastTheVerticesAreDropped) {
    Mesh mesh;
    ImportReport report;
    const std::vector<uint16_t> faces = {3, 0, 1, 0, 1, 2, 0, 3, 1, 1, 0, 3, 2, 1, 0};
    ASSERT_TRUE(read(mesh, editorFile({object({faceList(faces), vertexList(3)})}), &report));
    EXPECT_EQ(mesh.objects[0].faces, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(report.warnings, std::vector<std::string>{"object \"obj\": 3 faces point past its 3 "
                                                        "vertices and were dropped"});
}

// Files are read in blocks up to their main chunk's length, however long; a file shorter than
// its main chunk keeps what it holds, and files that are none are refused with their path.
TEST(ChunkReader, FilesAreReadWholeAndRefusedWhenTheyHoldNoMainChunk) {
    TempDir dir;
    TdsScene scene;
    scene.objects = {triangle("first"), triangle("big"), triangle("last")};
    scene.objects[1].vertices.resize(6000);  // 72 kB: more than one block
    const std::string whole = dir.write("whole.3ds", writeTds(scene));
    Mesh mesh;
    ASSERT_TRUE(ChunkReader::import(mesh, whole.c_str()));
    EXPECT_EQ(
        std::make_tuple(3, 6000, std::string("last")),
        std::make_tuple(mesh.objectCount(), mesh.objects[1].vertexCount(), mesh.objects[2].name));
    // A missing file, and one of another main chunk: the 3DS inspector's tests.
    const std::string claims = dir.write("claims.3ds", TdsChunk(0x4D4D).bytes(100)),
                      tiny = dir.write("tiny.3ds", std::string("MM\6\0\0", 5));
    captureStderr();
    EXPECT_TRUE(ChunkReader::import(mesh, claims.c_str()));
    EXPECT_FALSE(ChunkReader::import(mesh, tiny.c_str()));
    EXPECT_FALSE(ChunkReader::importMemory(mesh, nullptr, 0, "nothing"));
    EXPECT_EQ(capturedStderr(),
              "3DS file " + claims +
                  ": chunk 0x4D4D at offset 0 (length 100) runs past the end of the file\n" +
                  "Unable to load PRIMARY chuck from file: " + tiny + "!\n" +
                  "Unable to load PRIMARY chuck from file: nothing!\n");
}
