// Field tables: one row per field of a file record, from which the
// record's size and offset checks, the names in findings' paths and the
// checks every field gets from its type all come.
//
// A record is a plain struct (read in place with ByteView::read); its table
// is an X-macro of (member, offset) pairs in file order:
//
//   #define KV_FIELDS_MdsBone(X, T) X(T, Name, 0) X(T, ParentIndex, 64) ...
//   KV_RECORD(MdsBone, 80)
//
// KV_RECORD asserts the size and every offset, and defines
// RecordInfo<MdsBone>::fields, whose kind and count come from the member's
// type: float and float arrays are checked for finite values, char[64]
// names for a terminator; char[4] idents and short names are kept as read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace formats {

enum class FieldKind : std::uint8_t {
    Int32,
    Uint32,
    Int16,
    Uint16,
    Float,  // checked: finite
    Name,   // char[64], checked: terminated
    Chars,  // other char arrays, kept as read
};

struct FieldInfo {
    const char* name;
    std::uint32_t offset;
    FieldKind kind;
    std::uint32_t count;  // elements (1 for a scalar; bytes for character fields)
};

template <class T>
struct FieldType {
    static constexpr FieldKind kind() {
        if constexpr (std::is_same_v<T, float>) return FieldKind::Float;
        else if constexpr (std::is_same_v<T, std::int32_t>) return FieldKind::Int32;
        else if constexpr (std::is_same_v<T, std::uint32_t>) return FieldKind::Uint32;
        else if constexpr (std::is_same_v<T, std::int16_t>) return FieldKind::Int16;
        else if constexpr (std::is_same_v<T, std::uint16_t>) return FieldKind::Uint16;
        else static_assert(std::is_same_v<T, float>, "a field of a type the tables do not know");
    }
    static constexpr std::uint32_t count = 1;
};

template <class T, std::size_t N>
struct FieldType<T[N]> {
    static constexpr FieldKind kind() {
        if constexpr (std::is_same_v<T, char>) return N == 64 ? FieldKind::Name : FieldKind::Chars;
        else return FieldType<T>::kind();
    }
    static constexpr std::uint32_t count = static_cast<std::uint32_t>(N);
};

// Specialised by KV_RECORD for every record.
template <class T>
struct RecordInfo;

#define KV_FIELD_OFFSET_ASSERT(T, member, at) \
    static_assert(offsetof(T, member) == (at), #T "." #member " must lie at byte " #at);
#define KV_FIELD_ROW(T, member, at)                                                                 \
    ::formats::FieldInfo{#member, (at), ::formats::FieldType<decltype(T::member)>::kind(),          \
                         ::formats::FieldType<decltype(T::member)>::count},
#define KV_FIELD_COUNT(T, member, at) +1

#define KV_RECORD(T, size)                                                                       \
    static_assert(sizeof(T) == (size), #T " must be " #size " bytes");                           \
    KV_FIELDS_##T(KV_FIELD_OFFSET_ASSERT, T)                                                     \
    template <>                                                                                  \
    struct RecordInfo<T> {                                                                       \
        static constexpr const char* name = #T;                                                  \
        static constexpr std::array<FieldInfo, 0 KV_FIELDS_##T(KV_FIELD_COUNT, T)> fields{{      \
            KV_FIELDS_##T(KV_FIELD_ROW, T)}};                                                    \
    };

// A field as findings name it: ".Member" and its byte offset in the record,
// both from the member itself.
struct FieldRef {
    const char* name;
    std::int64_t offset;
};
#define KV_FIELD(T, member) (::formats::FieldRef{"." #member, static_cast<std::int64_t>(offsetof(T, member))})

}  // namespace formats
