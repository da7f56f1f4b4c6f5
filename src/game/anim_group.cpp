#include "game/anim_group.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "game/game_path.h"

namespace game {

namespace {

// The number a Number token holds (decimal with a fraction, or 0x hex),
// negated when a '-' came before it.
double numberOf(const std::string& text, bool negative) {
    double value = 0.0;
    if (text.size() > 2 && text[1] != '.' && (text[1] == 'x' || text[1] == 'X')) {
        for (std::size_t i = 2; i < text.size(); ++i) {
            const char d = text[i];
            value = value * 16.0 + ((d >= '0' && d <= '9') ? d - '0' : (d | 0x20) - 'a' + 10);
        }
    } else {
        std::from_chars(text.data(), text.data() + text.size(), value);
    }
    return negative ? -value : value;
}

// An integer as the game reads one: a fraction is dropped, and values
// beyond 32 bits are held at the nearest.
std::int32_t toInt(double value) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

bool readNumber(ScriptReader& r, double& out, const char* what) {
    Token t = r.next();
    const bool negative = t.is("-");
    if (negative) t = r.next();
    if (t.kind != TokenKind::Number) {
        if (!r.failed()) r.fail(Id::ScriptSyntax, t, std::string("expected ") + what + (t.text.empty() ? "" : ", not " + quote(t.text)));
        return false;
    }
    out = numberOf(t.text, negative);
    return true;
}

bool readInt(ScriptReader& r, std::int32_t& out, const char* what) {
    double value = 0.0;
    if (!readNumber(r, value, what)) return false;
    out = toInt(value);
    return true;
}

bool readRow(ScriptReader& r, const Token& name, AnimRow& row) {
    row.name = lowerAscii(name.text.substr(0, kMaxGamePath));
    row.file = name.file;
    row.line = name.line;
    std::int32_t reversed = 0;
    if (!readInt(r, row.first, "the first frame") || !readInt(r, row.numFrames, "the number of frames") ||
        !readInt(r, row.loopFrames, "the looping frames") || !readNumber(r, row.fps, "the frames per second") ||
        !readInt(r, row.moveSpeed, "the move speed") || !readInt(r, row.transition, "the transition time") ||
        !readInt(r, reversed, "the reversed flag"))
        return false;
    if (row.fps == 0.0) row.fps = 1.0;
    row.reversed = reversed == 1;
    const Token& next = r.peek();
    if (next.kind == TokenKind::Number || next.is("-")) {
        std::int32_t priority = 0;
        if (!readInt(r, priority, "the priority")) return false;
        row.priority = priority;
    }
    return true;
}

}  // namespace

std::size_t AnimGroup::rowCount() const {
    std::size_t n = 0;
    for (const AnimFile& f : files) n += f.rows.size();
    return n;
}

bool readAnimGroup(ScriptReader& reader, AnimGroup& out) {
    Token t = reader.next();
    if (!sameIgnoringCase(t.text, "animgroup")) {
        reader.fail(Id::ScriptSyntax, t, "expected 'animgroup'");
        return false;
    }
    t = reader.next();
    if (t.text != "{") {
        reader.fail(Id::ScriptSyntax, t, "expected '{' after 'animgroup'");
        return false;
    }
    std::size_t rows = out.rowCount();
    for (;;) {
        t = reader.next();
        if (t.kind == TokenKind::End) {
            if (reader.failed()) return false;
            reader.note(Id::ScriptSyntax, Severity::Warning, t, "the file ends before the '}' of animgroup");
            return true;
        }
        if (t.text.starts_with('}')) return true;
        if (!sameIgnoringCase(t.text, "animfile")) {
            reader.fail(Id::UnknownKey, t, "expected 'animfile' or '}', not " + quote(t.text));
            return false;
        }
        const Token path = reader.next();
        if (path.kind == TokenKind::End) {
            if (!reader.failed()) reader.fail(Id::ScriptSyntax, path, "expected the animation file's name");
            return false;
        }
        out.files.push_back(AnimFile{path.text, t.file, t.line, {}});
        AnimFile& file = out.files.back();
        if (t = reader.next(); t.text != "{") {
            if (!reader.failed()) reader.fail(Id::ScriptSyntax, t, "expected '{' after the animation file's name");
            return false;
        }
        for (;;) {
            t = reader.next();
            if (t.kind == TokenKind::End || t.text.starts_with('}')) break;
            AnimRow row;
            if (!readRow(reader, t, row)) return false;
            if (++rows == kMaxAnimations + 1)
                reader.note(Id::GameLimit, Severity::Warning, t,
                            formats::strf("animation %zu: the game keeps at most %zu per character", rows, kMaxAnimations));
            file.rows.push_back(std::move(row));
        }
        if (t.kind == TokenKind::End) {
            if (reader.failed()) return false;
            reader.note(Id::ScriptSyntax, Severity::Warning, t, "the file ends before the '}' of an animfile block");
            return true;
        }
    }
}

}  // namespace game
