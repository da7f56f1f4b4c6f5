// Reading one archive member, with the size checks that keep a hostile
// archive from costing more than its own size allows. A member is inflated
// as it is read, straight into the reader's memory, so its bytes are held
// once: by the reader that asked for them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sys/archive.h"

struct zip_file;

namespace sys::archive {

// Members stating a larger size are refused whatever the archive's size:
// no model, skin or texture of the game comes near it.
constexpr std::uint64_t kMaxMemberSize = 256u * 1024u * 1024u;

// Deflate cannot inflate one byte into more than 1032; a member stating
// more than its compressed bytes can give (with a little slack for stored
// headers) is refused before anything is allocated for it.
constexpr std::uint64_t kMaxInflateRatio = 1032;
std::uint64_t maxInflatedSize(std::uint64_t compressedSize);

// What the members read from one archive may inflate to, in all, per byte
// of the archive file. The archive file is the input, and a program may
// take 16 times its input's bytes in memory. A member's bytes are held
// once, by the reader, and what the reader builds from them (buffers, a
// tree) costs about as much again; so the members a program reads from one
// archive may inflate to half of that: 8 times the archive. The sum runs
// over every member read, so that many members of one small archive cannot
// each take the whole; a member read again is counted once. Real archives
// stay far below it: deflate makes models and TGA textures 1.5 to 4 times
// smaller, skins and other text 3 to 6 times, JPEG textures not at all;
// only members made to compress tens or hundreds of times (a zip bomb, a
// flat image) reach it.
constexpr std::uint64_t kInflatedPerArchiveByte = 8;

// Why a member would be refused, or None when it would open (reading
// nothing, counting nothing).
enum class Refusal { None, NoEntry, NoSize, TooLarge, CannotInflate, AllowanceSpent };
Refusal refusal(const Archive& archive, std::uint64_t index);
// A phrase for a refusal ("its stated size is above 256 MB", ...).
const char* refusalText(Refusal why);

// One member opened for reading from its start.
class MemberReader {
public:
    MemberReader() = default;
    ~MemberReader();
    MemberReader(const MemberReader&) = delete;
    MemberReader& operator=(const MemberReader&) = delete;

    // False when the member is refused: no such entry, no stated size,
    // above kMaxMemberSize, more than its compressed size can inflate to, or
    // more than its archive's allowance (kInflatedPerArchiveByte) has left.
    // Otherwise its stated size is counted against that allowance (once per
    // member). A member that cannot be inflated at all (unknown method,
    // encrypted) opens and reads nothing.
    bool open(std::shared_ptr<Archive> archive, std::uint64_t index);

    std::uint32_t statedSize() const { return statedSize_; }

    // The next bytes of the member, up to n; fewer when it ends before its
    // stated size or is damaged, and never past the stated size. The read
    // that reaches the stated size also checks that the data ends there and
    // that its checksum holds; when not, it returns 0 and so do all later
    // reads.
    std::uint32_t read(void* dest, std::uint32_t n);

private:
    bool finish();

    std::shared_ptr<Archive> archive_;
    zip_file* file_ = nullptr;
    std::uint32_t statedSize_ = 0;
    std::uint32_t position_ = 0;
    bool failed_ = false;
};

struct MemberBytes {
    std::uint32_t statedSize = 0;     // the size the central directory states
    std::vector<unsigned char> data;  // what inflated: statedSize bytes, or none when damaged
    bool damaged = false;             // did not inflate to exactly statedSize with a good checksum
};

// Reads entry `index` whole through a MemberReader. False when the member
// is refused (see MemberReader::open); true otherwise, also for a damaged
// member, whose `data` is then empty.
bool readMember(const std::shared_ptr<Archive>& archive, std::uint64_t index, MemberBytes& out);

}  // namespace sys::archive
