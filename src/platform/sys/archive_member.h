// Reading one archive member whole into memory, with the size checks that
// keep a hostile archive from costing more than its stated sizes allow.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sys/archive.h"

namespace sys::archive {

// Members stating a larger size are refused: no model, skin or texture of
// the game comes near it, and a zip bomb states far more.
constexpr std::uint64_t kMaxMemberSize = 256u * 1024u * 1024u;

// Deflate cannot inflate one byte into more than 1032; a member stating
// more than its compressed bytes can give (with a little slack for stored
// headers) is refused before anything is allocated for it.
constexpr std::uint64_t kMaxInflateRatio = 1032;
std::uint64_t maxInflatedSize(std::uint64_t compressedSize);

struct MemberBytes {
    std::uint32_t statedSize = 0;     // the size the central directory states
    std::vector<unsigned char> data;  // what inflated: statedSize bytes, or fewer when damaged
    bool damaged = false;             // did not inflate to exactly statedSize with a good checksum
};

// Reads entry `index`. False when the member cannot be taken at all (no such
// entry, no stated size, above kMaxMemberSize, or more than its compressed
// size can inflate to). True otherwise, also for a
// damaged member: then `data` holds fewer than statedSize bytes (none).
// Inflating never goes past the stated size.
bool readMember(const Archive& archive, std::uint64_t index, MemberBytes& out);

}  // namespace sys::archive
