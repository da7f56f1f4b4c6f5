#include "platform/d3d8/jpeg_check.h"

#include <algorithm>

namespace d3dx {

namespace {

// The decoder trusts what a JPEG's tables say. Code counts of a Huffman
// table adding up to more than 256 symbols make it write past its tables,
// and a frame or scan that names a quantisation or Huffman table no segment
// defined makes it read memory it never set. Walks the marker segments (and
// the entropy-coded data after each start of scan) and refuses both. Like
// the decoder, it skips stray bytes between segments up to the next marker.
struct JpegTables {
    unsigned quant = 0;         // bit q: quantisation table q defined
    unsigned dc = 0, ac = 0;    // bit t: Huffman table t defined
    unsigned neededQuant = 0;   // tables the frame's components name
    bool progressive = false;
    // The frame's size in blocks, for the work bound below.
    struct Component {
        unsigned id = 0, h = 1, v = 1;
    };
    Component components[4];
    std::size_t numComponents = 0;
    std::uint64_t mcusAcross = 0, mcusDown = 0;
    std::uint64_t frameBlocks = 0;  // largest frame seen
    std::uint64_t scanBlocks = 0;   // blocks visited, summed over the scans
};

// The decoder's time goes with the blocks it decodes, and it decodes every
// block a frame declares even when the bytes run out (it reads zeros past
// the end). Every block costs at least one bit in an honest file: a Huffman
// code is never shorter than that, and the first scan of each block's DC
// codes one per block. So a frame of more than eight blocks per byte cannot
// be honest. A progressive image visits its blocks once per scan; a few
// dozen scans per block is already far more than any encoder writes. The
// floors keep small images clear of the ratios.
constexpr std::uint64_t kBlocksPerByte = 8;
constexpr std::uint64_t kBlockFloor = 1u << 16;
constexpr std::uint64_t kScanBlocksPerByte = 64;
constexpr std::uint64_t kScanBlockFloor = 1u << 18;

bool isStartOfFrame(std::uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool huffmanSegmentSound(const std::uint8_t* bytes, std::size_t at, std::size_t end, JpegTables& t) {
    while (at < end) {
        if (at + 17 > end) return false;
        std::size_t symbols = 0;
        for (std::size_t i = 1; i <= 16; ++i) symbols += bytes[at + i];
        if (symbols > 256 || at + 17 + symbols > end) return false;
        const unsigned cls = bytes[at] >> 4, id = bytes[at] & 15;
        if (cls > 1 || id > 3) return false;
        (cls == 0 ? t.dc : t.ac) |= 1u << id;
        at += 17 + symbols;
    }
    return true;
}

bool quantSegmentSound(const std::uint8_t* bytes, std::size_t at, std::size_t end, JpegTables& t) {
    while (at < end) {
        const unsigned precision = bytes[at] >> 4, id = bytes[at] & 15;
        if (precision > 1 || id > 3) return false;
        const std::size_t length = 1 + 64 * (precision + 1);
        if (at + length > end) return false;
        t.quant |= 1u << id;
        at += length;
    }
    return true;
}

bool frameSound(const std::uint8_t* bytes, std::size_t at, std::size_t end, JpegTables& t) {
    if (at + 6 > end) return false;
    const std::uint64_t height = static_cast<std::uint64_t>(bytes[at + 1] << 8 | bytes[at + 2]);
    const std::uint64_t width = static_cast<std::uint64_t>(bytes[at + 3] << 8 | bytes[at + 4]);
    const std::size_t components = bytes[at + 5];
    if (components == 0 || components > 4 || at + 6 + 3 * components > end) return false;
    unsigned hMax = 1, vMax = 1;
    for (std::size_t c = 0; c < components; ++c) {
        const std::uint8_t* f = bytes + at + 6 + 3 * c;
        const unsigned h = f[1] >> 4, v = f[1] & 15, q = f[2];
        if (q > 3 || h < 1 || h > 4 || v < 1 || v > 4) return false;
        t.neededQuant |= 1u << q;
        t.components[c] = {f[0], h, v};
        hMax = std::max(hMax, h);
        vMax = std::max(vMax, v);
    }
    t.numComponents = components;
    t.mcusAcross = (width + 8 * hMax - 1) / (8 * hMax);
    t.mcusDown = (height + 8 * vMax - 1) / (8 * vMax);
    std::uint64_t blocks = 0;
    for (std::size_t c = 0; c < components; ++c)
        blocks += t.mcusAcross * t.components[c].h * t.mcusDown * t.components[c].v;
    t.frameBlocks = std::max(t.frameBlocks, blocks);
    return true;
}

// Adds the blocks a scan will visit (those of the frame's components it names).
void countScanBlocks(const std::uint8_t* bytes, std::size_t at, JpegTables& t) {
    const std::size_t components = bytes[at];
    for (std::size_t s = 0; s < components; ++s)
        for (std::size_t c = 0; c < t.numComponents; ++c)
            if (t.components[c].id == bytes[at + 1 + 2 * s])
                t.scanBlocks += t.mcusAcross * t.components[c].h * t.mcusDown * t.components[c].v;
}

// Every table the scan will use must be defined by now.
bool scanSound(const std::uint8_t* bytes, std::size_t at, std::size_t end, const JpegTables& t) {
    if ((t.neededQuant & ~t.quant) != 0 || at + 1 > end) return false;
    const std::size_t components = bytes[at];
    if (at + 1 + 2 * components + 3 > end) return false;
    const std::uint8_t spectralStart = bytes[at + 1 + 2 * components];
    const std::uint8_t approxHigh = bytes[at + 1 + 2 * components + 2] >> 4;
    const bool needsDc = !t.progressive || (spectralStart == 0 && approxHigh == 0);
    const bool needsAc = !t.progressive || spectralStart != 0;
    for (std::size_t c = 0; c < components; ++c) {
        const unsigned dc = bytes[at + 2 + 2 * c] >> 4, ac = bytes[at + 2 + 2 * c] & 15;
        if (dc > 3 || ac > 3) return false;
        if (needsDc && !(t.dc & (1u << dc))) return false;
        if (needsAc && !(t.ac & (1u << ac))) return false;
    }
    return true;
}

// The decoder resynchronises after a scan by taking the byte after the next
// 0xFF as a marker, so it can meet a Huffman table segment that a walk of
// the segment chain never reaches. Every place that could start one is
// checked the way the decoder would read it.
bool everyHuffmanCandidateSound(const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t at = 0; at + 4 <= size; ++at) {
        if (bytes[at] != 0xFF || bytes[at + 1] != 0xC4) continue;
        const std::size_t length = static_cast<std::size_t>(bytes[at + 2] << 8 | bytes[at + 3]);
        const std::size_t end = std::min(size, at + 2 + length);
        for (std::size_t t = at + 4; t + 17 <= end;) {
            std::size_t symbols = 0;
            for (std::size_t i = 1; i <= 16; ++i) symbols += bytes[t + i];
            if (symbols > 256) return false;
            t += 17 + symbols;
        }
    }
    return true;
}

bool walkJpegSegments(const std::uint8_t* bytes, std::size_t size, JpegTables& tables) {
    std::size_t at = 2;  // after the start-of-image marker
    while (at + 1 < size) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        const std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;
        if (marker == 0xD9) return true;  // end of image
        if (at + 2 > size) return true;
        const std::size_t length = static_cast<std::size_t>(bytes[at] << 8 | bytes[at + 1]);
        if (length < 2) return true;
        const std::size_t end = at + length;
        if (end > size) return marker != 0xC4 && marker != 0xDB && marker != 0xDA && !isStartOfFrame(marker);
        bool sound = true;
        if (marker == 0xC4) sound = huffmanSegmentSound(bytes, at + 2, end, tables);
        else if (marker == 0xDB) sound = quantSegmentSound(bytes, at + 2, end, tables);
        else if (isStartOfFrame(marker)) {
            tables.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            sound = frameSound(bytes, at + 2, end, tables);
        } else if (marker == 0xDA) {
            sound = scanSound(bytes, at + 2, end, tables);
            if (sound) countScanBlocks(bytes, at + 2, tables);
        }
        if (!sound) return false;
        at = end;
        if (marker == 0xDA) {
            // Entropy-coded data up to the next marker that is neither a
            // stuffed zero nor a restart.
            while (at + 1 < size &&
                   !(bytes[at] == 0xFF && bytes[at + 1] != 0x00 && !(bytes[at + 1] >= 0xD0 && bytes[at + 1] <= 0xD7)))
                ++at;
        }
    }
    return true;
}

}  // namespace

bool jpegSound(const std::uint8_t* bytes, std::size_t size) {
    JpegTables tables;
    if (!everyHuffmanCandidateSound(bytes, size) || !walkJpegSegments(bytes, size, tables)) return false;
    return tables.frameBlocks <= kBlockFloor + kBlocksPerByte * size &&
           tables.scanBlocks <= kScanBlockFloor + kScanBlocksPerByte * size;
}

}  // namespace d3dx
