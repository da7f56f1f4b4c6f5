// Whole-file reading on Windows: CreateFileA, GetFileSize, ReadFile and
// CloseHandle, one call per step. The file system ignores case and accepts
// both separators, so the path goes to CreateFileA as given.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <utility>

#include "platform/sys/fault_gate.h"
#include "platform/sys/sys.h"

namespace sys {

struct FileImpl {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

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

std::string fileIdentity(const char* path) {
    if (path == nullptr) return {};
    // No access asked for: enough to read the file's volume and index.
    const HANDLE h = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return "file " + std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}

File openForReading(const char* path) {
    if (detail::shouldFail(Step::Open) || path == nullptr) return File{};
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS, so only
    // files come back.
    const HANDLE h = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return File{};
    auto* impl = new FileImpl;
    impl->handle = h;
    return File{impl};
}

std::uint32_t fileSize(const File& file) {
    if (detail::shouldFail(Step::Size) || !file.valid()) return kInvalidFileSize;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file.impl()->handle, &high);
    // 0xFFFFFFFF is both the failure value and a size no reader accepts.
    if (low == INVALID_FILE_SIZE || high != 0) return kInvalidFileSize;
    return low;
}

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
    DWORD got = 0;
    if (!::ReadFile(file.impl()->handle, dest, want, &got, nullptr)) return 0;
    return got;
}

void closeFile(File& file) {
    if (FileImpl* impl = file.release()) {
        ::CloseHandle(impl->handle);
        delete impl;
    }
}

}  // namespace sys
