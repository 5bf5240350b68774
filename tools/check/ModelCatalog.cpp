// Model checks: found under the lowered name, a 3DS file, the reader's notes, animations and their
// keys.
#include "ModelCatalog.h"

#include <cstdio>

#include "ByteOrderMark.h"
#include "ChunkReader.h"
#include "GameAdapters.h"
#include "MeshData.h"
#include "ModelKey.h"  // MAX_MODEL_NAME
#include "TextReader.h"

namespace {

// True when the file starts with a 3DS main chunk id (0x4D4D, "MM").
bool starts3ds(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char id[2] = {0, 0};
    const bool read = std::fread(id, 1, 2, f) == 2;
    std::fclose(f);
    return read && id[0] == 0x4D && id[1] == 0x4D;
}

// Objects that use material i and show its colour: visible, with faces, untextured.
bool colourShows(const MeshData& mesh, size_t i) {
    for (const MeshObject& o : mesh.objects)
        if (o.visible && o.faceCount() > 0 && !o.textured && o.materialIndex == int(i)) return true;
    return false;
}

void noteFloatColours(Findings& findings, const std::string& path, const MeshData& mesh,
                      const ImportReport& report) {
    for (const ImportReport::FloatColour& c : report.floatColours) {
        if (c.material >= mesh.materials.size() || !colourShows(mesh, c.material)) continue;
        const Material& m = mesh.materials[c.material];
        findings.warning(path, 0,
                         format("material \"%s\" stores its colour as floats (%g, %g, %g); the "
                                "game reads their first bytes and shows (%d, %d, %d): store it "
                                "as a 24-bit colour",
                                m.name.c_str(), double(c.rgb[0]), double(c.rgb[1]),
                                double(c.rgb[2]), m.colour[0], m.colour[1], m.colour[2]));
    }
}

// Objects are numbered from 0 in the reader's order, every object counted, as tovask-3dsinfo does.
void noteCoordinates(Findings& findings, const std::string& path, const MeshData& mesh) {
    for (size_t i = 0; i < mesh.objects.size(); ++i) {
        const MeshObject& o = mesh.objects[i];
        if (!o.visible || !o.textured || o.faceCount() == 0 || o.uvCount() >= o.vertexCount())
            continue;
        findings.warning(path, 0,
                         format("object %zu \"%s\" is textured but only %d of its %d vertices "
                                "have texture coordinates: the others show one corner of the "
                                "texture",
                                i, o.name.c_str(), o.uvCount(), o.vertexCount()));
    }
}

// The line of the n-th value (from 1) of an animation description file, each one word, or 0.
int lineOfValue(const std::string& path, size_t n) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    TextReader reader(file, nullptr);
    char word[MAX_NAME_LENGTH + 1];
    int line = 0;
    for (size_t k = 1; k <= n && (k == 1 || line > 0); ++k) {
        reader.readName(word);
        line = reader.last().line;  // 0 once the file has ended
    }
    std::fclose(file);
    return line;
}

std::string sameShapeProblem(const MeshInfo& key, const MeshInfo& first) {
    if (key.objects.size() != first.objects.size())
        return format("it holds %zu objects where key 1 (%s) holds %zu", key.objects.size(),
                      first.path.c_str(), first.objects.size());
    for (size_t o = 0; o < key.objects.size(); ++o)
        if (key.objects[o].vertices != first.objects[o].vertices)
            return format("its object %zu \"%s\" has %d vertices where key 1's (%s) has %d", o,
                          key.objects[o].name.c_str(), key.objects[o].vertices, first.path.c_str(),
                          first.objects[o].vertices);
    return "";
}

}  // namespace

const MeshInfo& ModelCatalog::mesh(const std::string& path) {
    std::unique_ptr<MeshInfo>& slot = meshes_[path];
    if (slot) return *slot;
    slot = std::make_unique<MeshInfo>();
    MeshInfo& info = *slot;
    info.path = path;
    if (!starts3ds(path)) {
        findings_.error(path, 0, "not a 3DS file (no main chunk): the game draws nothing for it");
        return info;
    }
    MeshData mesh;
    ImportReport report;
    info.is3ds = ChunkReader::import(mesh, path.c_str(), &report);
    mesh.computeBounds();
    for (const std::string& note : report.warnings)
        findings_.warning(path, 0, "the 3DS reader notes: " + note);
    noteFloatColours(findings_, path, mesh, report);
    noteCoordinates(findings_, path, mesh);
    if (mesh.triangleCount == 0)
        findings_.warning(path, 0, "holds no triangles: the game draws nothing for it");
    info.materials = mesh.materials;
    for (const MeshObject& o : mesh.objects)
        info.objects.push_back({o.name, o.vertexCount(), o.faceCount(), o.uvCount(),
                                o.materialIndex, o.visible, o.textured});
    info.triangles = mesh.triangleCount;
    info.elements = meshElements(mesh);
    info.boundsMin = mesh.boundsMin;
    info.boundsMax = mesh.boundsMax;
    return info;
}

const ModelInfo& ModelCatalog::model(const std::string& requested) {
    const std::string name = lowered(requested);
    auto found = models_.find(name);
    if (found != models_.end()) return found->second;
    ModelInfo& m = models_[name];
    m.name = name;
    if (name.empty() || name.size() > MAX_MODEL_NAME) return m;
    m.path = search_.locate(name);
    if (m.path.empty()) return m;
    m.animated = namesAnimation(name);
    if (m.animated) {
        loadAnimation(m);
    } else {
        m.keys = {&mesh(m.path)};
        m.keyNames = {name};
        m.frames = 1;
        m.loads = true;
        m.elementsRead = m.keys[0]->elements;
    }
    return m;
}

void ModelCatalog::loadAnimation(ModelInfo& m) {
    int field = 0;
    const char* problem = animationDescriptionProblem(m.path.c_str(), m.animation, field);
    if (problem && startsWithMark(m.path)) {
        findings_.error(m.path, 1,
                        markFinding(std::string("it refuses this animation (") + problem +
                                    ") and does not load the model"));
        std::FILE* file = std::fopen(m.path.c_str(), "r");
        if (file) {
            skipMark(file);
            problem = animationDescriptionProblem(file, m.animation, field);
            std::fclose(file);
        }
    }
    if (problem) {
        const int line = lineOfValue(m.path, size_t(field));
        std::string message = std::string("the game refuses this animation: ") + problem;
        if (starts3ds(m.path))
            message +=
                " (this is a 3DS file, but a model name ending in 3 names an "
                "animation description)";
        findings_.error(m.path, line, message + "; the model is not loaded");
        return;
    }
    m.loads = true;
    m.frames = m.animation.frameCount;
    for (int k = 1; k <= m.animation.keyCount; ++k) {
        char name[DATA_NAME_SIZE];
        keyFileName(m.animation.pattern, k, name);      // fits: the reader checked the longest
        const std::string path = search_.locate(name);  // key names are not lowered
        m.keyNames.push_back(name);
        m.keys.push_back(path.empty() ? nullptr : &mesh(path));
    }
    checkKeys(m);
    const long long key1 = m.keys[0] ? m.keys[0]->elements : 0;
    const std::string budget = frameBudgetProblem(m.frames, key1, "key 1");
    if (!budget.empty()) {
        findings_.error(m.path, lineOfValue(m.path, 2),
                        budget + " the game allows: it refuses the model");
        m.loads = false;
        m.elementsRead = key1;  // the game stops after key 1
        return;
    }
    for (const MeshInfo* key : m.keys) m.elementsRead += key ? key->elements : 0;
    m.elementsRead += static_cast<long long>(m.frames) * key1;
}

void ModelCatalog::checkKeys(const ModelInfo& m) {
    auto lineOf = [&](size_t field) { return lineOfValue(m.path, field); };
    const AnimationDescription& d = m.animation;
    // Key 1 alone, then the first other key missing, with how many more are.
    auto notFound = [&](size_t k) {
        const NearName near = search_.nearName(m.keyNames[k]);
        return format("key %zu (%s) is not found", k + 1, m.keyNames[k].c_str()) +
               (near ? " (" + near.text() + ")" : "");
    };
    size_t missing = 0, first = 0;
    for (size_t k = 0; k < m.keys.size(); ++k) {
        if (m.keys[k]) continue;
        if (k == 0)
            findings_.error(
                m.path, lineOf(4),
                notFound(0) + ": every frame is built from key 1, so the model draws nothing");
        else if (missing++ == 0)
            first = k;
    }
    if (missing > 0)
        findings_.error(m.path, lineOf(4),
                        notFound(first) +
                            (missing > 1 ? format(", nor %zu more keys", missing - 1) : "") +
                            ": the game blends a missing key as an empty one, so the frames near "
                            "it stand still");
    const MeshInfo* key1 = m.keys.empty() ? nullptr : m.keys[0];
    for (size_t k = 1; key1 && key1->is3ds && k < m.keys.size(); ++k) {
        if (!m.keys[k] || !m.keys[k]->is3ds) continue;
        const std::string problem = sameShapeProblem(*m.keys[k], *key1);
        if (!problem.empty())
            findings_.error(m.keys[k]->path, 0,
                            format("as key %zu of %s, ", k + 1, m.path.c_str()) + problem +
                                ": the frames blend only what the keys share");
    }
    if (d.length % d.keyCount != 0)
        findings_.warning(m.path, lineOf(1),
                          format("the length %d ms is not a multiple of the %d keys: the keys "
                                 "fall every %d ms and %d ms of the length are left over",
                                 d.length, d.keyCount, d.span(), d.length % d.keyCount));
    if (d.length % d.frameCount != 0)
        findings_.warning(m.path, lineOf(1),
                          format("the length %d ms is not a multiple of the %d frames: the "
                                 "game cuts it to %d ms",
                                 d.length, d.frameCount, d.step() * d.frameCount));
}

bool ModelCatalog::reportUse(const std::string& requested, const std::string& file, int line,
                             const std::string& what, const std::string& withoutIt) {
    if (requested.empty()) return false;
    if (requested.size() > MAX_MODEL_NAME) {
        findings_.error(file, line,
                        format("%s \"%.60s...\" is longer than %zu characters: the game refuses it",
                               what.c_str(), requested.c_str(), MAX_MODEL_NAME));
        return false;
    }
    const ModelInfo& m = model(requested);
    if (!m.path.empty()) return m.loads;
    std::string message = what + " \"" + requested + "\" is not found";
    if (requested != m.name) message += " (the game lowers model names to " + m.name + ")";
    const NearName near = search_.nearName(m.name);
    if (near.kind == NearName::Kind::Case || near.kind == NearName::Kind::ShortName ||
        (near && lowered(near.leaf) != near.leaf))  // the file's own name must change
        message += "; " + near.text() + ": rename it " + m.name;
    else if (near)
        message += "; " + near.text() + ": write " + near.replacing(requested) + " here";
    if (withoutIt.empty())
        findings_.error(file, line, message);
    else
        findings_.warning(file, line, message + ": " + withoutIt);
    return false;
}

void ModelCatalog::checkOwnTextures(const ModelInfo& m) {
    for (const MeshInfo* key : m.keys) {
        if (!key || texturesChecked_[key->path]) continue;
        texturesChecked_[key->path] = true;
        for (const Material& mat : key->materials)
            if (!mat.textureFile.empty())
                textures_.reportUse(mat.textureFile, key->path, 0,
                                    "material \"" + mat.name + "\"'s texture", true, true);
    }
}
