// What kind of model file a block of bytes holds, told by its first four
// bytes (never by a file name's ending). The one place that knows the
// formats' idents, versions and header sizes.
#pragma once

#include <cstdint>

#include "formats/byte_view.h"

namespace formats {

enum class Format { Unknown, Mds, Mdc, Md3, Mdm, Mdx };

struct FormatInfo {
    Format format;
    const char* name;   // "MDS"
    char ident[5];      // "MDSW"
    std::int32_t version;       // the version the game reads
    std::int64_t headerSize;    // bytes of the file header
};

// The table row of a format (Unknown: name "unknown", empty ident).
const FormatInfo& formatInfo(Format format);

struct Identity {
    Format format = Format::Unknown;
    std::int32_t version = 0;   // as stored; 0 when the file is too short to hold it
    bool wholeHeader = false;   // the bytes hold the format's whole header
};

// The format whose ident the first four bytes are (Unknown for any other
// bytes, and for fewer than four).
Identity identify(ByteView bytes);

// True for a block starting with "MDSW" that holds the whole 120-byte
// header: what the viewer accepts as a body before it reads further.
bool isMds(ByteView bytes);

constexpr std::int32_t kMdsVersion = 4;
constexpr std::int32_t kMdcVersion = 2;

}  // namespace formats
