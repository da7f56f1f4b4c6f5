// Internal to the system layer: the few questions its portable code (file
// reading with archive members, the archive indexes) asks the file system,
// answered by posix_file.cpp or win32_file.cpp. Every path is UTF-8 text and
// is used as given: letter case and '\' are path.h's business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sys::native {

enum class Kind { Missing, File, Directory, Other };

struct Status {
    Kind kind = Kind::Missing;
    std::uint64_t size = 0;      // of a file
    std::int64_t modified = 0;   // the last change, in the system's finest unit
};

Status status(const std::string& path);

// The names in a directory ("." and ".." left out), in the system's order;
// false when it cannot be listed.
bool listDirectory(const std::string& dir, std::vector<std::string>& names);

// The same text for every path naming the same file on disk ("file "
// followed by its device and index); empty when it is not a file.
std::string diskIdentity(const std::string& path);

// A regular file on disk opened for reading, shared reading allowed.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;
Handle openDisk(const std::string& path);
// The size of an open file; false when it cannot be told.
bool diskSize(Handle handle, std::uint64_t& size);
// Reads until n bytes arrived, the file ended or an error; how many arrived.
std::uint32_t readDisk(Handle handle, void* dest, std::uint32_t n);
void closeDisk(Handle handle);

}  // namespace sys::native
