#include "formats/walker.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace formats {

Walker::Walker(ByteView bytes, Mode mode, Reader reader, Report* report)
    : bytes_(bytes), mode_(mode), reader_(reader), report_(report) {}

void Walker::fail(Need need, Id id, Severity severity, std::string where, std::int64_t offset, std::string message,
                  const std::string& capList) {
    if (collecting()) {
        Finding f{id, severity, {}, std::move(where), offset, std::move(message), need};
        if (capList.empty())
            report_->add(std::move(f));
        else
            report_->addCapped(capList, std::move(f));
        return;
    }
    if (stopped_ || !stops(need, reader_)) return;
    refusal_ = Finding{id, severity, {}, std::move(where), offset, std::move(message), need};
    stopped_ = true;
}

bool Walker::count(Need need, std::int32_t value, const std::string& owner, FieldRef field, std::int64_t base) {
    if (value >= 0) return true;
    fail(need, Id::NegativeCount, owner + " " + field.name, base + field.offset,
         strf("the count is %d; a count cannot be negative", value), "counts");
    return false;
}

bool Walker::followsFromCut(Need need, std::int64_t begin, std::int64_t end) {
    if (declaredEnd_ < 0 || begin < 0 || end <= size() || end > declaredEnd_) return false;
    if (collecting()) {
        report_->addNeed(cutCauseIndex_, need);
    } else if (!stopped_ && stops(need, reader_)) {
        refusal_ = cutCause_;
        refusal_->need = need;
        stopped_ = true;
    }
    return true;
}

ListAt Walker::list(ListNeed need, std::int64_t at, std::int64_t count, std::int64_t recordSize, const char* what,
                    const std::string& owner, FieldRef field, std::int64_t base) {
    const std::string where = owner + " " + field.name;
    const std::int64_t fieldOffset = base + field.offset;
    ListAt out{at, count < 0 ? 0 : count, false};
    // An empty list occupies nothing, wherever it points.
    if (count == 0) {
        out.inside = true;
        return out;
    }
    // A count past what the file could hold is refused before multiplying.
    const bool fits = count >= 0 && (recordSize == 0 || count <= size() / recordSize);
    const std::int64_t length = fits ? count * recordSize : 0;
    if (!fits) {
        fail(need.tooMany, Id::RecordOutside, where, fieldOffset,
             strf("%lld %s of %lld bytes each are more than the file of %s bytes holds", static_cast<long long>(count),
                  what, static_cast<long long>(recordSize), hex(size()).c_str()),
             what);
        return out;
    }
    if (!bytes_.has(at, length)) {
        if (followsFromCut(need.outside, at, at + length)) return out;
        if (at < 0 || at > size())
            fail(need.outside, Id::RecordOutside, where, fieldOffset,
                 strf("%lld %s start at %s, outside the file of %s bytes", static_cast<long long>(count), what,
                      hex(at).c_str(), hex(size()).c_str()),
                 what);
        else
            fail(need.outside, Id::RecordOutside, where, fieldOffset,
                 strf("%lld %s from %s end at %s, past the end of the file at %s", static_cast<long long>(count), what,
                      hex(at).c_str(), hex(at + length).c_str(), hex(size()).c_str()),
                 what);
        return out;
    }
    if (length > 0) claim(at, at + length, owner == "header" ? std::string(what) : owner + " " + what);
    out.inside = charge(length);
    return out;
}

bool Walker::charge(std::int64_t length) {
    if (stopped_ && collecting()) return false;
    charged_ += length;
    if (charged_ <= kWorkBudgetFactor * size()) return true;
    if (!stopped_)
        fail(Need::Walk, Id::DeclaresTooMuch, "file", -1,
             strf("the counts and offsets declare more records than the file's %lld bytes can hold (lists shared "
                  "or repeated); the file is not read further",
                  static_cast<long long>(size())));
    stopped_ = true;
    return false;
}

void Walker::claim(std::int64_t begin, std::int64_t end, std::string what) {
    if (collecting() && end > begin) spans_.push_back({begin, end, std::move(what)});
}

bool Walker::start(Format format) {
    const FormatInfo& f = formatInfo(format);
    if (identify(bytes_).format != format) {
        fail(Need::Walk, Id::NotModel, "header .Id", 0,
             strf("the file does not start with \"%s\"; it is not an %s file", f.ident, f.name));
        return false;
    }
    if (!bytes_.has(0, f.headerSize)) {
        fail(Need::Walk, Id::TooShort, "header", 0,
             strf("the file has %llu bytes, fewer than the header's %lld", static_cast<unsigned long long>(size()),
                  static_cast<long long>(f.headerSize)));
        return false;
    }
    return true;
}

void Walker::endOffset(std::int32_t declaredEnd, FieldRef field) {
    const std::string where = std::string("header ") + field.name;
    if (declaredEnd <= size()) {
        if (declaredEnd != size())
            fail(Need::None, Id::EndOffset, where, field.offset,
                 strf("the model data ends at %s, but the file has %s bytes", hex(declaredEnd).c_str(),
                      hex(size()).c_str()));
        return;
    }
    declaredEnd_ = declaredEnd;
    cutCause_ = Finding{Id::EndOffset, Severity::Error, {}, where, field.offset,
                        strf("the file is cut short: the model data should end at %s, but the file ends at %s",
                             hex(declaredEnd).c_str(), hex(size()).c_str())};
    if (collecting()) {
        cutCauseIndex_ = report_->findings().size();
        report_->add(cutCause_);
    }
}

std::string Walker::name(std::int64_t at, std::size_t length, const std::string& where, const std::string& capList) {
    const char* p = reinterpret_cast<const char*>(bytes_.data() + at);
    std::size_t n = 0;
    while (n < length && p[n] != '\0') ++n;
    if (n == length && collecting())
        fail(Need::None, Id::NameUnterminated, where, at,
             strf("the name fills all %u bytes without a terminator; the game needs names under %u characters",
                  static_cast<unsigned>(length), static_cast<unsigned>(length)),
             capList);
    return std::string(p, n);
}

void Walker::valueOf(const FieldInfo& f, std::int64_t at, const std::string& label, const std::string& capList) {
    const std::int64_t field = at + f.offset;
    if (f.kind == FieldKind::Name) {
        if (std::string(f.name) != "Name") name(field, f.count, label + " ." + f.name, capList);
        return;
    }
    if (f.kind != FieldKind::Float) return;
    for (std::uint32_t i = 0; i < f.count; ++i) {
        const float v = bytes_.read<float>(field + 4 * static_cast<std::int64_t>(i));
        if (std::isfinite(v)) continue;
        const char* what = std::isnan(v) ? "not a number" : "infinite";
        fail(Need::None, Id::NotFinite, label + " ." + f.name, field + 4 * static_cast<std::int64_t>(i),
             f.count == 1 ? strf("the value is %s, a finite number was expected", what)
                          : strf("value %u of the field is %s, a finite number was expected", i, what),
             capList);
    }
}

void Walker::recordOutside(const char* noun, std::int64_t at, std::int64_t headerSize, std::int32_t i,
                           const std::string& from, std::int64_t fromAt) {
    if (followsFromCut(Need::Walk, at, at + headerSize)) return;
    fail(Need::Walk, Id::RecordOutside, from, fromAt,
         strf("%s %d's header of %lld bytes at %s does not lie inside the file of %s bytes", noun, i,
              static_cast<long long>(headerSize), hex(at).c_str(), hex(size()).c_str()));
}

void Walker::overlaps() {
    if (!collecting()) return;
    // Stable: of two lists that start together the later one is named.
    std::stable_sort(spans_.begin(), spans_.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::size_t last = 0;  // the span reaching furthest so far
    for (std::size_t i = 1; i < spans_.size(); ++i) {
        if (spans_[i].begin < spans_[last].end)
            fail(Need::None, Id::ListsOverlap, spans_[i].what, spans_[i].begin,
                 strf("%s from %s to %s share bytes with %s from %s to %s", spans_[i].what.c_str(),
                      hex(spans_[i].begin).c_str(), hex(spans_[i].end).c_str(), spans_[last].what.c_str(),
                      hex(spans_[last].begin).c_str(), hex(spans_[last].end).c_str()),
                 "lists");
        if (spans_[i].end > spans_[last].end) last = i;
    }
}

}  // namespace formats
