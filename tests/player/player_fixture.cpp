#include "player_fixture.h"

#include <stb_image_write.h>

namespace pt {

std::string tga(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::string out(18, '\0');
    out[2] = 2;  // uncompressed true colour
    out[12] = static_cast<char>(width & 0xFF);
    out[13] = static_cast<char>(width >> 8);
    out[14] = static_cast<char>(height & 0xFF);
    out[15] = static_cast<char>(height >> 8);
    out[16] = 24;
    for (int i = 0; i < width * height; ++i) {
        out += static_cast<char>(b);
        out += static_cast<char>(g);
        out += static_cast<char>(r);
    }
    return out;
}

std::string jpeg(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b});
    std::string out;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int size) { static_cast<std::string*>(ctx)->append(static_cast<char*>(data), size); },
        &out, width, height, 3, pixels.data(), 95);
    return out;
}

mg::MdcSurfaceDesc quadSurface(const std::string& name, const std::string& shader) {
    mg::MdcSurfaceDesc d;
    d.name = name;
    d.shader = shader;
    d.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    d.texCoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    d.baseFrames = {{mg::baseVertex(0, 0, 0), mg::baseVertex(64, 0, 0), mg::baseVertex(64, 64, 0),
                     mg::baseVertex(0, 64, 0)}};
    d.frameBaseFrames = {0};
    return d;
}

mg::MdcModel quadMdc(const std::string& name, const std::vector<std::pair<std::string, std::string>>& surfaces) {
    mg::MdcModel m;
    m.name = name;
    m.numFrames = 1;
    for (const auto& [surface, shader] : surfaces) m.surfaces.push_back(quadSurface(surface, shader));
    return m;
}

mg::MdsModel body(const BodyDesc& desc) {
    mg::MdsModel m;
    m.name = "body";
    for (int b = 0; b < desc.numBones; ++b) m.bones.push_back({"bone" + std::to_string(b), -1, 0.0f, 0.0f, 0});
    mg::MdsFrameDesc frame;
    // The root origin in drawing axes is (-y, z, x) of the stored offset.
    frame.parentOffset = {desc.origin[2], -desc.origin[0], desc.origin[1]};
    frame.boneFrames.assign(static_cast<std::size_t>(desc.numBones), formats::CompressedBoneFrame{});
    for (const auto& [bone, angles] : desc.poses) frame.boneFrames.at(static_cast<std::size_t>(bone)) = angles;
    m.frames.push_back(frame);
    for (const std::string& name : desc.surfaces) {
        mg::MdsSurfaceDesc s;
        s.name = name;
        s.shader = "models/players/test/" + name;
        mg::MdsVertexDesc v;
        v.weights = {{desc.vertexBone, 1.0f, {desc.offset[0], desc.offset[1], desc.offset[2]}}};
        s.vertices = {v, v, v};
        s.triangles = {{{0, 1, 2}}};
        s.boneRefs = {desc.vertexBone};
        m.surfaces.push_back(s);
    }
    return m;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

}  // namespace pt
