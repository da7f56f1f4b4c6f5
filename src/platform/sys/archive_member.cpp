// Inflating one member with libzip as it is read, stopping at its stated
// size, and the account of what an archive's members have inflated to.
#include "platform/sys/archive_member.h"

#include <zip.h>

#include <algorithm>
#include <new>

namespace sys::archive {

namespace {

std::uint64_t allowance(const Archive& archive) { return archive.size() * kInflatedPerArchiveByte; }

}  // namespace

std::uint64_t maxInflatedSize(std::uint64_t compressedSize) { return compressedSize * kMaxInflateRatio + 1024; }

namespace {

Refusal statRefusal(const Archive& archive, std::uint64_t index, zip_stat_t& st) {
    zip_stat_init(&st);
    if (zip_stat_index(archive.handle(), index, 0, &st) != 0) return Refusal::NoEntry;
    if ((st.valid & ZIP_STAT_SIZE) == 0) return Refusal::NoSize;
    if (st.size > kMaxMemberSize) return Refusal::TooLarge;
    if ((st.valid & ZIP_STAT_COMP_SIZE) != 0 && st.size > maxInflatedSize(st.comp_size)) return Refusal::CannotInflate;
    return Refusal::None;
}

}  // namespace

Refusal refusal(const Archive& archive, std::uint64_t index) {
    zip_stat_t st;
    const Refusal why = statRefusal(archive, index, st);
    if (why != Refusal::None) return why;
    return archive.wouldCount(index, st.size, allowance(archive)) ? Refusal::None : Refusal::AllowanceSpent;
}

const char* refusalText(Refusal why) {
    switch (why) {
    case Refusal::None: return "it is read";
    case Refusal::NoEntry: return "the archive has no such entry";
    case Refusal::NoSize: return "the archive states no size for it";
    case Refusal::TooLarge: return "its stated size is above 256 MB";
    case Refusal::CannotInflate: return "its stated size is more than its compressed bytes can inflate to";
    case Refusal::AllowanceSpent:
        return "the members read from this archive would inflate to more than 8 times the archive's size (a "
               "real archive compresses its models 1.5 to 4 times)";
    }
    return "";
}

MemberReader::~MemberReader() {
    if (file_ != nullptr) zip_fclose(file_);
}

bool MemberReader::open(std::shared_ptr<Archive> archive, std::uint64_t index) {
    if (!archive || archive_) return false;
    zip_stat_t st;
    if (statRefusal(*archive, index, st) != Refusal::None) return false;
    if (!archive->countOnce(index, st.size, allowance(*archive))) return false;
    archive_ = std::move(archive);
    statedSize_ = static_cast<std::uint32_t>(st.size);
    file_ = zip_fopen_index(archive_->handle(), index, 0);
    failed_ = file_ == nullptr;  // unknown method, encrypted, bad local header
    return true;
}

std::uint32_t MemberReader::read(void* dest, std::uint32_t n) {
    if (failed_ || dest == nullptr) return 0;
    const std::uint32_t want = std::min(n, statedSize_ - position_);
    auto* out = static_cast<unsigned char*>(dest);
    std::uint32_t got = 0;
    while (got < want) {
        const zip_int64_t r = zip_fread(file_, out + got, want - got);
        if (r <= 0) {  // an error, or the data ends before the stated size
            failed_ = true;
            break;
        }
        got += static_cast<std::uint32_t>(r);
    }
    position_ += got;
    if (!failed_ && position_ == statedSize_ && !finish()) return 0;
    return got;
}

// The stream must end at the stated size: one more byte means it inflates
// to more than stated; the end of the stream is also where the checksum is
// checked.
bool MemberReader::finish() {
    unsigned char probe = 0;
    const bool ends = zip_fread(file_, &probe, 1) == 0;
    const bool closed = zip_fclose(file_) == 0;
    file_ = nullptr;
    failed_ = true;  // nothing more to read, either way
    return ends && closed;
}

bool readMember(const std::shared_ptr<Archive>& archive, std::uint64_t index, MemberBytes& out) {
    out = MemberBytes{};
    MemberReader reader;
    if (!reader.open(archive, index)) return false;
    out.statedSize = reader.statedSize();
    try {
        out.data.resize(out.statedSize);
        out.damaged = reader.read(out.data.data(), out.statedSize) != out.statedSize;
    } catch (const std::bad_alloc&) {
        out.damaged = true;  // memory that cannot be had makes the member unreadable, like damage
    }
    if (out.damaged) {
        out.data.clear();
        out.data.shrink_to_fit();
    }
    return true;
}

}  // namespace sys::archive
