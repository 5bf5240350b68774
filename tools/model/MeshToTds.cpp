// Mesh to 3DS scene: positions back to the file's axes, material choices back to face groups.
#include "MeshToTds.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr size_t MAX_COUNT = 65535;  // every list of the format counts in 16 bits

// A material name that no material has: a group naming it reads as -1.
std::string unknownName(const std::vector<Material>& materials) {
    std::unordered_set<std::string> names;
    for (const Material& m : materials) names.insert(m.name);
    for (size_t n = 0;; ++n) {
        const std::string name = "unknown material " + std::to_string(n);
        if (!names.count(name)) return name;
    }
}

bool refuse(const MeshObject& o, const char* problem) {
    std::fprintf(stderr, "tovask-model: object \"%s\" cannot be written as 3DS: %s\n",
                 o.name.c_str(), problem);
    return false;
}

// The reader takes the material of an object's last face group, and a
// textured flag once set stays: an object that is textured without its final
// material being so first names a textured one.
bool addGroups(const MeshData& mesh, const MeshObject& o, const std::string& unknown,
               const std::unordered_map<std::string, size_t>& firstByName, TdsObject& out) {
    const std::vector<Material>& materials = mesh.materials;
    const int index = o.materialIndex;
    const bool known = index >= 0 && size_t(index) < materials.size();
    if (index == 0 && !o.textured) return true;  // no group: reads as 0, untextured
    if (index != -1 && !known) return refuse(o, "its material index is past the materials");
    if (materials.empty()) return refuse(o, "it names a material, but there are none");
    const bool finalTextured = known && !materials[size_t(index)].textureFile.empty();
    if (finalTextured && !o.textured)
        return refuse(o, "it is untextured, but its material has a texture");
    if (known && firstByName.at(materials[size_t(index)].name) != size_t(index))
        return refuse(o, "an earlier material has the same name as its own");
    std::vector<uint16_t> all(o.faces.size() / 3);
    for (size_t f = 0; f < all.size(); ++f) all[f] = uint16_t(f);
    if (o.textured && !finalTextured) {
        size_t textured = 0;
        while (textured < materials.size() && materials[textured].textureFile.empty()) ++textured;
        if (textured == materials.size())
            return refuse(o, "it is textured, but no material has a texture");
        out.groups.push_back({materials[textured].name, {}});
    }
    out.groups.push_back({known ? materials[size_t(index)].name : unknown, all});
    return true;
}

}  // namespace

bool meshToTds(const MeshData& mesh, uint32_t version, TdsScene& scene) {
    scene = TdsScene{};
    scene.version = version;
    std::unordered_map<std::string, size_t> firstByName;
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        const Material& m = mesh.materials[i];
        firstByName.emplace(m.name, i);
        TdsMaterial out{m.name, m.textureFile, {m.colour[0], m.colour[1], m.colour[2]}};
        scene.materials.push_back(out);
    }
    const std::string unknown = unknownName(mesh.materials);
    for (const MeshObject& o : mesh.objects) {
        if (o.vertices.size() > MAX_COUNT || o.faces.size() / 3 > MAX_COUNT ||
            o.uvs.size() / 2 > MAX_COUNT)
            return refuse(o, "it has more than 65535 vertices, faces or texture coordinates");
        TdsObject out;
        out.name = o.name;
        for (const Vec3& v : o.vertices) out.vertices.push_back(gameToFile(v.x, v.y, v.z));
        for (uint32_t index : o.faces) {
            if (index > MAX_COUNT) return refuse(o, "a face points past vertex 65535");
            out.faces.push_back(uint16_t(index));
        }
        out.uvs = o.uvs;
        if (!addGroups(mesh, o, unknown, firstByName, out)) return false;
        scene.objects.push_back(std::move(out));
    }
    return true;
}
