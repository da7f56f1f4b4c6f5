// Images the texture fuzzer found: a few hundred bytes of RLE TGA claiming
// a 6168 × 6168 picture, and a JPEG whose Huffman table counts more symbols
// than a table holds. Both must be refused; their sound neighbours still load.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
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
    EXPECT_TRUE(image.pixels().empty());

    // 16 × 16 pixels take at least two full packets.
    const Bytes shortOne = rleTga(16, 16, 1);
    EXPECT_FALSE(d3dx::decodeImage(shortOne.data(), shortOne.size(), &image));
    const Bytes complete = rleTga(16, 16, 2);
    ASSERT_TRUE(d3dx::decodeImage(complete.data(), complete.size(), &image));
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.pixels()[4 * 255], 1);  // red of the last pixel: packet 1
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

namespace {

// Found by fuzz_texture: after its scan the decoder resynchronises on the
// next 0xFF and meets a Huffman table of 257 symbols that the segment chain
// never reaches; the decoder then wrote past its table.
const char kResyncedOversizedTable[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x84"
    "\x00\x08\x06\x06\x07\x06\x05\x08\x07\x07\x07\x09\x09\x08\x0a\x0c\x14\x0d\x0c\x0b\x0b\x0c\x19\x12"
    "\x13\x0f\x14\x1d\x1a\x1f\x1e\x1d\x1a\x1c\x1c\x20\x24\x2e\x27\x20\x22\x2c\x23\x1c\x1c\x28\x36\x29"
    "\x2c\x30\x31\x34\x34\x34\x1f\x27\x39\x3d\x38\x32\x3c\x2e\x33\x34\x32\x01\x09\x09\x09\x0c\x0b\x0c"
    "\x18\x0d\x0d\x18\x32\x21\x1c\x21\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\xff\xc0\x00\x11\x08\x00\x08\x00\x10\x03\x01\x22\x00\x02"
    "\x11\x01\x03\x11\x01\xff\xc4\x01\xa2\x00\x00\x01\x05\x01\x01\x01\x01\x01\x01\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x10\x00\x02\x01\x03\x03\x02\x04\x03\x05"
    "\x05\x04\x04\x00\x00\x01\x7d\x01\x02\x03\x00\x04\x11\x05\x12\x21\x31\x41\x06\x13\x51\x61\x07\x22"
    "\x71\x14\x32\x81\x91\xa1\x08\x23\x42\xb1\xc1\x15\x52\xd1\xf0\x24\x33\x62\x72\x82\x09\x0a\x16\x17"
    "\x18\x19\x1a\x25\x26\x27\x28\x29\x2a\x34\x35\x36\x37\x38\x39\x3a\x43\x44\x45\x46\x47\x48\x49\x4a"
    "\x53\x54\x55\x56\x57\x58\x59\x5a\x63\x64\x65\x66\x67\x68\x69\x6a\x73\x74\x75\x76\x77\x78\x79\x7a"
    "\x83\x84\x85\x86\x87\x88\x89\x8a\x92\x93\x94\x95\x96\x97\x98\x99\x9a\xa2\xa3\xa4\xa5\xa6\xa7\xa8"
    "\xa9\xaa\xb2\xb3\xb4\xb5\xb6\xb7\xb8\xb9\xba\xc2\xc3\xc4\xc5\xc6\xc7\xc8\xc9\xca\xd2\xd3\xd4\xd5"
    "\xd6\xd7\xd8\xd9\xda\xe1\xe2\xe3\xe4\xe5\xe6\xe7\xe8\xe9\xea\xf1\xf2\xf3\xf4\xf5\xf6\xf7\xf8\xf9"
    "\xfa\x01\x00\x03\x01\x01\x01\x01\x01\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x01\x02\x03\x04\x05"
    "\x06\x07\x08\x09\x0a\x0b\x11\x00\x02\x01\x02\x04\x04\x03\x04\x07\x05\x04\x04\x00\x01\x02\x77\x00"
    "\x01\x02\x03\x11\x04\x05\x21\x31\x06\x12\x41\x51\x07\x61\x71\x13\x22\x32\x81\x08\x14\x42\x91\xa1"
    "\xb1\xc1\x09\x23\x33\x52\xf0\x15\x62\x72\xd1\x0a\x16\x24\x34\xe1\x25\xf1\x17\x18\x19\x1a\x26\x27"
    "\x28\x29\x2a\x35\x36\x37\x38\x39\x3a\x43\x44\x45\x46\x47\x48\x49\x4a\x53\x54\x55\x56\x57\x58\x59"
    "\x5a\x63\x64\x65\x75\x68\x73\x67\x69\x6a\x74\x66\x76\x77\x78\x79\x7a\x82\x83\x84\x85\x86\x87\x88"
    "\x89\x8a\x92\x93\x94\x95\x96\x97\x98\x99\x9a\xa2\xa3\xa4\xa5\xa6\xa7\xa8\xa9\xaa\xb2\xb3\xb4\xb5"
    "\xb6\xb7\xb8\xb9\xba\xc2\xc3\xc4\xc5\xc6\xc7\xc8\xc9\xca\xd2\xd3\xd4\xd5\xd6\xd7\xd8\xd9\xda\xe2"
    "\xe3\xe4\xe5\xe6\xe7\xe8\xe9\xea\xf2\xf3\xf4\xf5\xf6\xf7\xf8\xf9\xfa\xff\xda\x00\x0c\x03\x01\x00"
    "\x02\x11\x03\x11\x00\x3f\x00\x2e\xde\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
    "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
    "\xff\xff\xff\x00\xfa\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
    "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x00\x11\x08\x00\x08\x00\x10\x03\x01\x22\x00"
    "\x02\x11\x01\x03\x11\x01\xff\xc4\x01\xa2\x00\x63\xf9\x05\x00\xd0\x60\x00\x00\x00\x01\x05\x01\x01"
    "\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x01\x02\x03\x04\xb6\x1d\xc5\x43\x68\x53\xe7\x5f"
    "\xe2\x12\xdd\xfa\x69\x6f\x44\x7f\xff\xd9";

TEST(ImageDecodeRegression, HuffmanTableReachedOnlyAfterAScanIsChecked) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(kResyncedOversizedTable);
    d3dx::RgbaImage image;
    EXPECT_FALSE(d3dx::decodeImage(bytes, sizeof kResyncedOversizedTable - 1, &image));
}

}  // namespace

namespace {

// Fills freed heap blocks of the sizes the decoder asks for with a pattern,
// so memory it reads without having written shows up in its pixels.
void scribbleOnTheHeap(std::uint8_t pattern) {
    std::vector<void*> blocks;
    for (std::size_t size = 16; size <= 4096; size += 8) {
        void* p = std::malloc(size);
        if (p != nullptr) std::memset(p, pattern, size);
        blocks.push_back(p);
    }
    for (void* p : blocks) std::free(p);
}

TEST(ImageDecodeRegression, ScanThatLeavesComponentsUnsetDecodesTheSameEveryTime) {
    // A colour JPEG whose only scan names the luma component alone: the two
    // chroma planes are never decoded. They used to hold whatever the heap
    // held, so the same file gave other pixels on each load.
    const Bytes good = goodJpeg();
    const std::size_t sos = markerAt(good, 0xDA);
    ASSERT_NE(sos, 0u);
    const std::size_t sosLength = (good[sos + 2] << 8) | good[sos + 3];
    Bytes lumaOnly(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(sos));
    lumaOnly.insert(lumaOnly.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
    lumaOnly.insert(lumaOnly.end(), good.begin() + static_cast<std::ptrdiff_t>(sos + 2 + sosLength), good.end());

    d3dx::RgbaImage first, second;
    scribbleOnTheHeap(0x00);
    ASSERT_TRUE(d3dx::decodeImage(lumaOnly.data(), lumaOnly.size(), &first));
    scribbleOnTheHeap(0xA5);
    ASSERT_TRUE(d3dx::decodeImage(lumaOnly.data(), lumaOnly.size(), &second));
    EXPECT_TRUE(std::ranges::equal(first.pixels(), second.pixels()));
}

// A damaged JPEG whose scan runs out of bits: stb_image's bit reader then
// shifts a 32-bit value by 32 (its count of buffered bits has gone below
// zero). The shift reads nothing outside the data; the decoder is built with
// the sanitizer's shift check off (src/platform/d3d8/CMakeLists.txt), so the
// sanitizer build exercises the path instead of stopping in the library.
TEST(ImageDecodeRegression, ScanThatRunsOutOfBitsDecodesTheSameEveryTime) {
    static const char kHex[] =
    "ffd8ffe000104a46494600010100000100010000ffdb008400080606070605080707070909080a0c140d0c0b0b0c1912"
    "130f141d1a1f1e1d1a1c1c20242e2720222c231c1c2837292c30313434341f27393d38323c2e333432010909090c0b0c"
    "180d0d1832211c2132323232323232323232323232323232323232323232323232323232323232323232323232323232"
    "32323232323232323232ffc00011080015000d03012200021101031101ffc401a2000001050101010101010000000000"
    "00000001020302fbf9f8f7f6f5f4100002010303020403050504040000017d010203000411052a213141061351610722"
    "7114328191a1082342b1c11552d1f02433627282090a561718191a25262728292a3435363738393a434445464748494a"
    "535455565758df00000065276468696a737475767778797a838485868788898a92939495969798999aa2a3a4a5a6a7a8"
    "a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9"
    "fa010003010101010101010101000000000000010203040c060708090a0b1100020102040403040705040400010277e7"
    "e8e9eaf2f3f4f5f6f7f8f9feffda000c03010002110311003f002ede3b1b00b4885373bec67c0026aaa11d4124063d39"
    "03d2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e95455565758595a636465666768696a737475767778797a82838485868788"
    "898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2"
    "e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9faffda000c03010002110311003f002ede3b1b08b4885373bec67c0026aaa11d"
    "4124063d3703d2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f445464748494a535455565758595a63646566676869"
    "f5f6f7f8f9faffda000c03010002110311003f002ede3b1b08b4885373bec67c0047aaa11d4124063d3703ae6ad9ba4d"
    "06da083ec26f26957cc606429b46701b3b4e72437e5ef552c93cebc29d52ff00ee45b99f1ebdd5777e08013d862aac30"
    "5d6a324f3c923c6cd212cd1b38cb771f45e807a0a52c3c3fffd9";
    Bytes jpeg;
    for (std::size_t i = 0; i + 1 < sizeof kHex; i += 2)
        jpeg.push_back(static_cast<std::uint8_t>(std::strtoul(std::string(kHex + i, 2).c_str(), nullptr, 16)));
    d3dx::RgbaImage first, second;
    const bool decoded = d3dx::decodeImage(jpeg.data(), jpeg.size(), &first);
    EXPECT_EQ(d3dx::decodeImage(jpeg.data(), jpeg.size(), &second), decoded);
    if (decoded) {
        EXPECT_EQ(first.width, second.width);
        EXPECT_TRUE(std::ranges::equal(first.pixels(), second.pixels()));
    }
}

}  // namespace

namespace {

// A few hundred bytes declaring an 8192 × 8192 frame: the decoder reads
// zeros past the data and decoded every block of it, seconds of work (the
// texture fuzzer's timeout). A large flat image, which takes few bytes per
// block, still decodes.
TEST(ImageDecodeRegression, JpegDeclaringMoreBlocksThanItsBytesCanHoldIsRefused) {
    Bytes bomb = smallJpeg();
    const std::size_t sof = markerAt(bomb, 0xC0);
    ASSERT_NE(sof, 0u);
    for (std::size_t at : {sof + 5, sof + 7}) {  // height, width
        bomb[at] = 0x20;
        bomb[at + 1] = 0x00;
    }
    d3dx::RgbaImage image;
    EXPECT_FALSE(d3dx::decodeImage(bomb.data(), bomb.size(), &image));

    const int side = 2048;
    std::vector<std::uint8_t> flat(static_cast<std::size_t>(side) * side * 3, 0x60);
    Bytes large;
    stbi_write_jpg_to_func(&append, &large, side, side, 3, flat.data(), 90);
    ASSERT_TRUE(d3dx::decodeImage(large.data(), large.size(), &image));
    EXPECT_EQ(image.width, side);
}

}  // namespace
