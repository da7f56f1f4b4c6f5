// Shared by the fuzz targets whose readers take a path: one in-memory file
// (memfd), rewritten with each input and opened through its /proc path, so
// an input costs no disk write.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzzing {

inline const std::string& memoryFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("fuzz_input", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
    return path;
}

}  // namespace fuzzing
