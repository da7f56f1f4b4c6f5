// The walk every reader of a model file goes through: lists checked against
// the bytes before anything is read from them, counts refused before they
// are multiplied, surface chains followed wherever their offsets point,
// names and float values checked by their field tables, byte ranges kept
// to find lists that share bytes, and one work budget.
//
// One walk, two modes:
//   - FirstFatal (the viewer, the browser, mdstree): the first finding that
//     stops the caller (see Reader and Need) is kept as the refusal and the
//     walk stops; other findings are not composed at all.
//   - CollectAll (the checker): every finding goes to a report; the walk
//     only skips what depends on a record it could not read.
// Both visit the same lists in the same order and charge the same budget,
// so both agree on which files are damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/fields.h"
#include "formats/identify.h"

namespace formats {

// The work budget. In a well-formed file no two lists share bytes, so the
// records a walk visits add up to at most the file's size. A walk may visit
// records of up to twice the size: then a file in which a few lists share
// bytes is still read whole (and the checker names the lists), while a
// list that thousands of surfaces share, or a chain that comes back to
// itself, stops the walk. Every later pass over the records (the tree,
// buffers, skinning, the checker's rules) is then bounded by twice the
// file's size.
constexpr std::int64_t kWorkBudgetFactor = 2;

enum class Mode { FirstFatal, CollectAll };

// A list of fixed-size records as the walk found it.
struct ListAt {
    std::int64_t at = 0;     // entry 0
    std::int64_t count = 0;  // entries (0 for a negative count)
    bool inside = false;     // every entry lies inside the bytes
};

// The need of a list whose records lie outside, and of one whose count is
// more than the whole file could hold (a reader may list entries without
// reading them, as the browser lists frames).
struct ListNeed {
    Need outside;
    Need tooMany;
    ListNeed(Need need) : outside(need), tooMany(need) {}  // NOLINT: a Need is the common case
    ListNeed(Need outside, Need tooMany) : outside(outside), tooMany(tooMany) {}
};

class Walker {
public:
    // `reader`: in FirstFatal mode, who walks; `report`: where CollectAll
    // findings go (required in that mode).
    Walker(ByteView bytes, Mode mode, Reader reader, Report* report);

    ByteView bytes() const { return bytes_; }
    std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }
    bool collecting() const { return mode_ == Mode::CollectAll; }
    // FirstFatal: a needed record failed. Both modes: the budget ran out.
    bool stopped() const { return stopped_; }
    const std::optional<Finding>& refusal() const { return refusal_; }

    // A finding of the walk (capped per `capList` when one is given).
    void fail(Need need, Id id, std::string where, std::int64_t offset, std::string message,
              const std::string& capList = {}) {
        fail(need, id, defaultSeverity(id), std::move(where), offset, std::move(message), capList);
    }
    void fail(Need need, Id id, Severity severity, std::string where, std::int64_t offset, std::string message,
              const std::string& capList = {});

    // A count field that must not be negative: `field` of the record
    // `owner` ("header", `surface 2 "u_body"`) at `base`.
    bool count(Need need, std::int32_t value, const std::string& owner, FieldRef field, std::int64_t base);

    // `count` records of `recordSize` bytes from `at`, placed by `field` of
    // the record `owner` at `base`; `what` names the list. A list inside is
    // charged to the budget.
    ListAt list(ListNeed need, std::int64_t at, std::int64_t count, std::int64_t recordSize, const char* what,
                const std::string& owner, FieldRef field, std::int64_t base);

    // Charges `length` bytes of records; false once the budget ran out.
    bool charge(std::int64_t length);
    // Keeps [begin, end) as the bytes of `what` for the overlap findings.
    void claim(std::int64_t begin, std::int64_t end, std::string what);

    // The file starts with `format`'s ident and holds its whole header;
    // otherwise one finding (NotModel or TooShort) and false.
    bool start(Format format);
    // The header's end offset against the file's size. A file cut short is
    // one finding: the lists its missing end cuts off are not reported on
    // their own.
    void endOffset(std::int32_t declaredEnd, FieldRef field);

    // A name field of `length` bytes at `at` (checked for a terminator when
    // collecting).
    std::string name(std::int64_t at, std::size_t length, const std::string& where, const std::string& capList);

    // The float fields of record T at `at` must be finite, and its name
    // fields other than one called "Name" (read through name()) must be
    // terminated; paths are `label .Field`. Only when collecting.
    template <class T>
    void values(std::int64_t at, const std::string& label, const std::string& capList) {
        values(RecordInfo<T>::fields, at, label, capList);
    }
    void values(std::span<const FieldInfo> fields, std::int64_t at, const std::string& label,
                const std::string& capList) {
        if (!collecting()) return;
        for (const FieldInfo& f : fields) valueOf(f, at, label, capList);
    }

    // The file starts with `format`'s ident and holds its whole header
    // (record T): the header is claimed, charged, and its name and values
    // checked. False (one finding) when it does not.
    template <class T>
    bool header(Format format) {
        if (!start(format)) return false;
        claim(0, sizeof(T), "header");
        charge(sizeof(T));
        name(KV_FIELD(T, Name).offset, kNameLength, "header .Name", "names");
        values<T>(0, "header", "header values");
        return true;
    }

    // Follows a chain of `count` records ("surface", "tag": `noun`) of
    // `headerSize` bytes from `first` (placed by the header's `firstField`),
    // each next one its `endField` further on, wherever that points.
    // `one(at, i)` walks record i and returns false to stop; `label(i)`
    // names it for the next finding. True when every record was walked.
    template <class WalkOne, class Label>
    bool chain(const char* noun, std::int64_t first, std::int32_t count, std::int64_t headerSize, FieldRef firstField,
               FieldRef endField, WalkOne one, Label label) {
        std::int64_t at = first;
        std::string from = std::string("header ") + firstField.name;
        std::int64_t fromAt = firstField.offset;
        for (std::int32_t i = 0; i < count; ++i) {
            if (!bytes_.has(at, headerSize)) {
                recordOutside(noun, at, headerSize, i, from, fromAt);
                return false;
            }
            if (!one(at, i) || stopped_) return false;
            from = label(i) + " " + endField.name;
            fromAt = at + endField.offset;
            at += bytes_.read<std::int32_t>(fromAt);
        }
        return true;
    }

    // Reports lists that share bytes (after the walk; only when collecting).
    void overlaps();

private:
    void valueOf(const FieldInfo& f, std::int64_t at, const std::string& label, const std::string& capList);
    void recordOutside(const char* noun, std::int64_t at, std::int64_t headerSize, std::int32_t i,
                       const std::string& from, std::int64_t fromAt);
    // True when a list from `begin` to `end` fails only because the file
    // was cut short; then the cause stands for it.
    bool followsFromCut(Need need, std::int64_t begin, std::int64_t end);

    struct Span {
        std::int64_t begin, end;
        std::string what;
    };

    ByteView bytes_;
    Mode mode_;
    Reader reader_;
    Report* report_;
    bool stopped_ = false;
    std::optional<Finding> refusal_;
    std::int64_t charged_ = 0;
    std::vector<Span> spans_;
    std::int64_t declaredEnd_ = -1;  // set when the file was cut short
    Finding cutCause_{};
    std::size_t cutCauseIndex_ = 0;
};

}  // namespace formats
