// Whole-file reading on POSIX: open, size, read in one call, close. A path
// that is not on disk may name a member of a .pk3 archive (archive_lookup.h);
// such a member is inflated as it is read, straight into the caller's memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/sys/archive_lookup.h"
#include "platform/sys/archive_member.h"
#include "platform/sys/fault_gate.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace sys {

// Either a disk file (fd) or an archive member; a member its archive
// refuses (archive_member.h) opens, but has no size and reads nothing.
struct FileImpl {
    int fd = -1;
    std::unique_ptr<archive::MemberReader> member;
    bool refused = false;
};

namespace {

// Where a path leads before the second root: a regular file on disk, an
// archive member, or nothing. A directory or a device is nothing: it is not
// something a reader can take whole.
struct Place {
    std::string disk;  // the resolved path of a disk file
    archive::MemberRef member;
    bool found() const { return !disk.empty() || member.archive != nullptr; }
};

Place placeOf(const std::string& path) {
    Place place;
    const std::string resolved = resolvePath(path);
    if (resolved.empty()) {
        archive::findMember(path, place.member);
        return place;
    }
    struct stat st {};
    if (::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode)) place.disk = resolved;
    return place;
}

// A disk file, else an archive member.
File openAt(const std::string& path) {
    Place place = placeOf(path);
    if (place.member.archive) {
        auto* impl = new FileImpl;
        impl->member = std::make_unique<archive::MemberReader>();
        impl->refused = !impl->member->open(std::move(place.member.archive), place.member.index);
        return File{impl};
    }
    if (place.disk.empty()) return File{};
    const int fd = ::open(place.disk.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return File{};
    struct stat st {};
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

std::string identityAt(const std::string& path) {
    const Place place = placeOf(path);
    if (const auto& archive = place.member.archive) {
        const std::string in = archive->path().empty() ? std::to_string(reinterpret_cast<std::uintptr_t>(archive.get()))
                                                       : archive->path();
        return "member " + std::to_string(place.member.index) + " of " + in;
    }
    struct stat st {};
    if (place.disk.empty() || ::stat(place.disk.c_str(), &st) != 0) return {};
    return "file " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
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

std::string fileIdentity(const char* path) { return path == nullptr ? std::string{} : identityAt(path); }

File openForReading(const char* path) {
    if (detail::shouldFail(Step::Open) || path == nullptr) return File{};
    return openAt(path);
}

std::uint32_t fileSize(const File& file) {
    if (detail::shouldFail(Step::Size) || !file.valid()) return kInvalidFileSize;
    if (const FileImpl* impl = file.impl(); impl->fd < 0)
        return impl->refused ? kInvalidFileSize : impl->member->statedSize();
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
    if (FileImpl* impl = file.impl(); impl->fd < 0) return impl->refused ? 0 : impl->member->read(out, want);
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
