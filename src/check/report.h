// Findings of korvane-check: one catalogue of diagnoses (id, default
// severity, short name), and the report every check writes into.
//
// A finding names its file, where in it (a record and field as a path,
// e.g. `surface 2 "u_body" .OffsetTriangles`), the byte offset of that
// field (-1 when it has none) and a message that says what was found and
// what was expected. Tests assert ids, paths and offsets, not texts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace check {

enum class Severity { Note, Warning, Error };

// X(enum name, default severity, short name)
#define KV_CHECK_CATALOGUE(X)                                   \
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
    X(More, Note, "more")

enum class Id {
#define KV_CHECK_ENUM(name, severity, text) name,
    KV_CHECK_CATALOGUE(KV_CHECK_ENUM)
#undef KV_CHECK_ENUM
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
    // As add, but counted against kPerList for (id, list).
    void addCapped(Id id, const std::string& list, std::string where, std::int64_t offset, std::string message);

    const std::vector<Finding>& findings() const { return findings_; }
    bool hasError() const;

private:
    struct Overflow {
        int count = 0;
        std::string list;
    };
    std::string file_;
    std::vector<Finding> findings_;
    std::map<std::pair<int, std::string>, Overflow> counts_;
};

}  // namespace check
