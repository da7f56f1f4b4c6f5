// Small byte-image helpers shared by the fixture writers: appending records,
// overwriting a field in place (to damage a written file on purpose),
// sections in any order with gaps, and writing an image to disk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
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

// Copies a name into a character field of N bytes (64 for names, 16 for
// MD3 frame names): at most N characters, the rest NUL. A name of N
// characters or more therefore has no terminator.
template <std::size_t N>
void writeName(char (&field)[N], const std::string& name) {
    std::memset(field, 0, N);
    std::memcpy(field, name.data(), name.size() < N ? name.size() : N);
}

// An offset stored relative to a record: at - base as the format's int32.
inline std::int32_t rel(std::int64_t at, std::int64_t base) { return static_cast<std::int32_t>(at - base); }

// Where each section of a model began (byte offsets), by section.
template <class Section, std::size_t N>
struct SectionStarts {
    std::array<std::int64_t, N> at{};
    std::int64_t operator[](Section s) const { return at[static_cast<std::size_t>(s)]; }
};

// Appends a model's sections in its file order (m.order), each after its
// filler bytes (m.gapBefore, indexed by section), then m.gapAtEnd;
// write(section) appends one section.
template <class Model, class Write>
auto writeSections(Bytes& out, const Model& m, Write write) {
    using Section = typename decltype(m.order)::value_type;
    SectionStarts<Section, std::tuple_size_v<decltype(m.order)>> starts;
    for (Section section : m.order) {
        const auto i = static_cast<std::size_t>(section);
        appendGap(out, m.gapBefore[i]);
        starts.at[i] = static_cast<std::int64_t>(out.size());
        write(section);
    }
    appendGap(out, m.gapAtEnd);
    return starts;
}

// A file header with the model's ident, version and name, the rest zero.
template <class Header, class Model>
Header headerOf(const Model& m) {
    Header h{};
    for (std::size_t c = 0; c < 4; ++c) h.Id[c] = m.ident[c];
    h.Version = m.version;
    writeName(h.Name, m.name);
    return h;
}

// Writes the bytes (or text) to path, replacing the file; false on failure.
bool writeFile(const std::string& path, const Bytes& bytes);
bool writeFile(const std::string& path, const std::string& text);

}  // namespace mg
