#include "skin/skin_text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "skin/names.h"

namespace skin {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// At most this many lines can give an entry: those with a byte after their
// first comma. Reserving it keeps the entries to one allocation.
std::size_t entryBound(const char* text, std::uint32_t size) {
    std::size_t bound = 0;
    const char* end = text + size;
    for (const char* line = text; line < end;) {
        const char* nl = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
        const char* stop = nl ? nl : end;
        const char* comma = static_cast<const char*>(std::memchr(line, ',', static_cast<std::size_t>(stop - line)));
        if (comma && comma + 1 < stop) ++bound;
        line = stop + 1;
    }
    return bound;
}

// The value of one line (a terminated string from `value`) cut down by the
// rules in the header; returns where the game path starts.
char* cutValue(char* value, ValueBlanks blanks) {
    if (blanks == ValueBlanks::Skipped) {
        while (*value != '\0' && isBlank(*value)) ++value;
        std::size_t n = std::strlen(value);
        while (n > 0 && isBlank(value[n - 1])) value[--n] = '\0';
    }
    lowerInPlace(value);
    if (char* stop = std::strchr(value, '.')) *stop = '\0';
    if (char* quote = std::strchr(value, '"')) value = quote + 1;
    if (char* quote = std::strchr(value, '"')) *quote = '\0';
    return value;
}

}  // namespace

void parseInPlace(char* text, std::uint32_t size, const char* modelName, ValueBlanks blanks,
                  std::vector<Entry>& entries) {
    text[size] = '\0';
    entries.reserve(entries.size() + entryBound(text, size));
    const std::string lowered = skin::lowered(modelName ? modelName : "");
    std::uint32_t lineNumber = 1;
    for (std::uint32_t start = 0; start < size; ++lineNumber) {
        // Terminate this line; a carriage return belongs to the break only
        // right before a line feed.
        char* line = text + start;
        char* nl = static_cast<char*>(std::memchr(line, '\n', size - start));
        const std::uint32_t next = nl ? static_cast<std::uint32_t>(nl - text) + 1 : size;
        if (nl) {
            *nl = '\0';
            if (nl > text && nl[-1] == '\r') nl[-1] = '\0';
        }
        const std::uint32_t offset = start;
        start = next;

        if (char* comment = std::strstr(line, "//")) *comment = '\0';
        char* comma = std::strchr(line, ',');
        if (!comma) continue;
        *comma = '\0';
        char* cut = cutValue(comma + 1, blanks);
        char* value = afterModelName(cut, lowered);
        // The game path never starts with a blank, whatever the viewer keeps.
        char* gamePath = cut;
        while (*gamePath != '\0' && isBlank(*gamePath)) ++gamePath;
        if (*value != '\0') entries.push_back(Entry{line, value, gamePath, lineNumber, offset});
    }
}

void KeyIndex::build(const std::vector<Entry>& entries) {
    order_.resize(entries.size());
    for (std::uint32_t i = 0; i < order_.size(); ++i) order_[i] = i;
    // Stable: among equal keys the first in file order stays first.
    std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::strcmp(entries[a].key, entries[b].key) < 0;
    });
}

const Entry* KeyIndex::find(const std::vector<Entry>& entries, const char* key) const {
    if (!key || order_.size() != entries.size()) return nullptr;
    const auto it = std::lower_bound(order_.begin(), order_.end(), key, [&](std::uint32_t i, const char* k) {
        return std::strcmp(entries[i].key, k) < 0;
    });
    if (it == order_.end() || std::strcmp(entries[*it].key, key) != 0) return nullptr;
    return &entries[*it];
}

ParsedSkin::ParsedSkin(const void* bytes, std::size_t size, const char* modelName, ValueBlanks blanks) {
    if (size >= 0xFFFFFFFFu) return;
    text_ = std::make_unique<char[]>(size + 1);
    if (size > 0) std::memcpy(text_.get(), bytes, size);
    parseInPlace(text_.get(), static_cast<std::uint32_t>(size), modelName, blanks, entries_);
    index_.build(entries_);
}

}  // namespace skin
