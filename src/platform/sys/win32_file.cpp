// The file system on Windows (native.h), through the wide-character calls
// so that any name opens: GetFileAttributesExW, FindFirstFileW, and disk
// files read with CreateFileW, GetFileSizeEx, ReadFile and CloseHandle. The
// file system ignores case and takes both separators, so paths go to the
// system as given.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>

#include "platform/sys/native.h"
#include "platform/sys/output_file.h"
#include "platform/sys/win32_text.h"

namespace sys {

namespace win32 {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating zero
    return out;
}

}  // namespace win32

namespace native {

namespace {

HANDLE handleOf(Handle h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

Status status(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(win32::wide(path).c_str(), GetFileExInfoStandard, &data)) return {};
    Status out;
    const DWORD a = data.dwFileAttributes;
    out.kind = (a & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Directory
               : (a & FILE_ATTRIBUTE_DEVICE) != 0  ? Kind::Other
                                                   : Kind::File;
    out.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    out.modified = static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                             data.ftLastWriteTime.dwLowDateTime);
    return out;
}

bool listDirectory(const std::string& dir, std::vector<std::string>& names) {
    std::string pattern = dir.empty() ? std::string(".") : dir;
    if (pattern.back() != '/' && pattern.back() != '\\') pattern += '/';
    WIN32_FIND_DATAW entry{};
    const HANDLE find = ::FindFirstFileW(win32::wide(pattern + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        const std::string name = win32::utf8(entry.cFileName);
        if (!name.empty() && name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return true;
}

std::string diskIdentity(const std::string& path) {
    // No access asked for: enough to read the file's volume and index.
    const HANDLE h = ::CreateFileW(win32::wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return "file " + std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}

Handle openDisk(const std::string& path) {
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS, so only
    // files come back.
    const HANDLE h = ::CreateFileW(win32::wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kNoHandle;
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return kNoHandle;
    }
    return reinterpret_cast<Handle>(h);
}

bool diskSize(Handle handle, std::uint64_t& size) {
    LARGE_INTEGER n{};
    if (!::GetFileSizeEx(handleOf(handle), &n) || n.QuadPart < 0) return false;
    size = static_cast<std::uint64_t>(n.QuadPart);
    return true;
}

std::uint32_t readDisk(Handle handle, void* dest, std::uint32_t n) {
    auto* out = static_cast<unsigned char*>(dest);
    std::uint32_t got = 0;
    while (got < n) {
        DWORD r = 0;
        if (!::ReadFile(handleOf(handle), out + got, n - got, &r, nullptr) || r == 0) break;
        got += r;
    }
    return got;
}

void closeDisk(Handle handle) { ::CloseHandle(handleOf(handle)); }

}  // namespace native

std::FILE* openForWriting(const std::string& path) { return ::_wfopen(win32::wide(path).c_str(), L"wb"); }

}  // namespace sys
