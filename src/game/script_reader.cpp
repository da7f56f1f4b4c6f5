#include "game/script_reader.h"

#include <algorithm>
#include <utility>

#include "game/game_path.h"
#include "game/read_file.h"
#include "platform/sys/path.h"

namespace game {

namespace {

bool isBlank(char c) { return static_cast<signed char>(c) <= ' '; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNamePart(char c) { return isNameStart(c) || isDigit(c); }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isWordPart(char c) { return !isBlank(c); }

// The byte a C escape stands for, after its backslash; -1 when unknown.
int simpleEscape(char c) {
    switch (c) {
    case '\\': return '\\';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'a': return '\a';
    case '\'': return '\'';
    case '"': return '"';
    case '?': return '?';
    default: return -1;
    }
}

}  // namespace

ScriptReader::ScriptReader(Grammar grammar, const SearchPath* search, Messages& messages)
    : grammar_(grammar), search_(search), messages_(messages) {}

std::uint32_t ScriptReader::addFile(File file, std::string text) {
    // The game's text ends at its first NUL byte.
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    distinct_ += file.size;
    const auto index = static_cast<std::uint32_t>(files_.size());
    if (!file.at.path.empty()) byPath_[file.at.path] = index;
    files_.push_back(std::move(file));
    texts_.push_back(std::move(text));
    return index;
}

bool ScriptReader::open(const std::string& name, const Located& at, std::string& why) {
    FileRead read = readFile(at.path, kMaxFileBytes);
    if (!read.ok) {
        why = read.why;
        return false;
    }
    std::string text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.empty() ? 0 : read.size);
    const std::uint32_t file = addFile(File{name, at, read.size}, std::move(text));
    read_ += read.size;
    stack_.push_back(Frame{file});
    return true;
}

void ScriptReader::openText(const std::string& name, std::string text) {
    const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), kMaxFileBytes));
    text.resize(size);
    const std::uint32_t file = addFile(File{name, Located{}, size}, std::move(text));
    read_ += size;
    stack_.push_back(Frame{file});
}

void ScriptReader::stop() {
    failed_ = true;
    stack_.clear();
    peeked_.reset();
}

void ScriptReader::fail(Id id, const Token& at, const std::string& message) {
    if (failed_) return;
    report(messages_, id, fileName(at.file), at.line, message);
    stop();
}

void ScriptReader::note(Id id, Severity severity, const Token& at, const std::string& message) {
    report(messages_, id, severity, fileName(at.file), at.line, message);
}

Token ScriptReader::endToken() const { return Token{TokenKind::End, {}, lastFile_, lastLine_}; }

char ScriptReader::peekChar(const Frame& f, std::size_t ahead) const {
    const std::string& text = texts_[f.file];
    return f.pos + ahead < text.size() ? text[f.pos + ahead] : '\0';
}

bool ScriptReader::skipBlanks(Frame& f) {
    const std::string& text = texts_[f.file];
    for (;;) {
        while (f.pos < text.size() && isBlank(text[f.pos])) {
            if (text[f.pos] == '\n') ++f.line;
            ++f.pos;
        }
        if (f.pos >= text.size()) return false;
        if (text[f.pos] == '/' && peekChar(f, 1) == '/') {
            while (f.pos < text.size() && text[f.pos] != '\n') ++f.pos;
        } else if (text[f.pos] == '/' && peekChar(f, 1) == '*') {
            const std::uint32_t opened = f.line;
            const std::size_t close = text.find("*/", f.pos + 2);
            const std::size_t end = close == std::string::npos ? text.size() : close + 2;
            for (std::size_t i = f.pos; i < end; ++i)
                if (text[i] == '\n') ++f.line;
            f.pos = end;
            if (close == std::string::npos) {
                // The game reads nothing after it; neither do we, but we say so.
                note(Id::ScriptSyntax, Severity::Warning, Token{TokenKind::End, {}, f.file, opened},
                     "the comment opened here is not closed: the rest of the file is not read");
                return false;
            }
        } else {
            return true;
        }
    }
}

Token ScriptReader::rawWord(Frame& f, Token t, TokenKind kind, bool (*inside)(char)) {
    const std::string& text = texts_[f.file];
    const std::size_t start = f.pos;
    do {
        ++f.pos;
    } while (f.pos < text.size() && inside(text[f.pos]));
    const std::size_t n = f.pos - start;
    t.kind = kind;
    if (n > kMaxToken) {
        if (grammar_ == Grammar::Words) return t;  // the engine drops a word this long
        fail(Id::ScriptSyntax, t, formats::strf("a token of %zu characters; the game takes at most %zu", n, kMaxToken));
        return endToken();
    }
    t.text.assign(text, start, n);
    return t;
}

Token ScriptReader::rawString(Frame& f, Token t) {
    const std::string& text = texts_[f.file];
    t.kind = TokenKind::String;
    for (;;) {
        ++f.pos;  // the opening quote
        for (;;) {
            if (f.pos >= text.size()) {
                if (grammar_ == Grammar::Words) return t;
                fail(Id::ScriptSyntax, t, "the string opened here has no closing quote");
                return endToken();
            }
            char c = text[f.pos++];
            if (c == '"') break;
            if (grammar_ == Grammar::Words) {
                if (c == '\n') ++f.line;
                if (t.text.size() < kMaxToken) t.text += c;
                continue;
            }
            if (c == '\n') {
                fail(Id::ScriptSyntax, t, "a line break inside a string");
                return endToken();
            }
            if (c == '\\') {
                const char e = peekChar(f);
                if (const int simple = simpleEscape(e); simple >= 0) {
                    c = static_cast<char>(simple);
                    ++f.pos;
                } else if (e == 'x' || isDigit(e)) {
                    // \xHH (hex) or \ddd (up to three decimal digits, not
                    // octal): one byte, larger values cut to 255.
                    const bool hex = e == 'x';
                    if (hex) ++f.pos;
                    unsigned value = 0;
                    for (int digits = 0; hex ? isHexDigit(peekChar(f)) : (isDigit(peekChar(f)) && digits < 3); ++digits) {
                        const char d = text[f.pos++];
                        const unsigned v = static_cast<unsigned>(isDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
                        value = std::min(value * (hex ? 16u : 10u) + v, 0x100u);
                    }
                    c = static_cast<char>(std::min(value, 0xFFu));
                } else {
                    fail(Id::ScriptSyntax, t, "an unknown escape in a string: " + quote(std::string("\\") + e));
                    return endToken();
                }
            }
            if (t.text.size() == kMaxToken) {
                fail(Id::ScriptSyntax, t, formats::strf("a string of more than %zu characters", kMaxToken));
                return endToken();
            }
            t.text += c;
        }
        if (grammar_ == Grammar::Words) return t;
        // Another string after blanks and comments only continues this one.
        const Frame saved = f;
        const std::size_t messages = messages_.size();
        if (!skipBlanks(f) || text[f.pos] != '"') {
            f = saved;
            messages_.resize(messages);  // an open comment is reported when it is reached
            return t;
        }
    }
}

Token ScriptReader::raw() {
    while (!stack_.empty()) {
        Frame& f = stack_.back();
        if (!skipBlanks(f)) {
            // The end is on the file's last line (not after its last break).
            const std::string& text = texts_[f.file];
            lastFile_ = f.file;
            lastLine_ = f.line > 1 && !text.empty() && text.back() == '\n' ? f.line - 1 : f.line;
            stack_.pop_back();
            continue;
        }
        Token t{TokenKind::Punct, {}, f.file, f.line};
        const char c = texts_[f.file][f.pos];
        if (c == '"') return rawString(f, std::move(t));
        if (grammar_ == Grammar::Words) return rawWord(f, std::move(t), TokenKind::Name, isWordPart);
        if (isNameStart(c)) return rawWord(f, std::move(t), TokenKind::Name, isNamePart);
        if (c == '0' && (peekChar(f, 1) == 'x' || peekChar(f, 1) == 'X') && isHexDigit(peekChar(f, 2))) {
            ++f.pos;  // the 0; the x and the digits follow as one word
            t = rawWord(f, std::move(t), TokenKind::Number, isHexDigit);
            if (t.kind == TokenKind::Number) t.text.insert(0, "0");
            return t;
        }
        if (isDigit(c) || (c == '.' && isDigit(peekChar(f, 1)))) {
            // Digits, one '.', digits.
            const std::size_t start = f.pos;
            while (isDigit(peekChar(f))) ++f.pos;
            if (peekChar(f) == '.') ++f.pos;
            while (isDigit(peekChar(f))) ++f.pos;
            if (f.pos - start > kMaxToken) {
                fail(Id::ScriptSyntax, t, formats::strf("a number of %zu characters; the game takes at most %zu",
                                                        f.pos - start, kMaxToken));
                return endToken();
            }
            t.kind = TokenKind::Number;
            t.text.assign(texts_[f.file], start, f.pos - start);
            return t;
        }
        ++f.pos;
        t.text.assign(1, c);
        return t;
    }
    return endToken();
}

Token ScriptReader::next() {
    if (peeked_) {
        Token t = std::move(*peeked_);
        peeked_.reset();
        return t;
    }
    for (;;) {
        if (failed_) return endToken();
        Token t = raw();
        if (grammar_ == Grammar::Script && t.is("#")) {
            directive(t);
            continue;
        }
        return t;
    }
}

const Token& ScriptReader::peek() {
    if (!peeked_) peeked_ = next();
    return *peeked_;
}

void ScriptReader::directive(const Token& hash) {
    Frame& f = stack_.back();
    const std::string& text = texts_[f.file];
    // The directive's name and its file name are on the '#''s line.
    const auto sameLine = [&] {
        while (f.pos < text.size() && text[f.pos] != '\n' && isBlank(text[f.pos])) ++f.pos;
        return f.pos < text.size() && text[f.pos] != '\n';
    };
    std::string name;
    if (sameLine() && isNameStart(text[f.pos]))
        while (f.pos < text.size() && isNamePart(text[f.pos])) name += text[f.pos++];
    if (name == "include") {
        if (!sameLine() || (text[f.pos] != '"' && text[f.pos] != '<')) {
            fail(Id::ScriptSyntax, hash, "#include without a file name on its line");
            return;
        }
        std::string file;
        if (text[f.pos] == '"') {
            const Token t = rawString(f, Token{TokenKind::String, {}, hash.file, hash.line});
            if (failed_) return;
            file = t.text;
        } else {
            const std::size_t close = text.find_first_of(">\n", f.pos);
            if (close == std::string::npos || text[close] != '>') {
                fail(Id::ScriptSyntax, hash, "#include <...> without its closing '>'");
                return;
            }
            file.assign(text, f.pos + 1, close - f.pos - 1);
            f.pos = close + 1;
        }
        include(file, hash);
        return;
    }
    // Any other directive: the rest of its line, and of each line its
    // line ends with a '\' continues into.
    while (f.pos < text.size()) {
        const char c = text[f.pos++];
        if (c == '\n') {
            ++f.line;
            const std::size_t back = f.pos >= 2 ? f.pos - 2 : 0;
            const bool continued = f.pos >= 2 && (text[back] == '\\' || (text[back] == '\r' && back > 0 && text[back - 1] == '\\'));
            if (!continued) break;
        }
    }
}

void ScriptReader::include(const std::string& name, const Token& at) {
    if (stack_.size() >= kMaxDepth) {
        fail(Id::IncludeDepth, at, formats::strf("more than %zu files included one in another", kMaxDepth));
        return;
    }
    const File& from = files_[at.file];
    Located found = search_ ? search_->find(name) : Located{};
    std::string shown = sys::normalizeSeparators(name);
    if (!found.found() && !from.at.inGame() && !from.at.path.empty() && !gamePathKey(name).empty()) {
        // Not in a game: beside the including file.
        const std::string beside = folderOf(from.at.path) + name;
        const std::string resolved = sys::resolvePath(beside);
        if (!resolved.empty()) {
            found = Located{resolved, -1, {}};
            shown = resolved;
            note(Id::IncludeOutsideGame, Severity::Note, at,
                 "the included file " + quote(name) + " is found beside this file only; the game looks for it in its folders and archives");
        }
    }
    if (!found.found()) {
        fail(Id::MissingFile, at,
             "the included file " + quote(name) +
                 (search_ && !search_->empty() ? " is in none of the game's folders and archives" : " does not exist"));
        return;
    }
    const auto known = byPath_.find(found.path);
    std::uint32_t file = 0;
    if (known != byPath_.end()) {
        file = known->second;
        for (const Frame& open : stack_)
            if (open.file == file) {
                fail(Id::IncludeCycle, at, "the file " + quote(files_[file].name) + " includes itself (it is being read)");
                return;
            }
    } else {
        FileRead read = readFile(found.path, kMaxFileBytes);
        if (!read.ok) {
            fail(read.tooLarge ? Id::ReadBudget : Id::Unreadable, at, "the included file " + quote(name) + " " + read.why);
            return;
        }
        std::string text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.empty() ? 0 : read.size);
        file = addFile(File{shown, found, read.size}, std::move(text));
    }
    const std::uint64_t budget = std::max(kReadFloor, kReadPerByte * distinct_);
    if (read_ + files_[file].size > budget) {
        fail(Id::ReadBudget, at,
             formats::strf("including %s would read more than %llu bytes in all (%llu times the %llu bytes of the files read, at least %llu)",
                           quote(name).c_str(), static_cast<unsigned long long>(budget),
                           static_cast<unsigned long long>(kReadPerByte), static_cast<unsigned long long>(distinct_),
                           static_cast<unsigned long long>(kReadFloor)));
        return;
    }
    read_ += files_[file].size;
    stack_.push_back(Frame{file});
}

}  // namespace game
