// Reading a file of the game whole, within a limit, with the reason in
// words when it cannot be: every reader of src/game reads through here.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sys/whole_file.h"

namespace game {

struct FileRead {
    bool ok = false;
    sys::Block bytes;  // the file's bytes (none for an empty file)
    std::uint32_t size = 0;
    std::string why;   // when not ok: "is 1073741824 bytes, more than the 4194304 ...", "does not exist", ...
    bool tooLarge = false;  // refused by its (stated) size, before anything was read
};

// The file at `path` (what sys::openForReading takes), at most maxBytes.
// An archive member is refused by its stated size before it is inflated.
FileRead readFile(const std::string& path, std::uint32_t maxBytes);

}  // namespace game
