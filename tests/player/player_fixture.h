// Shared helpers of the player tests: small images, MDC and MDS models made
// to measure, and log text split into lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/mds_layout.h"
#include "modelgen/mdc_writer.h"
#include "modelgen/mds_writer.h"

namespace pt {

// An uncompressed 24-bit TGA image of one colour.
std::string tga(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);
// A baseline JPEG image of one colour.
std::string jpeg(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// One MDC surface: a quad (4 vertices, 2 triangles) with one base frame.
mg::MdcSurfaceDesc quadSurface(const std::string& name, const std::string& shader);
// A one-frame model of quads, one per (surface name, shader name).
mg::MdcModel quadMdc(const std::string& name, const std::vector<std::pair<std::string, std::string>>& surfaces);

// A body of numBones root bones and one frame. Every root sits at `origin`
// (in drawing axes); poses[b] gives bone b's angles (missing ones are 0).
// Each named surface has one vertex on bone `vertexBone` at the file-space
// offset `offset` and one triangle.
struct BodyDesc {
    int numBones = 56;
    float origin[3] = {0.0f, 0.0f, 0.0f};
    std::vector<std::pair<int, formats::CompressedBoneFrame>> poses;
    std::vector<std::string> surfaces{"u_body"};
    int vertexBone = 0;
    float offset[3] = {0.0f, 0.0f, 0.0f};
};
mg::MdsModel body(const BodyDesc& desc);

// The lines of a text (LF separated; a final LF gives no empty last line).
std::vector<std::string> lines(const std::string& text);

}  // namespace pt
