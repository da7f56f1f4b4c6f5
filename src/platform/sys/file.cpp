// Whole-file reading in steps, on every system: a path that is not on disk
// may name a member of a .pk3 archive (archive_lookup.h); such a member is
// inflated as it is read, straight into the caller's memory. Disk files are
// the system's own (native.h).
#include <atomic>
#include <memory>
#include <utility>

#include "platform/sys/archive_lookup.h"
#include "platform/sys/archive_member.h"
#include "platform/sys/fault_gate.h"
#include "platform/sys/native.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace sys {

// Either a disk file or an archive member; a member its archive refuses
// (archive_member.h) opens, but has no size and reads nothing.
struct FileImpl {
    native::Handle disk = native::kNoHandle;
    std::unique_ptr<archive::MemberReader> member;
    bool refused = false;
};

namespace {

// Where a path leads: a regular file on disk, an archive member, or
// nothing. A directory or a device is nothing: it is not something a reader
// can take whole.
struct Place {
    std::string disk;  // the resolved path of a disk file
    archive::MemberRef member;
};

Place placeOf(const std::string& path) {
    Place place;
    const std::string resolved = resolvePath(path);
    if (resolved.empty()) {
        archive::findMember(path, place.member);
        return place;
    }
    if (native::status(resolved).kind == native::Kind::File) place.disk = resolved;
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
    const native::Handle disk = native::openDisk(place.disk);
    if (disk == native::kNoHandle) return File{};
    auto* impl = new FileImpl;
    impl->disk = disk;
    return File{impl};
}

std::string identityAt(const std::string& path) {
    const Place place = placeOf(path);
    if (const auto& archive = place.member.archive) {
        const std::string in = archive->path().empty() ? std::to_string(reinterpret_cast<std::uintptr_t>(archive.get()))
                                                       : archive->path();
        return "member " + std::to_string(place.member.index) + " of " + in;
    }
    return place.disk.empty() ? std::string{} : native::diskIdentity(place.disk);
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
    const FileImpl* impl = file.impl();
    if (impl->disk == native::kNoHandle) return impl->refused ? kInvalidFileSize : impl->member->statedSize();
    std::uint64_t size = 0;
    if (!native::diskSize(impl->disk, size) || size >= kInvalidFileSize) return kInvalidFileSize;
    return static_cast<std::uint32_t>(size);
}

namespace {
std::atomic<std::uint64_t> gBytesRead{0};
}  // namespace

std::uint64_t bytesRead() { return gBytesRead.load(std::memory_order_relaxed); }

std::uint32_t readFile(const File& file, void* dest, std::uint32_t n) {
    const bool fail = detail::shouldFail(Step::Read);
    if (!file.valid() || (dest == nullptr && n != 0)) return 0;
    std::uint32_t want = n;
    if (fail) {
        if (n == 0) return 0;
        const std::uint32_t cut = detail::shortReadBytes();
        want = cut < n ? cut : n - 1;
    }
    if (want == 0) return 0;
    // One logical read: the whole request, up to the end of the file or an
    // error, as the platform's single read call does for a disk file.
    FileImpl* impl = file.impl();
    std::uint32_t got = 0;
    if (impl->disk == native::kNoHandle)
        got = impl->refused ? 0 : impl->member->read(dest, want);
    else
        got = native::readDisk(impl->disk, dest, want);
    gBytesRead.fetch_add(got, std::memory_order_relaxed);
    return got;
}

void closeFile(File& file) {
    if (FileImpl* impl = file.release()) {
        if (impl->disk != native::kNoHandle) native::closeDisk(impl->disk);
        delete impl;
    }
}

}  // namespace sys
