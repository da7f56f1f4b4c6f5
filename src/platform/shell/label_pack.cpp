#include "platform/shell/label_pack.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <system_error>

namespace shell {

namespace {

enum Kind : std::uint8_t { kEnd = 0, kRun = 1, kInt = 2, kF32 = 3, kF64 = 4 };

// Longest number taken as a value: a float printed with "%f" has at most 39
// digits before its point; longer runs of digits stay text.
constexpr std::size_t kMaxNumber = 64;
constexpr std::size_t kMaxIntDigits = 18;  // below 2^60: the token fits in 64 bits
constexpr int kDecimals = 6;               // "%f"

void putVarint(std::uint64_t v, std::string& out) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>(static_cast<std::uint8_t>(v) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

std::uint64_t getVarint(const std::uint8_t*& p) {
    std::uint64_t v = 0;
    for (unsigned shift = 0; shift < 64; shift += 7) {
        const std::uint8_t b = *p++;
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) break;
    }
    return v;
}

void putToken(Kind kind, std::uint64_t value, std::string& out) { putVarint(value << 3 | kind, out); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "-"? digits, as printed by "%d" or "%u": no leading zero, no "-0".
bool packInt(std::string_view s, std::string& out) {
    const bool negative = s.front() == '-';
    const std::string_view digits = s.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > kMaxIntDigits) return false;
    if (digits.front() == '0' && (digits.size() > 1 || negative)) return false;
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    const auto u = static_cast<std::uint64_t>(v);
    putToken(kInt, (u << 1) ^ (v < 0 ? ~std::uint64_t{0} : 0), out);
    return true;
}

// True when "%f" of x gives exactly s.
bool printsAs(double x, std::string_view s) {
    char buf[kMaxNumber + 8];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, kDecimals);
    return ec == std::errc() && std::string_view(buf, static_cast<std::size_t>(end - buf)) == s;
}

// "-"? digits "." six digits, as printed by "%f" from a float or a double.
bool packFloat(std::string_view s, std::string& out) {
    const std::size_t point = s.find('.');
    if (point == std::string_view::npos || s.size() - point - 1 != kDecimals) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    float f = 0;
    if (const auto r = std::from_chars(first, last, f); r.ec == std::errc() && r.ptr == last &&
                                                        printsAs(static_cast<double>(f), s)) {
        putToken(kF32, 0, out);
        out.append(reinterpret_cast<const char*>(&f), sizeof f);
        return true;
    }
    double d = 0;
    if (const auto r = std::from_chars(first, last, d); r.ec == std::errc() && r.ptr == last && printsAs(d, s)) {
        putToken(kF64, 0, out);
        out.append(reinterpret_cast<const char*>(&d), sizeof d);
        return true;
    }
    return false;
}

}  // namespace

std::uint32_t LabelPack::find(std::string_view run, std::size_t& slot) const {
    const std::size_t mask = slots_.size() - 1;
    for (slot = std::hash<std::string_view>{}(run) & mask; slots_[slot] != 0; slot = (slot + 1) & mask)
        if (runs_[slots_[slot] - 1] == run) return slots_[slot] - 1;
    return kNoRun;
}

void LabelPack::grow() {
    std::vector<std::uint32_t> slots(std::max<std::size_t>(64, 2 * slots_.size()), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        std::size_t slot = std::hash<std::string_view>{}(runs_[i]) & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
    slots_.swap(slots);
}

std::string_view LabelPack::keep(std::string_view run) {
    char* at = nullptr;
    if (run.size() > kTextChunk / 4) {
        // A long run gets a block of its own; the chunk in use goes on.
        text_.push_back(std::make_unique_for_overwrite<char[]>(run.size()));
        textBytes_ += run.size();
        at = text_.back().get();
    } else {
        if (!chunk_ || run.size() > kTextChunk - chunkUsed_) {
            text_.push_back(std::make_unique_for_overwrite<char[]>(kTextChunk));
            textBytes_ += kTextChunk;
            chunk_ = text_.back().get();
            chunkUsed_ = 0;
        }
        at = chunk_ + chunkUsed_;
        chunkUsed_ += run.size();
    }
    std::memcpy(at, run.data(), run.size());
    return {at, run.size()};
}

bool LabelPack::putRun(std::string_view run, std::string& out) {
    if (run.empty()) return true;
    std::size_t slot = 0;
    std::uint32_t index = slots_.empty() ? kNoRun : find(run, slot);
    if (index == kNoRun) {
        if (runs_.size() >= kNoRun - 1) return false;
        if (2 * (runs_.size() + 1) > slots_.size()) {
            grow();
            find(run, slot);
        }
        runs_.push_back(keep(run));
        index = static_cast<std::uint32_t>(runs_.size() - 1);
        slots_[slot] = index + 1;
    }
    putToken(kRun, index, out);
    return true;
}

// Text is cut after ": " and " (" and before ")", so that a name stands
// alone as one run wherever it is quoted ("Bone 3: spine", "(spine)").
bool LabelPack::putText(std::string_view text, std::string& out) {
    std::size_t start = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        std::size_t cut = 0;
        if (text[i] == ')')
            cut = i;
        else if ((text[i] == ' ' && text[i - 1] == ':') || (text[i] == '(' && text[i - 1] == ' '))
            cut = i + 1;
        if (cut > start && cut < text.size()) {
            if (!putRun(text.substr(start, cut - start), out)) return false;
            start = cut;
        }
    }
    return putRun(text.substr(start), out);
}

// Numbers are the longest "-"? digits ("." digits)? at any place; one that
// would not print back the same (leading zeros, too long, a fraction that
// is not "%f"'s) stays text.
bool LabelPack::packTokens(std::string_view t, std::string& out) {
    const std::size_t n = t.size();
    std::string number;  // the token of one number (at most 10 bytes: no allocation)
    std::size_t run = 0;  // start of the text not yet put
    std::size_t i = 0;
    while (i < n) {
        const bool minus = t[i] == '-' && i + 1 < n && isDigit(t[i + 1]);
        if (!minus && !isDigit(t[i])) {
            ++i;
            continue;
        }
        std::size_t j = i + (minus ? 1 : 0);
        while (j < n && isDigit(t[j])) ++j;
        const std::size_t intEnd = j;
        if (j + 1 < n && t[j] == '.' && isDigit(t[j + 1]))
            for (++j; j < n && isDigit(t[j]);) ++j;
        number.clear();
        std::size_t end = 0;
        if (j > intEnd && j - i <= kMaxNumber && packFloat(t.substr(i, j - i), number))
            end = j;
        else if (packInt(t.substr(i, intEnd - i), number))
            end = intEnd;
        if (end == 0) {
            i = intEnd;
            continue;
        }
        if (!putText(t.substr(run, i - run), out)) return false;
        out += number;
        i = run = end;
    }
    if (!putText(t.substr(run), out)) return false;
    out.push_back(static_cast<char>(kEnd));
    return true;
}

bool LabelPack::pack(std::string_view text, std::string& out) {
    const std::size_t start = out.size();
    try {
        if (text.size() <= kMaxTokenized) {
            if (packTokens(text, out)) return true;
        } else if (putRun(text, out)) {
            out.push_back(static_cast<char>(kEnd));
            return true;
        }
    } catch (const std::bad_alloc&) {
    }
    out.resize(start);
    return false;
}

const std::uint8_t* LabelPack::unpack(const std::uint8_t* p, std::string& out) const {
    char buf[kMaxNumber + 8];
    for (;;) {
        const std::uint64_t v = getVarint(p);
        const std::uint64_t value = v >> 3;
        std::to_chars_result r{buf, std::errc()};
        switch (v & 7) {
            case kEnd:
                return p;
            case kRun:
                if (value < runs_.size()) out += runs_[static_cast<std::size_t>(value)];
                continue;
            case kInt: {
                const auto magnitude = static_cast<std::int64_t>(value >> 1);
                r = std::to_chars(buf, buf + sizeof buf, (value & 1) ? -magnitude - 1 : magnitude);
                break;
            }
            case kF32: {
                float f;
                std::memcpy(&f, p, sizeof f);
                p += sizeof f;
                r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(f), std::chars_format::fixed, kDecimals);
                break;
            }
            case kF64: {
                double d;
                std::memcpy(&d, p, sizeof d);
                p += sizeof d;
                r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, kDecimals);
                break;
            }
            default:
                return p;
        }
        out.append(buf, static_cast<std::size_t>(r.ptr - buf));
    }
}

const std::uint8_t* LabelPack::skip(const std::uint8_t* p) {
    for (;;) {
        switch (getVarint(p) & 7) {
            case kEnd: return p;
            case kF32: p += sizeof(float); break;
            case kF64: p += sizeof(double); break;
            default: break;
        }
    }
}

void LabelPack::clear() {
    std::vector<std::string_view>().swap(runs_);
    std::vector<std::uint32_t>().swap(slots_);
    std::vector<std::unique_ptr<char[]>>().swap(text_);
    chunk_ = nullptr;
    chunkUsed_ = 0;
    textBytes_ = 0;
}

std::size_t LabelPack::bytesHeld() const {
    return textBytes_ + runs_.capacity() * sizeof(std::string_view) + slots_.size() * sizeof(std::uint32_t) +
           text_.capacity() * sizeof(text_.front());
}

}  // namespace shell
