// fuzz_texture: small TGA images of every type the decoder reads and a
// JPEG; fuzz_textures: body skins naming one file many ways, with the image
// after them; fuzz_mds: valid bodies (one with more frames than the fuzz
// target steps through) and the damaged twins.
#include <stb_image_write.h>

#include <cstdint>
#include <string>

#include "mkseeds/seeds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"
#include "modelgen/texture_shapes.h"

namespace seeds {

namespace {

// A TGA header: no id, the given colour map, image type, size and depth,
// origin at the top left.
mg::Bytes tgaHeader(std::uint8_t type, int w, int h, std::uint8_t depth, int mapLength = 0, std::uint8_t mapBits = 0) {
    mg::Bytes b(18, 0);
    b[1] = mapLength > 0 ? 1 : 0;
    b[2] = type;
    b[5] = static_cast<std::uint8_t>(mapLength & 0xFF);
    b[6] = static_cast<std::uint8_t>(mapLength >> 8);
    b[7] = mapBits;
    b[12] = static_cast<std::uint8_t>(w & 0xFF);
    b[13] = static_cast<std::uint8_t>(w >> 8);
    b[14] = static_cast<std::uint8_t>(h & 0xFF);
    b[15] = static_cast<std::uint8_t>(h >> 8);
    b[16] = depth;
    b[17] = 0x20;
    return b;
}

std::uint8_t shade(int x, int y, int c) { return static_cast<std::uint8_t>(x * 31 + y * 17 + c * 80); }

mg::Bytes uncompressed(std::uint8_t type, int w, int h, int channels) {
    mg::Bytes b = tgaHeader(type, w, h, static_cast<std::uint8_t>(channels * 8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c) b.push_back(shade(x, y, c));
    return b;
}

// Alternating run and raw packets of 32-bit pixels.
mg::Bytes rle32(int w, int h) {
    mg::Bytes b = tgaHeader(10, w, h, 32);
    int left = w * h;
    bool run = true;
    while (left > 0) {
        const int n = left < 5 ? left : 5;
        b.push_back(static_cast<std::uint8_t>((run ? 0x80 : 0) | (n - 1)));
        for (int i = 0; i < (run ? 1 : n); ++i)
            for (int c = 0; c < 4; ++c) b.push_back(shade(left, i, c));
        left -= n;
        run = !run;
    }
    return b;
}

mg::Bytes colourMapped(int w, int h) {
    mg::Bytes b = tgaHeader(1, w, h, 8, 4, 24);
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) b.push_back(shade(i, 0, c));
    for (int i = 0; i < w * h; ++i) b.push_back(static_cast<std::uint8_t>(i % 4));
    return b;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<mg::Bytes*>(context);
    const auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

mg::Bytes jpeg(int w, int h) {
    mg::Bytes pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) pixels.push_back(shade(x, y, c));
    mg::Bytes out;
    stbi_write_jpg_to_func(&appendBytes, &out, w, h, 3, pixels.data(), 75);
    return out;
}

}  // namespace

bool texture(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const mg::Bytes& bytes) {
        ok &= !bytes.empty() && mg::writeFile(dir + "/" + name, bytes);
    };
    write("rgb24.tga", uncompressed(2, 7, 5, 3));
    write("rgba32.tga", uncompressed(2, 4, 4, 4));
    write("grey8.tga", uncompressed(3, 6, 3, 1));
    write("rle32.tga", rle32(9, 4));
    write("mapped8.tga", colourMapped(5, 5));
    write("one_pixel.tga", uncompressed(2, 1, 1, 4));
    write("small.jpg", jpeg(16, 8));
    write("odd.jpg", jpeg(13, 21));
    return ok;
}

bool textures(const std::string& dir) {
    bool ok = true;
    // The skin, a NUL, then the bytes of every image file it may name.
    auto write = [&](const std::string& name, const std::string& skin, const mg::Bytes& image) {
        mg::Bytes bytes(skin.begin(), skin.end());
        bytes.push_back(0);
        bytes.insert(bytes.end(), image.begin(), image.end());
        ok &= mg::writeFile(dir + "/" + name, bytes);
    };
    const std::string sameFile = "s0,a.jpg\ns1,a.jpg\ns2,/a.jpg\ns3,//a\ns4,A.JPG\ns5,b.tga\ns6,tex6.tga\n"
                                 "md3_beltl,acc/belt.mdc\nmd3_back,acc/belt\n";
    write("same_file_jpeg", sameFile, mg::tiledJpeg(64));
    write("same_file_tga", sameFile, uncompressed(2, 7, 5, 3));
    write("missing", "s0,none.jpg\ns1,none\ns2,\"none.tga\"\ns3,tex3.tga\n", {});
    write("every_surface", "s0,texture\ns1,texture\ns2,texture\ns3,texture\ns4,texture\ns5,texture\n"
                           "s6,texture\ns7,texture\nmd3_beltr,acc/belt\n", jpeg(13, 21));
    return ok;
}

bool mds(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const mg::Bytes& bytes) { ok &= mg::writeFile(dir + "/" + name, bytes); };
    write("sample.mds", mg::writeMds(mg::sampleMds()).bytes);
    write("small.mds", mg::writeMds(mg::syntheticMds(2, 6, 2, 3, 2)).bytes);
    write("many_frames.mds", mg::writeMds(mg::syntheticMds(1, 4, 1, 2, 70)).bytes);
    write("empty.mds", mg::writeMds(mg::MdsModel{}).bytes);
    // Shapes that multiply a naive reader's work: lists shared by 600
    // surfaces (4.8 million triangle records from 200 KB), one header named
    // by every surface, a chain stored backwards.
    write("shared_lists.mds", mg::sharedListsMds(600, 8000));
    write("shared_header.mds", mg::sharedHeaderMds(100000));
    write("backward_chain.mds", mg::backwardChainMds());
    const struct {
        const char* name;
        mg::MdsDamage damage;
    } damaged[] = {
        {"truncated.mds", mg::MdsDamage::Truncated},
        {"surface_end_outside.mds", mg::MdsDamage::SurfaceEndOutside},
        {"weights_past_end.mds", mg::MdsDamage::WeightsPastEnd},
        {"bad_bone_indices.mds", mg::MdsDamage::BadBoneIndices},
        {"negative_count.mds", mg::MdsDamage::NegativeCount},
        {"unterminated_names.mds", mg::MdsDamage::UnterminatedNames},
    };
    for (const auto& d : damaged) write(d.name, mg::damagedMds(d.damage));
    return ok;
}

}  // namespace seeds
