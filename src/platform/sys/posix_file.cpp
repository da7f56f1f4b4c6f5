// Whole-file reading on POSIX: open, size, read in one call, close. A path
// that is not on disk may name a member of a .pk3 archive (archive_lookup.h);
// such a member is inflated whole at open and then read from memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/sys/archive_lookup.h"
#include "platform/sys/archive_member.h"
#include "platform/sys/fault_gate.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace sys {

// Either a disk file (fd) or an archive member held in memory.
struct FileImpl {
    int fd = -1;
    std::uint32_t statedSize = 0;        // the member's size as the archive states it
    std::vector<unsigned char> data;     // what inflated (fewer bytes when damaged)
    std::size_t position = 0;
};

namespace {

File openMember(const std::string& path) {
    archive::MemberRef ref;
    archive::MemberBytes member;
    if (!archive::findMember(path, ref) || !archive::readMember(*ref.archive, ref.index, member)) return File{};
    auto* impl = new FileImpl;
    impl->statedSize = member.statedSize;
    impl->data = std::move(member.data);
    return File{impl};
}

// A disk file, else an archive member.
File openAt(const std::string& path) {
    const std::string resolved = resolvePath(path);
    if (resolved.empty()) return openMember(path);
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return File{};
    struct stat st {};
    // Only regular files are files here: a directory or a device opens on
    // POSIX but is not something a reader can take whole.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return File{};
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    auto* impl = new FileImpl;
    impl->fd = fd;
    return File{impl};
}

}  // namespace

File::File(File&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        closeFile(*this);
        impl_ = std::exchange(other.impl_, nullptr);
    }
    return *this;
}

File::~File() { closeFile(*this); }

FileImpl* File::release() { return std::exchange(impl_, nullptr); }

File openForReading(const char* path) {
    if (detail::shouldFail(Step::Open) || path == nullptr) return File{};
    return openAt(path);
}

std::uint32_t fileSize(const File& file) {
    if (detail::shouldFail(Step::Size) || !file.valid()) return kInvalidFileSize;
    if (file.impl()->fd < 0) return file.impl()->statedSize;
    struct stat st {};
    if (::fstat(file.impl()->fd, &st) != 0 || st.st_size < 0 ||
        static_cast<unsigned long long>(st.st_size) >= kInvalidFileSize)
        return kInvalidFileSize;
    return static_cast<std::uint32_t>(st.st_size);
}

std::uint32_t readFile(const File& file, void* dest, std::uint32_t n) {
    const bool fail = detail::shouldFail(Step::Read);
    if (!file.valid() || (dest == nullptr && n != 0)) return 0;
    std::uint32_t want = n;
    if (fail) {
        const std::uint32_t cut = detail::shortReadBytes();
        want = cut < n ? cut : (n == 0 ? 0 : n - 1);
        if (n == 0) return 0;
    }
    // One logical read: keep reading until the request is met, end of file
    // or an error, as the platform's single read call does for a disk file.
    std::uint32_t got = 0;
    auto* out = static_cast<unsigned char*>(dest);
    if (FileImpl* impl = file.impl(); impl->fd < 0) {
        const std::size_t left = impl->data.size() - std::min(impl->position, impl->data.size());
        got = static_cast<std::uint32_t>(std::min<std::size_t>(want, left));
        if (got != 0) std::memcpy(out, impl->data.data() + impl->position, got);
        impl->position += got;
        return got;
    }
    while (got < want) {
        const ssize_t r = ::read(file.impl()->fd, out + got, want - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::uint32_t>(r);
    }
    return got;
}

void closeFile(File& file) {
    if (FileImpl* impl = file.release()) {
        if (impl->fd >= 0) ::close(impl->fd);
        delete impl;
    }
}

}  // namespace sys
