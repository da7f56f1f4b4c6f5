// Reading a model file whole, shared by the body (MDS) and the MDC models:
// open, size, block, read, close, each failure logged with its own line.
#pragma once

#include <cstdint>

namespace model_file {

struct Read {
    std::uint8_t* block = nullptr;  // the file's bytes, or null on failure
    // On a short read whose block could not be given back ("VirtualFree
    // failed" logged): that block, for the caller to hold and retry later.
    std::uint8_t* unreleased = nullptr;
};

// `size` receives the file's size as the size step gave it.
Read readWhole(const char* path, std::uint32_t* size);

}  // namespace model_file
