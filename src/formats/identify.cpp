#include "formats/identify.h"

#include <cstring>

namespace formats {

namespace {

constexpr FormatInfo kFormats[] = {
    {Format::Unknown, "unknown", "", 0, 0},
    {Format::Mds, "MDS", "MDSW", kMdsVersion, 120},
    {Format::Mdc, "MDC", "IDPC", kMdcVersion, 112},
    {Format::Md3, "MD3", "IDP3", 15, 108},
    {Format::Mdm, "MDM", "MDMW", 3, 100},
    {Format::Mdx, "MDX", "MDXW", 2, 96},
};

}  // namespace

const FormatInfo& formatInfo(Format format) {
    for (const FormatInfo& f : kFormats)
        if (f.format == format) return f;
    return kFormats[0];
}

Identity identify(ByteView bytes) {
    Identity out;
    if (!bytes.has(0, 4)) return out;
    for (const FormatInfo& f : kFormats) {
        if (f.format == Format::Unknown || std::memcmp(bytes.data(), f.ident, 4) != 0) continue;
        out.format = f.format;
        if (bytes.has(4, 4)) out.version = bytes.read<std::int32_t>(4);
        out.wholeHeader = bytes.has(0, f.headerSize);
        break;
    }
    return out;
}

bool isMds(ByteView bytes) {
    const Identity id = identify(bytes);
    return id.format == Format::Mds && id.wholeHeader;
}

}  // namespace formats
