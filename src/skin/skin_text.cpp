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

// The sibling game's tokens (SiblingStop in the header), copied into an
// arena: a word's end may be the comma that starts the next token, so the
// text cannot be cut in place. A token of n bytes takes n + 1 bytes of the
// arena and at least n bytes of the text, so twice the text is room enough.
class SiblingTokens {
public:
    SiblingTokens(const char* text, std::uint32_t size, char* arena) : text_(text), size_(size), out_(arena) {}

    struct Token {
        char* text;
        std::uint32_t line;
        std::uint32_t offset;
    };

    Token next() {
        skipBlanksAndComments();
        Token t{out_, line_, pos_};
        std::size_t n = 0;
        if (pos_ < size_ && at(pos_) == '"') {
            for (++pos_; pos_ < size_ && at(pos_) != '"'; ++pos_) {
                if (at(pos_) == '\n') ++line_;
                if (n < kTokenBytes) out_[n++] = at(pos_);
            }
            if (pos_ < size_) ++pos_;  // the closing quote
        } else if (pos_ < size_) {
            do {
                if (n < kTokenBytes) out_[n++] = at(pos_);
                ++pos_;
            } while (pos_ < size_ && !isGameBlank(at(pos_)) && at(pos_) != ',');
            if (n == kTokenBytes) n = 0;  // the game drops a word this long
        }
        out_[n] = '\0';
        out_ += n + 1;
        return t;
    }
    bool commaNext() {
        if (pos_ >= size_ || at(pos_) != ',') return false;
        ++pos_;
        return true;
    }
    bool atEnd() const { return pos_ >= size_; }

private:
    static constexpr std::size_t kTokenBytes = 1024;
    // The game's characters are signed: bytes of 128 and above are blanks too.
    static bool isGameBlank(char c) { return static_cast<signed char>(c) <= ' '; }
    char at(std::uint32_t i) const { return text_[i]; }

    void skipBlanksAndComments() {
        for (;;) {
            while (pos_ < size_ && isGameBlank(at(pos_))) {
                if (at(pos_) == '\n') ++line_;
                ++pos_;
            }
            if (pos_ + 1 < size_ && at(pos_) == '/' && at(pos_ + 1) == '/') {
                while (pos_ < size_ && at(pos_) != '\n') ++pos_;
            } else if (pos_ + 1 < size_ && at(pos_) == '/' && at(pos_ + 1) == '*') {
                pos_ += 2;
                while (pos_ < size_ && !(at(pos_) == '*' && pos_ + 1 < size_ && at(pos_ + 1) == '/')) {
                    if (at(pos_) == '\n') ++line_;
                    ++pos_;
                }
                pos_ = pos_ < size_ ? pos_ + 2 : size_;
            } else {
                return;
            }
        }
    }

    const char* text_;
    std::uint32_t size_;
    char* out_;
    std::uint32_t pos_ = 0;
    std::uint32_t line_ = 1;
};

void cutName(char* name) {
    if (std::strlen(name) > kSiblingNameBytes) name[kSiblingNameBytes] = '\0';
}

SiblingStop parseSibling(const char* text, std::uint32_t size, char* arena, std::vector<Entry>& entries) {
    // The game's text ends at its first NUL byte.
    if (const void* nul = std::memchr(text, '\0', size)) size = static_cast<std::uint32_t>(static_cast<const char*>(nul) - text);
    SiblingTokens tokens(text, size, arena);
    std::size_t accessories = 0, surfaces = 0;
    while (!tokens.atEnd()) {
        const SiblingTokens::Token first = tokens.next();
        if (first.text[0] == '\0') break;
        tokens.commaNext();
        if (std::strstr(first.text, "tag_")) continue;
        const bool accessory = std::strstr(first.text, "md3_") != nullptr;
        if (accessory ? accessories == kSiblingAccessories : surfaces == kSiblingSurfaces)
            return {accessory ? SiblingStop::Why::Accessories : SiblingStop::Why::Surfaces, first.line, first.offset};
        cutName(first.text);
        if (!accessory) lowerInPlace(first.text);
        const SiblingTokens::Token value = tokens.next();
        if (accessory) cutName(value.text);
        ++(accessory ? accessories : surfaces);
        entries.push_back(Entry{first.text, value.text, value.text, first.line, first.offset,
                                accessory ? EntryKind::Accessory : EntryKind::Surface});
    }
    return {};
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

ParsedSkin ParsedSkin::sibling(const void* bytes, std::size_t size) {
    ParsedSkin skin;
    if (size >= 0x7FFFFFFFu) return skin;
    const auto n = static_cast<std::uint32_t>(size);
    // The text, then the arena of its tokens (twice its size and one).
    skin.text_ = std::make_unique<char[]>(3 * std::size_t{n} + 2);
    if (n > 0) std::memcpy(skin.text_.get(), bytes, n);
    skin.stop_ = parseSibling(skin.text_.get(), n, skin.text_.get() + n + 1, skin.entries_);
    skin.index_.build(skin.entries_);
    return skin;
}

}  // namespace skin
