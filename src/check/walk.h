// What the model checks share: the bytes, the report, the game's limits,
// the list of byte ranges the file's records claim (to find lists that
// share bytes) and the work budget.
//
// The budget: a file whose lists do not overlap holds every record in its
// own bytes, so the records a walk visits add up to at most the file size.
// Every list is charged before it is walked; when the charges pass twice
// the file size the file declares more than it holds and the walk stops
// with one finding. Twice, so that a file with a few lists that share bytes
// (reported on their own) is still checked whole; a chain that repeats
// itself is stopped all the same. Work and memory are thus bounded by the
// file size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/limits.h"
#include "check/report.h"
#include "formats/byte_view.h"

namespace check {

struct Span {
    std::int64_t begin, end;
    std::string what;
};

class Walk {
public:
    static constexpr std::int64_t kBudgetTimes = 2;

    Walk(formats::ByteView bytes, Report& report, const Limits& limits)
        : bytes(bytes), report(report), limits(limits) {}

    formats::ByteView bytes;
    Report& report;
    const Limits& limits;
    std::vector<Span> spans;

    std::int64_t size() const { return static_cast<std::int64_t>(bytes.size()); }

    // Charges `length` bytes of records to the budget; false (reported once)
    // when the file declares more than it holds.
    bool charge(std::int64_t length);
    bool overBudget() const { return over_; }

    // Checks that `count` records of `recordSize` bytes from `at` lie inside
    // the file; reports RecordOutside at the field that placed them and
    // returns false when not. On success the range joins `spans` and is
    // charged to the budget.
    // `owner` names the record that holds the list ("surface 2 \"u_body\"").
    bool list(std::int64_t at, std::int64_t count, std::int64_t recordSize, const char* what,
              const std::string& owner, const std::string& where, std::int64_t fieldOffset);

    // A 64-byte name field at `at`; reports a missing terminator.
    std::string name(std::int64_t at, std::size_t length, const std::string& where, const std::string& list);
    // Reports each of `count` float32 at `at` that is not finite.
    void finite(std::int64_t at, int count, const std::string& where, const std::string& list);
    // A count field that must not be negative.
    bool count(std::int32_t value, const std::string& where, std::int64_t fieldOffset);

    // Vertex and triangle counts of one surface against the game's limits.
    void surfaceLimits(std::int64_t vertices, std::int64_t triangles, const std::string& label, std::int64_t vertexField,
                       std::int64_t triangleField);
    // A model-wide count against one limit of both games.
    void modelLimit(std::int64_t value, std::int64_t limit, const char* what, const std::string& where,
                    std::int64_t fieldOffset);

    // Reports spans that share bytes (after the walk).
    void overlaps();

    // Follows a surface chain of `count` headers of `headerSize` bytes from
    // `first`, each next one `OffsetEnd` (at `endField` within a header)
    // further on, wherever that points. `one(at, i)` checks surface i and
    // returns false to stop; `label(i)` names it for the next finding. True
    // when every surface was checked.
    template <class CheckOne, class Label>
    bool chain(std::int64_t first, std::int32_t count, std::int64_t headerSize, std::int64_t endField,
               std::int64_t firstFieldOffset, CheckOne one, Label label) {
        std::int64_t at = first;
        std::string from = "header .OffsetSurfaces";
        std::int64_t fromAt = firstFieldOffset;
        for (std::int32_t i = 0; i < count; ++i) {
            if (!surfaceInside(at, headerSize, i, from, fromAt)) return false;
            if (!one(at, i)) return false;
            from = label(i) + " .OffsetEnd";
            fromAt = at + endField;
            at += bytes.read<std::int32_t>(fromAt);
        }
        return true;
    }


private:
    // True when surface i's header lies inside; otherwise reports it at the
    // field that placed it.
    bool surfaceInside(std::int64_t at, std::int64_t headerSize, std::int32_t i, const std::string& from,
                        std::int64_t fromAt);

    std::int64_t charged_ = 0;
    bool over_ = false;
};

// The file starts with `ident` and holds the whole header; otherwise one
// finding (NotModel or TooShort) and false.
bool startModel(formats::ByteView bytes, Report& report, const char* ident, const char* kind, std::int64_t headerSize);

}  // namespace check
