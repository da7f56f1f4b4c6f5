// What the character's assembly needs to know of a model file: its
// format, frames, bones, tags and surfaces, taken from the file's index
// (src/formats) as the viewer's walk (Reader::Draw) accepts it. Nothing
// of the model is kept; the renderer and the exporter read the file again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/diagnostics.h"
#include "formats/identify.h"

namespace game {

// No model of the game comes near it (the largest skeleton file is a few
// MB); a larger file is refused by its (stated) size before it is read.
constexpr std::uint32_t kMaxModelBytes = 64u << 20;

struct ModelInfo {
    formats::Format format = formats::Format::Unknown;
    std::int64_t frames = 0;             // MDX, MD3, MDC
    std::int64_t bones = 0;              // MDX
    std::vector<std::string> tags;       // MDM; MD3 and MDC: frame 0's
    std::vector<std::string> surfaces;   // MDM, MD3, MDC, as stored

    bool hasTag(const std::string& name) const;
};

struct ModelRead {
    bool ok = false;
    ModelInfo info;
    formats::Id id = formats::Id::Unreadable;  // when not ok
    std::string why;                           // when not ok: "is ...", "is damaged: ..."
};

// Reads, identifies and indexes the file at `path` (what sys takes).
ModelRead readModelInfo(const std::string& path);

}  // namespace game
