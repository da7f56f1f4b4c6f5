// Archives for the .pk3 tests and the benchmark: well-formed ones written
// with libzip, and stored ones written byte by byte, which may hold what
// libzip refuses to write (repeated names, names climbing out with "..").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pk3_fixture {

struct Member {
    std::string name;
    std::string data;
    bool store = false;  // stored as is instead of deflated
};

// Writes the archive with libzip; false when that fails.
bool writeZip(const std::string& path, const std::vector<Member>& members);

// An archive of stored members in the given order, names kept as written.
std::string rawStoredZip(const std::vector<Member>& members);

// Makes the local and central headers of the first entry state `size` as
// its uncompressed size.
void setStatedSize(std::string& archive, std::uint32_t size);

// Offset of the first entry's data (after its local header).
std::size_t firstDataOffset(const std::string& archive);

}  // namespace pk3_fixture
