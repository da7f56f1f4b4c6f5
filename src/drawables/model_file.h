// Reading one model file whole (on disk or in a .pk3 archive, any letter
// case: the system layer's one whole-file read) and checking that its first
// bytes are the format wanted.
#pragma once

#include <cstdint>
#include <string>

#include "formats/identify.h"
#include "platform/sys/whole_file.h"

namespace drawables {

// Larger model files are refused before they are read: the sibling game's
// largest skeleton holds 3.4 MB.
constexpr std::uint32_t kMaxModelBytes = 64u << 20;

// Reads the file whole. `format` names the format wanted (Unknown: any
// model format) and receives the file's. False with one line in `error`
// (the path and what went wrong) when the file cannot be read or is not of
// the format wanted.
bool readModelFile(const std::string& path, formats::Format& format, sys::Block& bytes, std::string& error);

}  // namespace drawables
