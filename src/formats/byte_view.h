// One bounds-checked view over a block of bytes: every reader of file
// images goes through it. A record is read only after `has` (or `sub`)
// confirmed that all its bytes lie inside the view; positions are 64-bit so
// that a huge count times a record size cannot wrap.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

namespace formats {

static_assert(sizeof(float) == 4);

class ByteView {
public:
    ByteView() = default;
    ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    // True when [offset, offset + length) lies inside the view. Negative or
    // overflowing positions are never inside.
    bool has(std::int64_t offset, std::int64_t length) const {
        if (offset < 0 || length < 0) return false;
        const auto off = static_cast<std::uint64_t>(offset);
        const auto len = static_cast<std::uint64_t>(length);
        return off <= size_ && len <= size_ - off;
    }

    std::optional<ByteView> sub(std::int64_t offset, std::int64_t length) const {
        if (!has(offset, length)) return std::nullopt;
        return ByteView(data_ + offset, static_cast<std::size_t>(length));
    }

    // Reads a trivially copyable record at offset; the caller has checked
    // has(offset, sizeof(T)).
    template <class T>
    T read(std::int64_t offset) const {
        static_assert(std::is_trivially_copyable_v<T>);
        T value;
        std::memcpy(&value, data_ + offset, sizeof(T));
        return value;
    }

    // Checked read: nullopt when the record does not fit.
    template <class T>
    std::optional<T> tryRead(std::int64_t offset) const {
        if (!has(offset, static_cast<std::int64_t>(sizeof(T)))) return std::nullopt;
        return read<T>(offset);
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// A 64-byte name field: the bytes up to the first NUL, or all 64 when the
// field holds none. Never reads beyond the field.
constexpr std::size_t kNameLength = 64;
inline std::string nameOf(const char (&field)[kNameLength]) {
    std::size_t n = 0;
    while (n < kNameLength && field[n] != '\0') ++n;
    return std::string(field, n);
}

// Little-endian host assumed by the in-place reads.
static_assert(std::endian::native == std::endian::little, "file images are read in place as little-endian");

}  // namespace formats
