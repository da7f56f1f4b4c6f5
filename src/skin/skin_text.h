// The .skin text parser, apart from any file reading, log or graphics: the
// viewer's Skin and korvane-check parse with it.
//
// A text is parsed in place: line breaks and the cuts of each line become
// terminators written into it, so keys and values are pieces of the text,
// never copies. Lines end at a line feed (a carriage return right before it
// belongs to the break); "//" starts a comment; an entry is key, comma,
// value. The value is lowered, cut at its first full stop, taken from
// between double quotes when it has them, and loses everything up to and
// including the model's own folder. Two rules for blanks around the value:
// the viewer keeps them, the game skips them (bytes up to the space, at both
// ends of the value, before anything else is done to it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace skin {

enum class ValueBlanks {
    Kept,     // the viewer: the value is everything after the comma
    Skipped,  // the game: white space around the value is not part of it
};

struct Entry {
    const char* key;       // everything before the first comma, as written
    const char* value;     // the name relative to the model's folder
    const char* gamePath;  // the same before the model's folder was dropped and
                           // without leading blanks: the path below the game
                           // folder, as the game reads it
    std::uint32_t line;    // from 1
    std::uint32_t offset;  // of the line's first byte
};

// Parses the `size` bytes at `text` in place and appends one entry per
// accepted line, in file order. `text[size]` must be writable; it becomes a
// terminator. `modelName` may be null (then no folder is dropped).
void parseInPlace(char* text, std::uint32_t size, const char* modelName, ValueBlanks blanks,
                  std::vector<Entry>& entries);

// The entries ordered by key, for lookups in logarithmic time that give the
// same answer as a walk in file order: the first entry whose key equals the
// name byte for byte. Four bytes per entry.
class KeyIndex {
public:
    void build(const std::vector<Entry>& entries);
    // The first entry in file order with this key; null when none.
    const Entry* find(const std::vector<Entry>& entries, const char* key) const;

private:
    std::vector<std::uint32_t> order_;
};

// A copy of a skin's bytes, parsed once and indexed: for readers that hold
// the bytes themselves (korvane-check). Texts of 4 GB or more hold nothing.
class ParsedSkin {
public:
    ParsedSkin(const void* bytes, std::size_t size, const char* modelName, ValueBlanks blanks);

    const std::vector<Entry>& entries() const { return entries_; }
    const Entry* find(const char* key) const { return index_.find(entries_, key); }

private:
    std::unique_ptr<char[]> text_;
    std::vector<Entry> entries_;
    KeyIndex index_;
};

}  // namespace skin
