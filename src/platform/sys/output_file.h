// Files the programs write (pictures, logs, fixtures), opened by a UTF-8
// path: on Windows through the wide-character call, so that a name in any
// script works as it does on POSIX.
#pragma once

#include <cstdio>
#include <string>

namespace sys {

// The file created or emptied for writing bytes ("wb"); null on failure.
std::FILE* openForWriting(const std::string& path);

}  // namespace sys
