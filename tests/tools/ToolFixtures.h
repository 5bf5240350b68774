// What the tools' tests share: where the programs and the default data are, and data files built
// in memory (3DS scenes in the game's axes, pictures) as the bytes a folder holds.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ProgramRun.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "Vec3.h"

const std::string TOOLS = TOVASK_BUILD_DIR "/tools/";

// Calls check(args, message) for each line "ARGS|MESSAGE" of a refusal table, the line traced.
template <typename Check>
void forEachRefusal(const std::string& table, Check check) {
    for (size_t at = 0, end; (end = table.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = table.substr(at, end - at);
        SCOPED_TRACE(line);
        check(line.substr(0, line.find('|')), line.substr(line.find('|') + 1));
    }
}

// A run's exit status and its standard output.
inline std::string said(const ProgramRun& run) {
    return std::to_string(run.status) + " " + run.out;
}
// A refused run: its exit status and the first line it wrote on stderr.
inline std::string refusal(const ProgramRun& run) {
    return std::to_string(run.status) + " " + run.err.substr(0, run.err.find('\n'));
}
const std::string DATA = TOVASK_BUILD_DIR "/data";

// A closed box in game axes (y up) from lo to hi, its twelve triangles wound outwards, all of
// them in the named material ("": none named). With texture coordinates when uvs is set.
inline TdsObject box(const std::string& name, Vec3 lo, Vec3 hi, const std::string& material = "",
                     bool uvs = false) {
    TdsObject o;
    o.name = name;
    for (int i = 0; i < 8; ++i) {
        o.vertices.push_back(
            gameToFile(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z));
        if (uvs) o.uvs.insert(o.uvs.end(), {float(i & 1), float(i >> 1 & 1)});
    }
    o.faces = {0, 1, 5, 0, 5, 4, 2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2,
               1, 3, 7, 1, 7, 5, 0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6};
    if (!material.empty()) o.groups = {{material, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}};
    return o;
}

// A scene of one box in one material of this colour, textured when texture is given.
inline TdsScene boxScene(Vec3 lo, Vec3 hi, const std::string& texture = "",
                         std::vector<uint8_t> rgb = {200, 200, 200}) {
    TdsScene scene;
    scene.materials = {{"paint", texture, {rgb[0], rgb[1], rgb[2]}}};
    scene.objects = {box("box", lo, hi, "paint", !texture.empty())};
    return scene;
}

inline std::string bytes(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}
inline std::string tds(const TdsScene& scene) {
    return bytes(writeTds(scene));
}
inline std::string bmp(const TestImage& image) {
    TempDir dir;
    writeBmp(image, dir.file("picture.bmp"));
    return readFile(dir.file("picture.bmp"));
}

// Expected text: "@DATA@" stands for the data folder, "@60x@" for sixty x's.
inline std::string expand(std::string text) {
    for (size_t at, end; (at = text.find('@')) != std::string::npos;) {
        end = text.find('@', at + 1);
        const std::string key = text.substr(at + 1, end - at - 1);
        text.replace(at, end - at + 1,
                     key == "DATA" ? DATA : std::string(std::stoul(key), key.back()));
    }
    return text;
}

// tovask-model run in dir; shell runs before it, in the same shell.
inline ProgramRun model(const TempDir& dir, const std::string& args,
                        const std::string& shell = "") {
    return runProgram("cd " + dir.path() + " && " + shell + TOOLS + "model/tovask-model " + args);
}
