// The tokens of the game's text files, read as the game reads them, with
// their includes.
//
// Two grammars:
//   Script — the precompiler the game reads .char and .anim files with:
//     names ([A-Za-z_][A-Za-z0-9_]*), numbers (decimal with an optional
//     fraction, or 0x hex), double-quoted strings (returned without their
//     quotes; C escapes, \ddd in decimal; a line break inside one is an
//     error; strings
//     with only blanks and comments between them are joined into one, as
//     the precompiler does), and every other byte a punctuation token of
//     its own (so "-1" is '-' then 1, and "animgroup{" two tokens). A '#'
//     starts a directive: `#include "file"` (or `<file>`) reads that file
//     in its place; every other directive is skipped to the end of its
//     line (a '\' at a line's end continues it). Conditional directives are
//     not evaluated: the lines between them are read.
//   Words — the engine's plain parser (hud head animations): tokens are
//     quoted strings (line breaks allowed) or runs of non-blank bytes; no
//     directives.
// Both: blanks are bytes up to the space and bytes of 128 and above (the
// game's characters are signed), "//" and "/* */" comments lie between
// tokens, a NUL byte ends a file. A token has at most 1,023 characters:
// a longer name, number or string is an error in Script (the game's
// precompiler refuses it); in Words a longer word becomes an empty token
// and a longer string keeps its first 1,023 bytes, as the engine does.
//
// Includes are looked for as the game does, as game paths through the
// search path, relative to no file. A file that is not in the game (given
// by its disk path) also finds includes beside itself when the search path
// has none of that name (a note says the game would not).
//
// Bounds, each refused with one message at the #include line:
//   - a file that is already being read (a file including itself, directly
//     or in a cycle);
//   - more than kMaxDepth files open at once;
//   - a file of more than kMaxFileBytes;
//   - reading more than kReadPerByte times the bytes of the distinct files
//     read so far (and at least kReadFloor) in all: every include of a file
//     reads it again, so one small file included many times over from
//     files included many times over is refused long before it costs
//     seconds. Each distinct file is read from disk once (by its stated
//     size first, so one too large is not read at all).
// Work is then in proportion to the bytes read: below a second for the
// largest text taken.
//
// An error stops the reading (the game gives up the file): next() then
// returns End. Messages go to the list given.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/messages.h"
#include "game/search_path.h"

namespace game {

enum class Grammar : std::uint8_t { Script, Words };

enum class TokenKind : std::uint8_t { End, Name, Number, String, Punct };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::uint32_t file = 0;  // index in ScriptReader::files()
    std::uint32_t line = 0;  // from 1

    bool is(const char* punct) const { return kind == TokenKind::Punct && text == punct; }
};

class ScriptReader {
public:
    static constexpr std::uint32_t kMaxFileBytes = 4u << 20;
    static constexpr std::size_t kMaxDepth = 16;
    static constexpr std::uint64_t kReadFloor = 1u << 20;
    static constexpr std::uint64_t kReadPerByte = 8;
    static constexpr std::size_t kMaxToken = 1023;

    struct File {
        std::string name;  // as messages name it: the game path, or the path given
        Located at;        // where it was found (the path is empty for a text in memory)
        std::uint32_t size = 0;
    };

    // `search` (may be null: no game) finds the included files.
    ScriptReader(Grammar grammar, const SearchPath* search, Messages& messages);

    // Starts with the file found at `at`; false with `why` (read_file.h)
    // when it cannot be read, and for a file over kMaxFileBytes.
    bool open(const std::string& name, const Located& at, std::string& why);
    // Starts with a text in memory (tests, fuzzing) named `name`.
    void openText(const std::string& name, std::string text);

    // The next token: End after the last one and after an error.
    Token next();
    const Token& peek();
    bool failed() const { return failed_; }

    // An error at a token: reported, and the reading stops.
    void fail(Id id, const Token& at, const std::string& message);
    // A finding that does not stop the reading.
    void note(Id id, Severity severity, const Token& at, const std::string& message);

    const std::vector<File>& files() const { return files_; }
    const std::string& fileName(std::uint32_t file) const { return files_[file].name; }

private:
    struct Frame {
        std::uint32_t file;
        std::size_t pos = 0;
        std::uint32_t line = 1;
    };

    std::uint32_t addFile(File file, std::string text);
    bool push(std::uint32_t file, const Token& at);
    // Skips blanks and comments in the current file; false at its end.
    bool skipBlanks(Frame& f);
    char peekChar(const Frame& f, std::size_t ahead = 0) const;
    // One token of the current file, directives not handled; End at its end.
    Token raw();
    Token rawString(Frame& f, Token t);
    Token rawWord(Frame& f, Token t, TokenKind kind, bool (*inside)(char));
    void directive(const Token& hash);
    void include(const std::string& name, const Token& at);
    Token endToken() const;
    void stop();

    Grammar grammar_;
    const SearchPath* search_;
    Messages& messages_;
    std::vector<File> files_;
    std::vector<std::string> texts_;
    std::map<std::string, std::uint32_t> byPath_;  // openable path -> file
    std::vector<Frame> stack_;
    std::optional<Token> peeked_;
    std::uint64_t read_ = 0;      // bytes of every file pushed, each time
    std::uint64_t distinct_ = 0;  // bytes of the distinct files read
    std::uint32_t lastFile_ = 0, lastLine_ = 0;
    bool failed_ = false;
};

}  // namespace game
