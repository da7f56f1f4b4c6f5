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
//
// The sibling game reads a .skin differently, as a stream of tokens rather
// than lines (ParsedSkin::sibling): see SiblingStop below.
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

// What an entry names. The line rules give surfaces only (a key's meaning
// is up to the caller); the sibling game's rules tell accessories apart.
enum class EntryKind : std::uint8_t { Surface, Accessory };

struct Entry {
    const char* key;       // everything before the first comma, as written
    const char* value;     // the name relative to the model's folder
    const char* gamePath;  // the same before the model's folder was dropped and
                           // without leading blanks: the path below the game
                           // folder, as the game reads it
    std::uint32_t line;    // from 1
    std::uint32_t offset;  // of the line's first byte
    EntryKind kind = EntryKind::Surface;
};

// The sibling game's rules. The text, up to its end or its first NUL byte,
// is a stream of tokens: blanks (bytes up to the space, and bytes of 128
// and above, which the game's signed characters make negative), "//" and
// "/* */" comments between tokens; a token is a quoted string (without the
// quotes; up to the closing quote, line breaks included) or a word ending
// before a blank or a comma. A word of 1,024 bytes or more becomes an empty
// token; a quoted token keeps its first 1,024 bytes. Entries: a first
// token, then (when a comma follows it at once) the comma is stepped over;
// an empty first token ends the text. A first token containing "tag_" is
// skipped (the token after it is the next first token); one containing
// "md3_" is an accessory: key as written, value the next token, both cut to
// 63 bytes. Any other first token is a surface: key lower-cased and cut to
// 63 bytes, value the next token whole (a shader name; the game refuses
// one of 64 bytes or more). At most 7 accessories and 256 surfaces: the one
// after stops the reading of the rest. An entry's line and offset are its
// first token's; value and game path are the same text.
struct SiblingStop {
    enum class Why : std::uint8_t { End, Accessories, Surfaces };
    Why why = Why::End;
    std::uint32_t line = 0;    // of the first token not read, when not End
    std::uint32_t offset = 0;
};
inline constexpr std::size_t kSiblingAccessories = 7;
inline constexpr std::size_t kSiblingSurfaces = 256;
inline constexpr std::size_t kSiblingNameBytes = 63;

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
    // The same bytes under the sibling game's rules (SiblingStop).
    static ParsedSkin sibling(const void* bytes, std::size_t size);

    const std::vector<Entry>& entries() const { return entries_; }
    // The first entry in file order with this key, byte for byte, of
    // either kind (the sibling game looks up an accessory among the
    // accessories by its exact key, so a mixed-case "md3_" key is never
    // found, and a surface by its lower-cased name).
    const Entry* find(const char* key) const { return index_.find(entries_, key); }
    const SiblingStop& stop() const { return stop_; }

private:
    ParsedSkin() = default;

    std::unique_ptr<char[]> text_;
    std::vector<Entry> entries_;
    KeyIndex index_;
    SiblingStop stop_;
};

}  // namespace skin
