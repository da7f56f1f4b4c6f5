// Small byte-image helpers shared by the fixture writers: appending records,
// overwriting a field in place (to damage a written file on purpose) and
// writing an image to disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace mg {

using Bytes = std::vector<std::uint8_t>;

// Filler byte of every gap the writers leave, so that a reader that reads a
// gap sees something other than zeros.
constexpr std::uint8_t kGapByte = 0xEE;

template <class T>
void append(Bytes& out, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
}

inline void appendGap(Bytes& out, std::size_t n) { out.insert(out.end(), n, kGapByte); }

// Overwrites sizeof(T) bytes at offset; throws when they do not lie inside.
template <class T>
void put(Bytes& bytes, std::int64_t offset, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (offset < 0 || static_cast<std::uint64_t>(offset) + sizeof(T) > bytes.size())
        throw std::out_of_range("mg::put outside the image");
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// Copies a name into a 64-byte field: at most 64 characters, the rest NUL.
// A name of 64 characters or more therefore has no terminator.
void writeName(char (&field)[64], const std::string& name);

// Writes the bytes (or text) to path, replacing the file; false on failure.
bool writeFile(const std::string& path, const Bytes& bytes);
bool writeFile(const std::string& path, const std::string& text);

}  // namespace mg
