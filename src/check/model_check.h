// The structure checks of one model file image: every count, offset
// and record against the bytes, every value the programs read against what
// it refers to, and the game's limits. Findings go to the report under the
// file the caller began; the summary gives the folder checks what they
// need (surface names, first shader names, frame count).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/limits.h"
#include "check/report.h"
#include "formats/byte_view.h"

namespace check {

struct ModelSummary {
    bool readable = false;  // the header was read (names below may be partial)
    std::int64_t numFrames = 0;
    std::vector<std::string> surfaceNames;
    bool allSurfaces = false;  // every surface of the chain was read
    std::vector<std::string> shaderNames;  // MDC: each surface's first shader
    std::int64_t numBones = -1;            // MDX: its bones
};

// The skeleton an MDM file is checked against: its bone count, -1 for none.
struct Skeleton {
    std::int32_t numBones = -1;
};

ModelSummary checkMds(formats::ByteView bytes, Report& report, const Limits& limits);
ModelSummary checkMdc(formats::ByteView bytes, Report& report, const Limits& limits);
ModelSummary checkMd3(formats::ByteView bytes, Report& report);
ModelSummary checkMdm(formats::ByteView bytes, Report& report, const Skeleton& skeleton);
ModelSummary checkMdx(formats::ByteView bytes, Report& report);

}  // namespace check
