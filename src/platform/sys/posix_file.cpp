// The file system on POSIX (native.h): stat, directory listing, and disk
// files read with open, fstat, read and close. Names are bytes; the
// programs' UTF-8 goes through as it is.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sys/native.h"
#include "platform/sys/output_file.h"

namespace sys {
namespace native {

Status status(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    Status out;
    out.kind = S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Directory : Kind::Other;
    out.size = st.st_size < 0 ? 0 : static_cast<std::uint64_t>(st.st_size);
    out.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return out;
}

bool listDirectory(const std::string& dir, std::vector<std::string>& names) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return false;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
    return true;
}

std::string diskIdentity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return "file " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

Handle openDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kNoHandle;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return kNoHandle;
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return fd;
}

bool diskSize(Handle handle, std::uint64_t& size) {
    struct stat st {};
    if (::fstat(static_cast<int>(handle), &st) != 0 || st.st_size < 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

std::uint32_t readDisk(Handle handle, void* dest, std::uint32_t n) {
    auto* out = static_cast<unsigned char*>(dest);
    std::uint32_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(static_cast<int>(handle), out + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::uint32_t>(r);
    }
    return got;
}

void closeDisk(Handle handle) { ::close(static_cast<int>(handle)); }

}  // namespace native

std::FILE* openForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

}  // namespace sys
