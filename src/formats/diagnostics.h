// Findings about model files: one catalogue of diagnoses (id, default
// severity, short name) and the report every reader and check writes into.
//
// A finding names its file, where in it (a record and field as a path,
// e.g. `surface 2 "u_body" .OffsetTriangles`), the byte offset of that
// field (-1 when it has none) and a message that says what was found and
// what was expected. Tests assert ids, paths and offsets, not texts.
//
// The readers of src/formats report the structure of a file (a list
// outside the bytes, a negative count, a file that declares more than it
// holds, a value that is not a number); the checker adds its rules (bone
// order, weight sums, the game's limits, skins and folders) with the same
// catalogue, so one defect has one id and one wording everywhere. The
// character files of the sibling game (src/game) report with it too, by
// file and line.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace formats {

enum class Severity { Note, Warning, Error };

// The readers of a model file, and which of them a defect stops (a set of
// readers). Rules about values (bone order, weight sums, limits) stop no
// reader; the checker reports everything.
enum class Reader : std::uint8_t {
    Walk = 1,   // the walk alone: the browser's tree, which stops at a list outside by itself
    Draw = 2,   // the viewer
    Print = 4,  // the structure printer, which shows every list
};
enum class Need : std::uint8_t {
    None = 0,
    DrawOnly = 2,  // a value the viewer uses as a position (a frame table entry)
    Print = 4,     // a list only the printers show
    Draw = 6,      // a record the viewer reads (and the printers show)
    Walk = 7,      // the walk cannot go on: headers, counts, chains, lengths, the budget
};
constexpr bool stops(Need need, Reader reader) {
    return (static_cast<unsigned>(need) & static_cast<unsigned>(reader)) != 0;
}
constexpr Need operator|(Need a, Need b) {
    return static_cast<Need>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// X(enum name, default severity, short name)
#define KV_DIAGNOSTICS(X)                                       \
    X(Unreadable, Error, "unreadable")                          \
    X(NotModel, Error, "not-a-model")                           \
    X(TooShort, Error, "too-short")                             \
    X(Version, Warning, "version")                              \
    X(NegativeCount, Error, "negative-count")                   \
    X(RecordOutside, Error, "record-outside")                   \
    X(ListsOverlap, Error, "lists-overlap")                     \
    X(DeclaresTooMuch, Error, "declares-too-much")              \
    X(EndOffset, Warning, "end-offset")                         \
    X(ParentOrder, Error, "parent-order")                       \
    X(BoneIndex, Error, "bone-index")                           \
    X(VertexIndex, Error, "vertex-index")                       \
    X(WeightSum, Warning, "weight-sum")                         \
    X(NoWeights, Warning, "no-weights")                         \
    X(NameUnterminated, Error, "name-unterminated")             \
    X(NotFinite, Error, "not-finite")                           \
    X(FrameIndex, Error, "frame-index")                         \
    X(NoFrames, Error, "no-frames")                             \
    X(FrameCount, Error, "frame-count")                         \
    X(CollapseOrder, Error, "collapse-order")                   \
    X(MinLod, Error, "min-lod")                                 \
    X(WeightCount, Warning, "weight-count")                     \
    X(GameLimit, Error, "game-limit")                           \
    X(MultiplayerLimit, Warning, "multiplayer-limit")           \
    X(MissingFile, Error, "missing-file")                       \
    X(NoSkins, Warning, "no-skins")                             \
    X(NoSkinEntry, Warning, "no-skin-entry")                    \
    X(UnknownSkinKey, Warning, "unknown-skin-key")              \
    X(MissingTexture, Error, "missing-texture")                 \
    X(MissingAttachment, Error, "missing-attachment")           \
    X(OtherCase, Note, "other-case")                            \
    X(OnlyInGameDir, Warning, "only-in-game-dir")               \
    X(AnimationConfig, Error, "animation-config")               \
    X(AnimationRange, Error, "animation-range")                 \
    X(FramesUnused, Note, "frames-unused")                      \
    X(ScriptSyntax, Error, "script-syntax")                     \
    X(IncludeCycle, Error, "include-cycle")                     \
    X(IncludeDepth, Error, "include-depth")                     \
    X(ReadBudget, Error, "read-budget")                         \
    X(IncludeOutsideGame, Note, "include-outside-game")         \
    X(UnknownKey, Error, "unknown-key")                         \
    X(MissingKey, Error, "missing-key")                         \
    X(RowCount, Error, "row-count")                             \
    X(MissingTag, Error, "missing-tag")                         \
    X(More, Note, "more")

enum class Id {
#define KV_DIAGNOSTIC_ENUM(name, severity, text) name,
    KV_DIAGNOSTICS(KV_DIAGNOSTIC_ENUM)
#undef KV_DIAGNOSTIC_ENUM
};

Severity defaultSeverity(Id id);
const char* idName(Id id);
const char* severityName(Severity severity);

struct Finding {
    Id id;
    Severity severity;
    std::string file;
    std::string where;
    std::int64_t offset = -1;
    std::string message;
    Need need = Need::None;

    // "WHERE @0xOFFSET: MESSAGE" (no offset part when there is none): the
    // finding as every program words it after the file's name.
    std::string text() const;
};

// printf into a std::string.
std::string strf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "0x1a2c"
std::string hex(std::int64_t value);
// A name as it appears in a path: in double quotes, bytes outside printable
// ASCII as \xNN.
std::string quoted(const std::string& name);

class Report {
public:
    // Findings of one kind in one list are kept up to this many; the rest
    // become one "... and N more" note when the file is done.
    static constexpr int kPerList = 20;

    // The file the next findings belong to; closes the previous one (a
    // file begun again while current stays open).
    void beginFile(std::string file);
    void endFile();

    void add(Id id, std::string where, std::int64_t offset, std::string message);
    void add(Id id, Severity severity, std::string where, std::int64_t offset, std::string message);
    void add(Finding finding);
    // As add, but counted against kPerList for (id, list).
    void addCapped(Id id, const std::string& list, std::string where, std::int64_t offset, std::string message);
    void addCapped(Id id, Severity severity, const std::string& list, std::string where, std::int64_t offset,
                   std::string message);

    void addCapped(const std::string& list, Finding finding);
    // Makes finding `index` stop the readers of `need` too (for a finding
    // whose consequences are not reported on their own).
    void addNeed(std::size_t index, Need need);

    const std::vector<Finding>& findings() const { return findings_; }
    bool hasError() const { return counts_.errors > 0; }

    // Each file's findings go to `sink` when the file is done and are not
    // kept, so a check of many files holds one file's findings at a time.
    void streamTo(std::function<void(const std::vector<Finding>&)> sink) { sink_ = std::move(sink); }
    struct Counts {
        long long files = 0, errors = 0, warnings = 0, notes = 0;
    };
    const Counts& counts() const { return counts_; }

private:
    struct Overflow {
        int count = 0;
        std::string list;
    };
    std::string file_;
    std::vector<Finding> findings_;
    std::map<std::pair<int, std::string>, Overflow> overflows_;
    std::function<void(const std::vector<Finding>&)> sink_;
    Counts counts_;
};

}  // namespace formats
