#include "browser/field_tree.h"

#include <cstdio>
#include <cstring>

namespace browser {

namespace {

template <class T>
std::string number(const char* format, T value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string element(formats::ByteView bytes, std::int64_t at, formats::FieldKind kind) {
    using formats::FieldKind;
    switch (kind) {
    case FieldKind::Int32: return number("%d", bytes.read<std::int32_t>(at));
    case FieldKind::Uint32: return number("%u", bytes.read<std::uint32_t>(at));
    case FieldKind::Int16: return number("%d", int{bytes.read<std::int16_t>(at)});
    case FieldKind::Uint16: return number("%u", unsigned{bytes.read<std::uint16_t>(at)});
    case FieldKind::Float: return number("%f", static_cast<double>(bytes.read<float>(at)));
    default: return {};
    }
}

std::int64_t width(formats::FieldKind kind) {
    return kind == formats::FieldKind::Int16 || kind == formats::FieldKind::Uint16 ? 2 : 4;
}

bool named(const char* name, std::initializer_list<const char*> only) {
    if (only.size() == 0) return true;
    for (const char* n : only)
        if (std::strcmp(n, name) == 0) return true;
    return false;
}

}  // namespace

std::string fieldValue(formats::ByteView bytes, std::int64_t at, const formats::FieldInfo& f) {
    const std::int64_t field = at + f.offset;
    if (f.kind == formats::FieldKind::Name || f.kind == formats::FieldKind::Chars) {
        if (f.count == 4) return number("%d", bytes.read<std::int32_t>(field));  // an ident
        const char* p = reinterpret_cast<const char*>(bytes.data() + field);
        return std::string(p, strnlen(p, f.count));
    }
    std::string out;
    for (std::uint32_t i = 0; i < f.count; ++i)
        out += (i ? ", " : "") + element(bytes, field + i * width(f.kind), f.kind);
    return out;
}

void addFields(TreeSink& sink, TreeNode parent, formats::ByteView bytes, std::int64_t at,
               std::span<const formats::FieldInfo> fields, std::initializer_list<const char*> only) {
    for (const formats::FieldInfo& f : fields) {
        if (!named(f.name, only)) continue;
        const std::string label = std::string(f.name) + ": " + fieldValue(bytes, at, f);
        sink.appendChild(parent, label.c_str(), -1, false);
    }
}

}  // namespace browser
