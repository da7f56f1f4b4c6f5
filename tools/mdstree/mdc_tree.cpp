#include "mdc_tree.h"

#include <cstdarg>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "formats/mdc_records.h"
#include "platform/sys/sys.h"

namespace mdstree {

namespace {

class Printer {
public:
    Printer(formats::ByteView bytes, std::FILE* out) : bytes_(bytes), out_(out) {}

    __attribute__((format(printf, 3, 4))) void line(int depth, const char* format, ...) {
        for (int i = 0; i < depth; ++i) std::fputs("  ", out_);
        std::va_list args;
        va_start(args, format);
        std::vfprintf(out_, format, args);
        va_end(args);
        std::fputc('\n', out_);
    }

    // True when `count` records of `size` bytes from `at` lie inside the file
    // and the budget still holds them; otherwise prints the damage line.
    bool inside(std::int64_t at, std::int64_t count, std::int64_t size, const char* what) {
        const auto fileSize = static_cast<std::int64_t>(bytes_.size());
        if (count < 0 || (size > 0 && count > fileSize / size) || !bytes_.has(at, count * size)) {
            line(1, "Damaged: %lld %s at 0x%llx (%lld bytes each) do not lie inside the file of %llu bytes",
                 static_cast<long long>(count), what, static_cast<unsigned long long>(at), static_cast<long long>(size),
                 static_cast<unsigned long long>(bytes_.size()));
            return false;
        }
        charged_ += count * size;
        // Twice the file: lists that share some bytes still print whole.
        if (charged_ > 2 * fileSize) {
            line(1, "Damaged: the %s at 0x%llx are more records than the file's %llu bytes can hold", what,
                 static_cast<unsigned long long>(at), static_cast<unsigned long long>(bytes_.size()));
            return false;
        }
        return true;
    }

    template <class T>
    T at(std::int64_t offset) const {
        return bytes_.read<T>(offset);
    }

    std::string name(std::int64_t offset, std::size_t length) const {
        const char* p = reinterpret_cast<const char*>(bytes_.data() + offset);
        std::size_t n = 0;
        while (n < length && p[n] != '\0') ++n;
        return std::string(p, n);
    }

private:
    formats::ByteView bytes_;
    std::FILE* out_;
    std::int64_t charged_ = 0;
};

double d(float v) { return static_cast<double>(v); }

bool frames(Printer& p, const formats::MdcHeader& h) {
    p.line(1, "Frames (%d)", h.NumFrames);
    if (!p.inside(h.unusedOffsetFrames, h.NumFrames, sizeof(formats::MdcFrame), "frames")) return false;
    for (std::int32_t k = 0; k < h.NumFrames; ++k) {
        const std::int64_t at = h.unusedOffsetFrames + std::int64_t{k} * std::int64_t{sizeof(formats::MdcFrame)};
        const auto f = p.at<formats::MdcFrame>(at);
        p.line(2, "Frame %d: %s", k, p.name(at + offsetof(formats::MdcFrame, Name), sizeof f.Name).c_str());
        p.line(3, "bboxMin: %f, %f, %f", d(f.bboxMin[0]), d(f.bboxMin[1]), d(f.bboxMin[2]));
        p.line(3, "bboxMax: %f, %f, %f", d(f.bboxMax[0]), d(f.bboxMax[1]), d(f.bboxMax[2]));
        p.line(3, "LocalOrigin: %f, %f, %f", d(f.LocalOrigin[0]), d(f.LocalOrigin[1]), d(f.LocalOrigin[2]));
        p.line(3, "Radius: %f", d(f.Radius));
    }
    return true;
}

bool tags(Printer& p, const formats::MdcHeader& h) {
    p.line(1, "Tags (%d)", h.unusedNumTags);
    if (!p.inside(h.unusedOffsetTagNames, h.unusedNumTags, sizeof(formats::MdcTagName), "tag names")) return false;
    if (!p.inside(h.unusedOffsetTagFrames, std::int64_t{h.NumFrames} * h.unusedNumTags, sizeof(formats::MdcTagFrame),
                  "tag frames"))
        return false;
    for (std::int32_t i = 0; i < h.unusedNumTags; ++i) {
        p.line(2, "Tag %d: %s", i, p.name(h.unusedOffsetTagNames + 64 * std::int64_t{i}, formats::kNameLength).c_str());
        for (std::int32_t k = 0; k < h.NumFrames; ++k) {
            const auto t = p.at<formats::MdcTagFrame>(h.unusedOffsetTagFrames +
                                                  12 * (std::int64_t{k} * h.unusedNumTags + std::int64_t{i}));
            p.line(3, "Frame %d: xyz %d, %d, %d  angles %d, %d, %d", k, t.xyz[0], t.xyz[1], t.xyz[2], t.angles[0],
                   t.angles[1], t.angles[2]);
        }
    }
    return true;
}

bool surface(Printer& p, const formats::MdcHeader& h, std::int64_t s, int index) {
    const auto sf = p.at<formats::MdcSurface>(s);
    p.line(2, "Surface %d (%s)", index, p.name(s + offsetof(formats::MdcSurface, Name), formats::kNameLength).c_str());
    p.line(3, "Id: %d", sf.unusedId);
    p.line(3, "Flags: %d", sf.unusedFlags);
    p.line(3, "NumCompFrames: %d", sf.unusedNumCompFrames);
    p.line(3, "NumBaseFrames: %d", sf.unusedNumBaseFrames);
    p.line(3, "OffsetEnd: %d", sf.OffsetEnd);

    p.line(3, "Shaders (%d)", sf.unusedNumShaders);
    if (!p.inside(s + sf.OffsetShaders, sf.unusedNumShaders, sizeof(formats::MdcShader), "shaders")) return false;
    for (std::int32_t k = 0; k < sf.unusedNumShaders; ++k) {
        const std::int64_t at = s + sf.OffsetShaders + 68 * std::int64_t{k};
        p.line(4, "Shader %d: %s (index %d)", k, p.name(at, formats::kNameLength).c_str(), p.at<std::int32_t>(at + 64));
    }
    p.line(3, "Triangles (%d)", sf.NumTriangles);
    if (!p.inside(s + sf.OffsetTriangles, sf.NumTriangles, 12, "triangles")) return false;
    for (std::int32_t t = 0; t < sf.NumTriangles; ++t) {
        const auto tri = p.at<formats::MdcTriangle>(s + sf.OffsetTriangles + 12 * std::int64_t{t});
        p.line(4, "Triangle %d: %d, %d, %d", t, tri.Indices[0], tri.Indices[1], tri.Indices[2]);
    }
    p.line(3, "TexCoords (%d)", sf.NumVertices);
    if (!p.inside(s + sf.OffsetTexCoords, sf.NumVertices, 8, "texture coordinates")) return false;
    for (std::int32_t v = 0; v < sf.NumVertices; ++v) {
        const auto tc = p.at<formats::MdcTexCoord>(s + sf.OffsetTexCoords + 8 * std::int64_t{v});
        p.line(4, "%d: %f, %f", v, d(tc.u), d(tc.v));
    }
    const std::int64_t numBase = std::int64_t{sf.unusedNumBaseFrames} * sf.NumVertices;
    p.line(3, "BaseVertices (%d frames x %d)", sf.unusedNumBaseFrames, sf.NumVertices);
    if (!p.inside(s + sf.OffsetBaseVertices, numBase, 8, "base vertices")) return false;
    for (std::int64_t v = 0; v < numBase; ++v) {
        const auto bv = p.at<formats::MdcBaseVertex>(s + sf.OffsetBaseVertices + 8 * v);
        p.line(4, "Base frame %lld vertex %lld: %d, %d, %d (normal %u)", static_cast<long long>(v / sf.NumVertices),
               static_cast<long long>(v % sf.NumVertices), bv.x,
               bv.y, bv.z, bv.unusedNormal);
    }
    const std::int64_t numComp = std::int64_t{sf.unusedNumCompFrames} * sf.NumVertices;
    p.line(3, "CompVertices (%d frames x %d)", sf.unusedNumCompFrames, sf.NumVertices);
    if (!p.inside(s + sf.unusedOffsetCompVertices, numComp, 4, "compressed vertices")) return false;
    for (std::int64_t v = 0; v < numComp; ++v) {
        const auto cv = p.at<formats::MdcCompVertex>(s + sf.unusedOffsetCompVertices + 4 * v);
        p.line(4, "Comp frame %lld vertex %lld: %u, %u, %u (normal %u)", static_cast<long long>(v / sf.NumVertices),
               static_cast<long long>(v % sf.NumVertices),
               cv & 0xFFu, (cv >> 8) & 0xFFu, (cv >> 16) & 0xFFu, cv >> 24);
    }
    p.line(3, "FrameBaseFrames (%d)", h.NumFrames);
    if (!p.inside(s + sf.OffsetFrameBaseFrames, h.NumFrames, 2, "frame base-frame entries")) return false;
    for (std::int32_t f = 0; f < h.NumFrames; ++f)
        p.line(4, "%d: %u", f, p.at<std::uint16_t>(s + sf.OffsetFrameBaseFrames + 2 * std::int64_t{f}));
    p.line(3, "FrameCompFrames (%d)", h.NumFrames);
    if (!p.inside(s + sf.unusedOffsetFrameCompFrames, h.NumFrames, 2, "frame compressed-frame entries")) return false;
    for (std::int32_t f = 0; f < h.NumFrames; ++f)
        p.line(4, "%d: %d", f, p.at<std::int16_t>(s + sf.unusedOffsetFrameCompFrames + 2 * std::int64_t{f}));
    return true;
}

}  // namespace

bool isMdcFile(formats::ByteView bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "IDPC", 4) == 0;
}

int printIfMdc(const char* path) {
    sys::File file = sys::openForReading(path);
    const std::uint32_t size = file.valid() ? sys::fileSize(file) : sys::kInvalidFileSize;
    if (size == sys::kInvalidFileSize || size < 4) return -1;
    char ident[4];
    if (sys::readFile(file, ident, 4) != 4 || std::memcmp(ident, "IDPC", 4) != 0) return -1;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "mdstree: no memory for the %u bytes of %s\n", size, path);
        return 1;
    }
    std::memcpy(bytes.data(), ident, 4);
    if (sys::readFile(file, bytes.data() + 4, size - 4) != size - 4) {
        std::fprintf(stderr, "mdstree: %s could not be read whole\n", path);
        return 1;
    }
    return printMdcTree(formats::ByteView(bytes.data(), bytes.size()), path, stdout) ? 0 : 1;
}

bool printMdcTree(formats::ByteView bytes, const char* rootLabel, std::FILE* out) {
    Printer p(bytes, out);
    p.line(0, "%s", rootLabel);
    if (!p.inside(0, 1, sizeof(formats::MdcHeader), "header")) return false;
    const auto h = p.at<formats::MdcHeader>(0);
    p.line(1, "Id: %d", p.at<std::int32_t>(0));
    p.line(1, "Version: %d", h.unusedVersion);
    p.line(1, "Name: %s", p.name(offsetof(formats::MdcHeader, Name), formats::kNameLength).c_str());
    p.line(1, "Flags: %d", h.unusedFlags);
    p.line(1, "NumSkins: %d", h.unusedNumSkins);
    p.line(1, "OffsetEnd: %d", h.unusedOffsetEnd);
    if (!frames(p, h) || !tags(p, h)) return false;
    p.line(1, "Surfaces (%d)", h.NumSurfaces);
    if (h.NumSurfaces < 0) {
        p.line(1, "Damaged: NumSurfaces %d at 0x%x is negative", h.NumSurfaces,
               static_cast<unsigned>(offsetof(formats::MdcHeader, NumSurfaces)));
        return false;
    }
    std::int64_t at = h.OffsetSurfaces;
    for (std::int32_t i = 0; i < h.NumSurfaces; ++i) {
        if (!p.inside(at, 1, sizeof(formats::MdcSurface), "surface header")) return false;
        if (!surface(p, h, at, i)) return false;
        at += p.at<std::int32_t>(at + offsetof(formats::MdcSurface, OffsetEnd));
    }
    return true;
}

}  // namespace mdstree
