// Inflating one member with libzip, stopping at its stated size.
#include "platform/sys/archive_member.h"

#include <zip.h>

#include <algorithm>
#include <new>

namespace sys::archive {

namespace {
constexpr std::uint64_t kFirstChunk = 1u << 20;

// Memory that cannot be had makes the member unreadable, like damage.
bool grow(std::vector<unsigned char>& data, std::uint64_t size) {
    try {
        data.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
}  // namespace

std::uint64_t maxInflatedSize(std::uint64_t compressedSize) { return compressedSize * kMaxInflateRatio + 1024; }

bool readMember(const Archive& archive, std::uint64_t index, MemberBytes& out) {
    out = MemberBytes{};
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.handle(), index, 0, &st) != 0 || (st.valid & ZIP_STAT_SIZE) == 0) return false;
    if (st.size > kMaxMemberSize) return false;
    if ((st.valid & ZIP_STAT_COMP_SIZE) != 0 && st.size > maxInflatedSize(st.comp_size)) return false;
    out.statedSize = static_cast<std::uint32_t>(st.size);

    zip_file_t* f = zip_fopen_index(archive.handle(), index, 0);
    if (f == nullptr) {  // unknown method, encrypted, bad local header
        out.damaged = true;
        return true;
    }
    // The buffer grows with what actually inflates, so a member that states
    // more than it holds costs only what it holds.
    std::uint64_t got = 0;
    bool failed = !grow(out.data, std::min<std::uint64_t>(out.statedSize, kFirstChunk));
    while (!failed && got < out.statedSize) {
        if (got == out.data.size() && !grow(out.data, std::min<std::uint64_t>(out.statedSize, 2 * got))) {
            failed = true;
            break;
        }
        const zip_int64_t r = zip_fread(f, out.data.data() + got, out.data.size() - got);
        if (r <= 0) {  // an error, or the data ends before the stated size
            failed = true;
            break;
        }
        got += static_cast<std::uint64_t>(r);
    }
    if (!failed) {
        // The stream must end here: one more byte means it inflates to more
        // than stated; the end of the stream is also where the checksum is
        // checked.
        unsigned char probe = 0;
        failed = zip_fread(f, &probe, 1) != 0;
    }
    if (zip_fclose(f) != 0) failed = true;
    if (failed) {
        out.damaged = true;
        out.data.clear();
        out.data.shrink_to_fit();
    }
    return true;
}

}  // namespace sys::archive
