// Images the texture fuzzer found: a few hundred bytes of RLE TGA claiming
// a 6168 × 6168 picture, and a JPEG whose Huffman table counts more symbols
// than a table holds. Both must be refused; their sound neighbours still load.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <cstdint>
#include <vector>

#include "platform/d3d8/image_decode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes tgaHeader(std::uint8_t type, int w, int h, std::uint8_t depth) {
    Bytes b(18, 0);
    b[2] = type;
    b[12] = static_cast<std::uint8_t>(w & 0xFF);
    b[13] = static_cast<std::uint8_t>(w >> 8);
    b[14] = static_cast<std::uint8_t>(h & 0xFF);
    b[15] = static_cast<std::uint8_t>(h >> 8);
    b[16] = depth;
    b[17] = 0x20;
    return b;
}

// RLE packets of 128 pixels each, one colour per packet.
Bytes rleTga(int w, int h, std::size_t packets) {
    Bytes b = tgaHeader(10, w, h, 24);
    for (std::size_t i = 0; i < packets; ++i) b.insert(b.end(), {0xFF, 0x10, 0x20, static_cast<std::uint8_t>(i)});
    return b;
}

TEST(ImageDecodeRegression, RleTgaShorterThanItsPixelsNeedIsRefused) {
    // The fuzzer's input: 6168 × 6168 pixels, 24 bits, about 200 bytes.
    Bytes bomb = tgaHeader(10, 0x1818, 0x1818, 24);
    bomb.resize(220, 0x18);
    d3dx::RgbaImage image;
    EXPECT_FALSE(d3dx::decodeImage(bomb.data(), bomb.size(), &image));
    EXPECT_TRUE(image.pixels.empty());

    // 16 × 16 pixels take at least two full packets.
    const Bytes shortOne = rleTga(16, 16, 1);
    EXPECT_FALSE(d3dx::decodeImage(shortOne.data(), shortOne.size(), &image));
    const Bytes complete = rleTga(16, 16, 2);
    ASSERT_TRUE(d3dx::decodeImage(complete.data(), complete.size(), &image));
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.pixels[4 * 255], 1);  // red of the last pixel: packet 1
}

void append(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

Bytes smallJpeg() {
    std::vector<std::uint8_t> rgb(8 * 8 * 3, 0x80);
    Bytes out;
    stbi_write_jpg_to_func(&append, &out, 8, 8, 3, rgb.data(), 80);
    return out;
}

TEST(ImageDecodeRegression, JpegHuffmanTableWithTooManySymbolsIsRefused) {
    const Bytes good = smallJpeg();
    ASSERT_GT(good.size(), 4u);
    d3dx::RgbaImage image;
    ASSERT_TRUE(d3dx::decodeImage(good.data(), good.size(), &image));

    // An extra table (AC, slot 3) with 45 codes of 15 bits and 255 of 16
    // bits: a sound prefix code, but 300 symbols, more than a table holds.
    // The decoder would write past its tables and then decode the rest of
    // the image as if nothing happened.
    const std::size_t symbols = 45 + 255;
    const std::size_t length = 2 + 17 + symbols;
    Bytes table = {0xFF, 0xC4, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF), 0x13};
    for (int i = 0; i < 16; ++i) table.push_back(i == 14 ? 45 : i == 15 ? 255 : 0);
    table.resize(table.size() + symbols, 0x01);

    // Right after the start of image, and (as the fuzzer found it) behind a
    // comment and two stray bytes, which the decoder skips.
    const Bytes prefixes[] = {{0xFF, 0xD8}, {0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 'h', 'i', 0x00, 0xF9}};
    for (const Bytes& prefix : prefixes) {
        Bytes bad = prefix;
        bad.insert(bad.end(), table.begin(), table.end());
        bad.insert(bad.end(), good.begin() + 2, good.end());
        EXPECT_FALSE(d3dx::decodeImage(bad.data(), bad.size(), &image)) << prefix.size();
    }
}

}  // namespace

namespace {

Bytes goodJpeg() {
    std::vector<std::uint8_t> pixels(16 * 16 * 3, 90);
    Bytes out;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int size) {
            auto* b = static_cast<Bytes*>(ctx);
            b->insert(b->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
        },
        &out, 16, 16, 3, pixels.data(), 90);
    return out;
}

std::size_t markerAt(const Bytes& b, std::uint8_t marker) {
    for (std::size_t i = 2; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == marker) return i;
    return 0;
}

TEST(ImageDecodeRegression, JpegNamingAnUndefinedTableIsRefused) {
    // The fuzzer's input named a quantisation table that no segment defined;
    // the decoder then read memory it never set, so one file gave different
    // pixels on every load.
    const Bytes good = goodJpeg();
    d3dx::RgbaImage image;
    ASSERT_TRUE(d3dx::decodeImage(good.data(), good.size(), &image));

    Bytes undefinedQuant = good;
    const std::size_t sof = markerAt(undefinedQuant, 0xC0);
    ASSERT_NE(sof, 0u);
    undefinedQuant[sof + 4 + 6 + 2] = 3;  // component 0 uses table 3
    EXPECT_FALSE(d3dx::decodeImage(undefinedQuant.data(), undefinedQuant.size(), &image));

    Bytes undefinedHuffman = good;
    const std::size_t sos = markerAt(undefinedHuffman, 0xDA);
    ASSERT_NE(sos, 0u);
    undefinedHuffman[sos + 4 + 2] = 0x33;  // component 0 uses DC and AC table 3
    EXPECT_FALSE(d3dx::decodeImage(undefinedHuffman.data(), undefinedHuffman.size(), &image));
}

}  // namespace
