#include "check/output.h"

namespace check {

namespace {

// The length of the UTF-8 sequence at text[i] (1 to 4), or 0 when the
// bytes there are not one: a stray continuation byte, an overlong form, a
// surrogate, a code point past U+10FFFF or a sequence cut short.
std::size_t utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return n;
}

// A JSON string: UTF-8 kept as it is (file names on Linux are bytes, mostly
// UTF-8), control characters escaped, and every byte that is not part of a
// UTF-8 sequence written as U+FFFD, the replacement character.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = utf8Length(text, i);
            out += n == 0 ? std::string("\\ufffd") : text.substr(i, n);
            i += n == 0 ? 1 : n;
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F)
                out += strf("\\u%04x", c);
            else
                out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

}  // namespace

std::string asText(const std::vector<Finding>& findings) {
    std::string out;
    for (const auto& f : findings) {
        out += severityName(f.severity);
        out += ' ' + f.file + ": " + f.where;
        if (f.offset >= 0) out += " @" + hex(f.offset);
        out += ": " + f.message + '\n';
    }
    return out;
}

std::string asJson(const std::vector<Finding>& findings) {
    JsonArray array;
    return array.begin() + array.items(findings) + array.end();
}

std::string JsonArray::items(const std::vector<Finding>& findings) {
    std::string out;
    for (const Finding& f : findings) {
        out += items_++ == 0 ? "\n" : ",\n";
        out += "  {\"severity\": " + jsonString(severityName(f.severity)) + ", \"id\": " + jsonString(idName(f.id)) +
               ", \"file\": " + jsonString(f.file) + ", \"where\": " + jsonString(f.where) +
               ", \"offset\": " + (f.offset >= 0 ? std::to_string(f.offset) : std::string("null")) +
               ", \"message\": " + jsonString(f.message) + "}";
    }
    return out;
}

std::string JsonArray::summary(const Report::Counts& c) {
    return std::string(items_++ == 0 ? "\n" : ",\n") + "  " + summaryObject(c);
}

std::string JsonArray::end() const { return items_ == 0 ? "]\n" : "\n]\n"; }

std::string summaryLine(const Report::Counts& c) {
    return strf("%lld files, %lld errors, %lld warnings\n", c.files, c.errors, c.warnings);
}

std::string summaryObject(const Report::Counts& c) {
    return strf("{\"summary\": {\"files\": %lld, \"errors\": %lld, \"warnings\": %lld, \"notes\": %lld}}", c.files,
                c.errors, c.warnings, c.notes);
}

}  // namespace check
