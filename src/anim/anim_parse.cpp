// The config's grammar on top of the tokens, as the game reads it: header
// keywords; from version 2 on STARTANIMS, named rows and ENDANIMS; before
// version 2 a number (or STARTANIMS) ends the header and exactly 130 rows
// without names follow; then optionally HEADFRAMES rows to the end. A row's
// values must stay on the line of its first token.
#include <charconv>
#include <cmath>
#include <new>

#include "anim/anim_config.h"
#include "anim/tokens.h"

namespace anim {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

bool parseInt(const std::string& t, std::int32_t& v) {
    const char* end = t.data() + t.size();
    const auto r = std::from_chars(t.data(), end, v);
    return !t.empty() && r.ec == std::errc() && r.ptr == end;
}

bool parseCount(const std::string& t, std::uint32_t& v) {
    std::int32_t i = 0;
    if (t.empty() || t[0] == '-' || !parseInt(t, i)) return false;
    v = static_cast<std::uint32_t>(i);
    return true;
}

bool parseNumber(const std::string& t, double& v) {
    if (t.empty() || !((t[0] >= '0' && t[0] <= '9') || t[0] == '-' || t[0] == '.')) return false;
    const char* end = t.data() + t.size();
    const auto r = std::from_chars(t.data(), end, v);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(v);
}

bool parseFloat(const std::string& t, float& v) {
    double d = 0.0;
    if (!parseNumber(t, d) || std::fabs(d) > 3.0e38) return false;
    v = static_cast<float>(d);
    return true;
}

// fps as the game takes it: a number cut to a whole one, 0 counting as 1.
bool parseFps(const std::string& t, std::uint32_t& v) {
    double d = 0.0;
    if (!parseNumber(t, d) || d < 0.0 || d >= 2147483648.0) return false;
    v = static_cast<std::uint32_t>(d);
    if (v == 0) v = 1;
    return true;
}

class Parser {
public:
    Parser(const std::vector<Token>& tokens, const std::string& fileName, std::string& error)
        : t_(tokens), file_(fileName), error_(error) {}

    bool run(Config& c) {
        if (!header(c)) return false;
        if (!(c.version >= 2 ? namedRows(c) : numberedRows(c))) return false;
        if (at_ == t_.size()) return true;
        const Token& next = t_[at_++];
        if (lower(next.text) != "headframes")
            return fail(next.line, "unexpected '" + next.text + "' after " +
                                       (c.version >= 2 ? std::string("ENDANIMS")
                                                       : "the " + std::to_string(kVersion1Rows) + " animation rows"));
        return headFrames(c);
    }

private:
    bool fail(int line, const std::string& reason) {
        error_ = file_ + ":" + std::to_string(line) + ": " + reason;
        return false;
    }

    // The next token when it is on the same line as the one before.
    const Token* sameLine() const { return at_ < t_.size() && !t_[at_].startsLine ? &t_[at_] : nullptr; }

    // One value after `label` on its line, read by `parse`.
    template <typename T, typename Parse>
    bool value(const char* what, const std::string& label, int line, Parse parse, T& out) {
        const Token* tok = sameLine();
        if (tok == nullptr) return fail(line, std::string("expected ") + what + " after '" + label + "'");
        ++at_;
        if (!parse(tok->text, out))
            return fail(tok->line, std::string("expected ") + what + " after '" + label + "', not '" + tok->text + "'");
        return true;
    }

    bool word(const std::string& key, int line, std::string& out) {
        return value("a word", key, line, [](const std::string& s, std::string& o) { o = s; return true; }, out);
    }

    bool header(Config& c) {
        for (;;) {
            if (at_ == t_.size()) {
                const int line = t_.empty() ? 1 : t_.back().line;
                if (c.version < 2) return true;  // the rows' count says what is missing
                return fail(line, "no STARTANIMS before the end of the file");
            }
            const Token& tok = t_[at_++];
            const std::string key = lower(tok.text);
            if (key == "startanims") return true;
            // Before version 2 the rows need no STARTANIMS: a number starts them.
            if (c.version < 2 && !tok.text.empty() && tok.text[0] >= '0' && tok.text[0] <= '9') {
                --at_;
                return true;
            }
            if (key == "skeletal") {
                c.skeletal = true;
            } else if (key == "footsteps") {
                if (!word(key, tok.line, c.footsteps)) return false;
            } else if (key == "sex") {
                if (!word(key, tok.line, c.sex)) return false;
            } else if (key == "version") {
                std::int32_t v = 0;
                if (!value("a version number", key, tok.line, parseInt, v)) return false;
                c.version = v;
            } else if (key == "headoffset") {
                std::array<float, 3> o{};
                for (float& f : o)
                    if (!value("three numbers", key, tok.line, parseFloat, f)) return false;
                c.headOffset = o;
            } else {
                return fail(tok.line, "unknown keyword '" + tok.text +
                                          "' (before STARTANIMS: footsteps, headoffset, sex, version, skeletal)");
            }
        }
    }

    // Version 2 on: named rows up to ENDANIMS.
    bool namedRows(Config& c) {
        const int start = at_ > 0 ? t_[at_ - 1].line : 1;
        for (;;) {
            if (at_ == t_.size()) return fail(start, "STARTANIMS here has no ENDANIMS");
            const Token& tok = t_[at_];
            if (lower(tok.text) == "endanims") {
                ++at_;
                return true;
            }
            if (c.animations.size() == kMaxAnimations)
                return fail(tok.line, "more than " + std::to_string(kMaxAnimations) +
                                          " animations (the game has room for " + std::to_string(kMaxAnimations) + ")");
            Animation a;
            a.line = tok.line;
            a.name = lower(tok.text);
            ++at_;
            if (!value("a first frame", a.name, a.line, parseCount, a.firstFrame) || !rowValues(a)) return false;
            c.animations.push_back(std::move(a));
        }
    }

    // Before version 2: exactly kVersion1Rows rows without names, taken by
    // their position, and no ENDANIMS.
    bool numberedRows(Config& c) {
        while (c.animations.size() < kVersion1Rows) {
            Animation a;
            a.name = "anim_" + std::to_string(c.animations.size());
            if (at_ == t_.size())
                return fail(t_.empty() ? 1 : t_.back().line,
                            "the file ends after " + std::to_string(c.animations.size()) + " of the " +
                                std::to_string(kVersion1Rows) + " animation rows of a version 1 config");
            const Token& tok = t_[at_++];
            a.line = tok.line;
            if (!parseCount(tok.text, a.firstFrame))
                return fail(tok.line, "expected a first frame for " + a.name + ", not '" + tok.text +
                                          "' (a version 1 config has " + std::to_string(kVersion1Rows) +
                                          " rows without names)");
            if (!rowValues(a)) return false;
            c.animations.push_back(std::move(a));
        }
        return true;
    }

    // The rest of a row after its first frame, on the same line.
    bool rowValues(Animation& a) {
        if (!value("a frame count", a.name, a.line, parseCount, a.numFrames) ||
            !value("a loop frame count", a.name, a.line, parseCount, a.loopFrames) ||
            !value("a speed in frames per second", a.name, a.line, parseFps, a.fps) ||
            !value("a move speed", a.name, a.line, parseFloat, a.moveSpeed))
            return false;
        std::int32_t extra = 0;
        if (sameLine() != nullptr) {
            if (!value("a blend time", a.name, a.line, parseInt, extra)) return false;
            a.animBlend = extra;
        }
        if (sameLine() != nullptr) {
            if (!value("a priority", a.name, a.line, parseInt, extra)) return false;
            a.priority = extra;
        }
        if (const Token* more = sameLine())
            return fail(more->line, "unexpected '" + more->text + "' at the end of the row of '" + a.name + "'");
        return true;
    }

    // Rows "name first frames [moveSpeed]" to the end; the first token is
    // always the name, as the game reads it.
    bool headFrames(Config& c) {
        while (at_ < t_.size()) {
            const Token& tok = t_[at_++];
            if (c.headFrames.size() == kMaxHeadFrames)
                return fail(tok.line, "more than " + std::to_string(kMaxHeadFrames) + " HEADFRAMES rows");
            HeadAnimation h;
            h.line = tok.line;
            h.name = lower(tok.text);
            if (!value("a first frame", h.name, h.line, parseCount, h.firstFrame) ||
                !value("a frame count", h.name, h.line, parseCount, h.numFrames))
                return false;
            if (sameLine() != nullptr && !value("a move speed", h.name, h.line, parseFloat, h.moveSpeed)) return false;
            if (const Token* more = sameLine())
                return fail(more->line, "unexpected '" + more->text + "' at the end of the head row");
            c.headFrames.push_back(std::move(h));
        }
        return true;
    }

    const std::vector<Token>& t_;
    const std::string& file_;
    std::string& error_;
    std::size_t at_ = 0;
};

}  // namespace

const Animation* Config::find(std::string_view name) const {
    const std::string wanted = lower(name);
    for (const Animation& a : animations)
        if (a.name == wanted) return &a;
    return nullptr;
}

bool parseConfig(std::string_view text, const std::string& fileName, Config& config, std::string& error) {
    config = Config{};
    try {
        std::vector<Token> tokens;
        if (!tokenize(text, tokens, error)) {
            error = fileName + ":" + error;
            return false;
        }
        Parser parser(tokens, fileName, error);
        if (parser.run(config)) return true;
    } catch (const std::bad_alloc&) {
        error = fileName + ": out of memory while reading";
    }
    config = Config{};
    return false;
}

}  // namespace anim
