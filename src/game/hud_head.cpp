#include "game/hud_head.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace game {

namespace {

// The leading number of a token, as atof (general) or atoi (fixed, then
// cut to its integer part) reads it; false when it has none. Values too
// large for a double, infinities and NaN are none either.
bool leadingNumber(const std::string& text, std::chars_format format, double& out) {
    const char* p = text.data();
    const char* end = p + text.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    out = 0.0;
    const auto [stop, ec] = std::from_chars(p, end, out, format);
    if (ec != std::errc() || !std::isfinite(out)) {
        out = 0.0;
        return false;
    }
    if (negative) out = -out;
    return stop != p;
}

// atoi: the leading integer, held within 32 bits.
std::int32_t leadingInt(double value) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

}  // namespace

bool readHudHeadAnims(ScriptReader& words, std::vector<HudHeadRow>& out) {
    const std::size_t start = out.size();
    for (std::size_t row = 0; row < kHudHeadRows; ++row) {
        double values[4] = {};
        HudHeadRow r;
        for (std::size_t column = 0; column < 4; ++column) {
            const Token t = words.next();
            if (t.kind == TokenKind::End) {
                if (!words.failed())
                    words.fail(Id::RowCount, t,
                               formats::strf("the hud head animations end in row %zu; the game needs %zu rows of 4 numbers",
                                             row + 1, kHudHeadRows));
                return false;
            }
            if (column == 0) {
                r.file = t.file;
                r.line = t.line;
            }
            double v = 0.0;
            if (!leadingNumber(t.text, column == 2 ? std::chars_format::general : std::chars_format::fixed, v))
                words.note(Id::ScriptSyntax, Severity::Warning, t, "expected a number, not " + quote(t.text) + "; the game reads 0");
            // atoi reads the integer part only.
            values[column] = column == 2 ? v : static_cast<double>(static_cast<long long>(std::clamp(v, -1e18, 1e18)));
        }
        r.first = leadingInt(values[0]);
        r.numFrames = leadingInt(values[1]);
        r.fps = values[2] == 0.0 ? 1.0 : values[2];
        r.loopFrames = leadingInt(values[3]);
        out.push_back(r);
    }
    return out.size() - start == kHudHeadRows;
}

}  // namespace game
