#include "modelgen/data_sets.h"

#include <cmath>
#include <string>

#include "modelgen/md3_writer.h"
#include "modelgen/mdc_writer.h"
#include "modelgen/mdm_writer.h"
#include "modelgen/mdx_writer.h"
#include "modelgen/samples.h"

namespace mg {

namespace {

// A skeleton of `bones` bones in a chain that sways over `frames` frames.
MdxModel skeleton(int bones, int frames) {
    MdxModel m;
    m.name = "walk";
    for (int b = 0; b < bones; ++b) m.bones.push_back({"bone" + std::to_string(b), b - 1, b > bones / 2 ? 1.0f : 0.0f, 3.0f, 0});
    for (int f = 0; f < frames; ++f) {
        MdxFrameDesc frame;
        frame.radius = 40.0f;
        frame.bboxMax = {20.0f, 20.0f, 72.0f};
        frame.parentOffset = {0.0f, 0.0f, 38.0f};
        for (int b = 0; b < bones; ++b) {
            const auto swing = static_cast<std::int16_t>(std::lround(800.0 * std::sin(0.1 * (f + b))));
            frame.boneFrames.push_back({swing, static_cast<std::int16_t>(b * 16), 0, 0, 0, swing});
        }
        m.frames.push_back(frame);
    }
    return m;
}

// A skinned mesh of `surfaces` surfaces of `vertices` vertices, each
// weighted to two of the first `bones` bones.
MdmModel mesh(int surfaces, int vertices, int bones) {
    MdmModel m;
    m.name = "body";
    for (int s = 0; s < surfaces; ++s) {
        MdmSurfaceDesc d;
        d.name = "surface" + std::to_string(s);
        d.shader = "models/players/data/surface" + std::to_string(s);
        d.minLod = vertices / 4;
        for (int v = 0; v < vertices; ++v) {
            MdmVertexDesc x;
            x.texCoords = {static_cast<float>(v % 64) / 64.0f, static_cast<float>(v / 64 % 64) / 64.0f};
            const std::int32_t b = (s * 7 + v) % bones;
            x.weights = {{b, 0.5f, {static_cast<float>(v % 10), 1.0f, 2.0f}},
                         {(b + 1) % bones, 0.5f, {1.0f, static_cast<float>(v % 7), 0.0f}}};
            d.vertices.push_back(x);
        }
        for (int t = 0; t + 2 < vertices; ++t) d.triangles.push_back({{t, t + 1, t + 2}});
        d.boneRefs.resize(static_cast<std::size_t>(bones));
        for (int b = 0; b < bones; ++b) d.boneRefs[static_cast<std::size_t>(b)] = b;
        m.surfaces.push_back(d);
    }
    return m;
}

// A prop: the sample head with `frames` frames, each moved a little from
// the last, so that it compresses about as well as a real model.
Bytes prop(int frames) {
    Md3Model m = sampleMd3(0);
    for (int f = static_cast<int>(m.frames.size()); f < frames; ++f) {
        m.frames.push_back(m.frames[static_cast<std::size_t>(f) % 4]);
        for (auto& s : m.surfaces) {
            auto frame = s.frames[static_cast<std::size_t>(f) % 4];
            for (std::size_t v = 0; v < frame.size(); ++v) {
                frame[v].xyz[0] = static_cast<std::int16_t>(frame[v].xyz[0] + std::lround(90.0 * std::sin(0.37 * f + 1.3 * v)));
                frame[v].Normal = static_cast<std::uint16_t>((static_cast<std::size_t>(f) * 131 + v * 17) & 0xffff);
            }
            s.frames.push_back(frame);
        }
    }
    return writeMd3(m).bytes;
}

// The sample head with its frame and tag records, as a game's head file.
Bytes head() {
    MdcModel m = sampleMdc();
    m.frameRecords = true;
    return writeMdc(m).bytes;
}

std::string skinText(int surfaces) {
    std::string text;
    for (int s = 0; s < surfaces; ++s)
        text += "surface" + std::to_string(s) + ",models/players/data/surface" + std::to_string(s) + ".tga\r\n";
    return text;
}

}  // namespace

Bytes largeMdx(int bones, int frames) { return writeMdx(skeleton(bones, frames)).bytes; }

Bytes largeMd3(int frames) { return prop(frames); }

Bytes largeMdc(int frames) {
    MdcModel m = sampleMdc();
    m.frameRecords = true;
    m.numFrames = frames;
    for (auto& s : m.surfaces) {
        const auto first = s.baseFrames[0];
        s.baseFrames.clear();
        s.frameBaseFrames.clear();
        for (int f = 0; f < frames; ++f) {
            auto frame = first;
            for (auto& v : frame) v.z = static_cast<std::int16_t>(v.z + f % 512);
            s.baseFrames.push_back(frame);
            s.frameBaseFrames.push_back(static_cast<std::uint16_t>(f));
        }
    }
    return writeMdc(m).bytes;
}

Bytes largeMdm(int surfaces, int vertices, int bones) { return writeMdm(mesh(surfaces, vertices, bones)).bytes; }

DataSet gameDataSet() {
    DataSet out;
    const Bytes body = largeMdm(10, 2800, 53);
    const Bytes anim = largeMdx(53, 4887);
    const Bytes md3 = prop(200);
    const Bytes mdc = head();
    for (int i = 0; i < 11; ++i) out.loose.push_back({"models/players/p" + std::to_string(i) + "/body.mdm", body});
    for (int i = 0; i < 10; ++i) out.loose.push_back({"animations/human/a" + std::to_string(i) + ".mdx", anim});
    for (int i = 0; i < 171; ++i) out.loose.push_back({"models/heads/h" + std::to_string(i) + ".mdc", mdc});
    for (int i = 0; i < 101; ++i) {
        const std::string text = skinText(10);
        out.loose.push_back({"models/players/p" + std::to_string(i % 11) + "/body_s" + std::to_string(i) + ".skin",
                             Bytes(text.begin(), text.end())});
    }
    // The textures the skins name, by game path: half loose, half archived.
    for (int s = 0; s < 10; ++s)
        (s < 5 ? out.loose : out.archived)
            .push_back({"models/players/data/surface" + std::to_string(s) + ".tga", flatTga(16)});
    for (int i = 0; i < 243; ++i) out.archived.push_back({"models/props/m" + std::to_string(i) + ".md3", md3});
    return out;
}

std::vector<Folder> manyModelArchives(int models, int archives) {
    std::vector<Folder> out(static_cast<std::size_t>(archives));
    const Bytes md3 = prop(4);
    const Bytes mdc = head();
    for (int i = 0; i < models; ++i)
        out[static_cast<std::size_t>(i % archives)].push_back(
            {"models/mapobjects/o" + std::to_string(i) + (i % 2 ? ".md3" : ".mdc"), i % 2 ? md3 : mdc});
    return out;
}

}  // namespace mg
