#include "check/walk.h"

#include <cstring>

#include <algorithm>
#include <cmath>

namespace check {

bool Walk::charge(std::int64_t length) {
    if (over_) return false;
    charged_ += length;
    if (charged_ <= kBudgetTimes * size()) return true;
    over_ = true;
    report.add(Id::DeclaresTooMuch, "file", -1,
               strf("the counts and offsets declare more records than the file's %lld bytes can hold; "
                    "the rest of the file is not checked",
                    static_cast<long long>(size())));
    return false;
}

bool Walk::list(std::int64_t at, std::int64_t count, std::int64_t recordSize, const char* what,
                const std::string& owner, const std::string& where, std::int64_t fieldOffset) {
    // A count past what the file could hold is refused before multiplying.
    const bool fits = count >= 0 && (recordSize == 0 || count <= size() / recordSize);
    const std::int64_t length = fits ? count * recordSize : 0;
    if (!fits || !bytes.has(at, length)) {
        if (!fits)
            report.add(
                Id::RecordOutside, where, fieldOffset,
                strf("%lld %s of %lld bytes each are more than the file of %s bytes holds",
                     static_cast<long long>(count), what, static_cast<long long>(recordSize), hex(size()).c_str()));
        else if (at < 0 || at > size())
            report.add(Id::RecordOutside, where, fieldOffset,
                       strf("%lld %s start at %s, outside the file of %s bytes", static_cast<long long>(count), what,
                            hex(at).c_str(), hex(size()).c_str()));
        else
            report.add(Id::RecordOutside, where, fieldOffset,
                       strf("%lld %s from %s end at %s, past the end of the file at %s", static_cast<long long>(count),
                            what, hex(at).c_str(), hex(at + length).c_str(), hex(size()).c_str()));
        return false;
    }
    if (length > 0) spans.push_back({at, at + length, owner.empty() ? std::string(what) : owner + " " + what});
    return charge(length);
}

std::string Walk::name(std::int64_t at, std::size_t length, const std::string& where, const std::string& list) {
    const char* p = reinterpret_cast<const char*>(bytes.data() + at);
    std::size_t n = 0;
    while (n < length && p[n] != '\0') ++n;
    if (n == length)
        report.addCapped(Id::NameUnterminated, list, where, at,
                         strf("the name fills all %u bytes without a terminator; the game needs names under %u "
                              "characters",
                              static_cast<unsigned>(length), static_cast<unsigned>(length)));
    return std::string(p, n);
}

void Walk::finite(std::int64_t at, int count, const std::string& where, const std::string& list) {
    for (int i = 0; i < count; ++i) {
        const float v = bytes.read<float>(at + 4 * i);
        if (!std::isfinite(v))
            report.addCapped(Id::NotFinite, list, where, at + 4 * i,
                             strf("value %d of the field is %s, a finite number was expected", i,
                                  std::isnan(v) ? "not a number" : "infinite"));
    }
}

bool Walk::count(std::int32_t value, const std::string& where, std::int64_t fieldOffset) {
    if (value >= 0) return true;
    report.add(Id::NegativeCount, where, fieldOffset, strf("the count is %d; a count cannot be negative", value));
    return false;
}

void Walk::surfaceLimits(std::int64_t vertices, std::int64_t triangles, const std::string& label,
                         std::int64_t vertexField, std::int64_t triangleField) {
    struct Item {
        std::int64_t value;
        const char* what;
        const char* field;
        std::int64_t offset;
        std::int64_t GameLimits::*limit;
    };
    const Item items[] = {{vertices, "vertices", ".NumVertices", vertexField, &GameLimits::vertices},
                          {triangles, "triangles", ".NumTriangles", triangleField, &GameLimits::triangles}};
    for (const Item& it : items) {
        const std::string where = label + " " + it.field;
        const GameLimits& checked = limits.game == Game::Multiplayer ? kMultiplayer : kSinglePlayer;
        if (it.value > checked.*it.limit) {
            report.add(Id::GameLimit, where, it.offset,
                       strf("%lld %s; the %s renderer draws at most %lld per surface and drops the whole model",
                            static_cast<long long>(it.value), it.what, checked.name,
                            static_cast<long long>(checked.*it.limit)));
        } else if (limits.game == Game::Both && it.value > kMultiplayer.*it.limit) {
            report.add(Id::MultiplayerLimit, where, it.offset,
                       strf("%lld %s; the multiplayer renderer draws at most %lld per surface and drops the whole "
                            "model (single player allows %lld)",
                            static_cast<long long>(it.value), it.what, static_cast<long long>(kMultiplayer.*it.limit),
                            static_cast<long long>(kSinglePlayer.*it.limit)));
        }
    }
}

void Walk::modelLimit(std::int64_t value, std::int64_t limit, const char* what, const std::string& where,
                      std::int64_t fieldOffset) {
    if (value > limit)
        report.add(Id::GameLimit, where, fieldOffset,
                   strf("%lld %s; the game loads models of at most %lld", static_cast<long long>(value), what,
                        static_cast<long long>(limit)));
}

void Walk::overlaps() {
    // Stable: of two lists that start together the later one is named.
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::size_t last = 0;  // the span reaching furthest so far
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].begin < spans[last].end)
            report.addCapped(Id::ListsOverlap, "lists", spans[i].what, spans[i].begin,
                             strf("%s from %s to %s share bytes with %s from %s to %s", spans[i].what.c_str(),
                                  hex(spans[i].begin).c_str(), hex(spans[i].end).c_str(), spans[last].what.c_str(),
                                  hex(spans[last].begin).c_str(), hex(spans[last].end).c_str()));
        if (spans[i].end > spans[last].end) last = i;
    }
}

bool Walk::surfaceInside(std::int64_t at, std::int64_t headerSize, std::int32_t i, const std::string& from,
                          std::int64_t fromAt) {
    if (bytes.has(at, headerSize)) return true;
    report.add(Id::RecordOutside, from, fromAt,
               strf("surface %d's header of %lld bytes at %s does not lie inside the file of %s bytes", i,
                    static_cast<long long>(headerSize), hex(at).c_str(), hex(size()).c_str()));
    return false;
}

bool startModel(formats::ByteView bytes, Report& report, const char* ident, const char* kind, std::int64_t headerSize) {
    if (bytes.size() < 4 || std::memcmp(bytes.data(), ident, 4) != 0) {
        report.add(Id::NotModel, "header .Id", 0,
                   strf("the file does not start with \"%s\"; it is not an %s file", ident, kind));
        return false;
    }
    if (static_cast<std::int64_t>(bytes.size()) < headerSize) {
        report.add(Id::TooShort, "header", 0,
                   strf("the file has %llu bytes, fewer than the header's %lld",
                        static_cast<unsigned long long>(bytes.size()), static_cast<long long>(headerSize)));
        return false;
    }
    return true;
}

}  // namespace check
