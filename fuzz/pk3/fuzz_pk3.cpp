// Arbitrary bytes as a .pk3 archive: index it, merge it into a directory
// index, and read every member whole, twice. What the members inflate to
// stays within the archive's allowance, a member read again counting once.
#include <cstddef>
#include <cstdint>

#include "platform/sys/archive.h"
#include "platform/sys/archive_index.h"
#include "platform/sys/archive_member.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto archive = sys::archive::Archive::openBytes(data, size);
    if (!archive) return 0;
    sys::archive::ArchiveSet set;
    set.add(archive);
    set.add(archive);  // the same archive twice: the later copy wins every name
    unsigned checksum = 0;
    std::uint64_t stated = 0;
    for (const auto& [key, index] : archive->members()) {
        sys::archive::MemberRef ref;
        if (!set.find(key, ref) || ref.index != index) __builtin_trap();
        sys::archive::MemberBytes member;
        if (!sys::archive::readMember(archive, index, member)) continue;
        if (member.data.size() > member.statedSize || (member.damaged && !member.data.empty())) __builtin_trap();
        for (unsigned char b : member.data) checksum += b;
        stated += member.statedSize;
        sys::archive::MemberBytes again;
        if (!sys::archive::readMember(archive, index, again) || again.data != member.data) __builtin_trap();
    }
    if (stated > size * sys::archive::kInflatedPerArchiveByte) __builtin_trap();
    return static_cast<int>(checksum & 0);
}
