#include "check/files.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/sys/archive_lookup.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace check {

Located locate(const std::string& path) {
    const std::string resolved = sys::resolvePath(path);
    if (!resolved.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(resolved, ec)) return {};
        return {resolved == sys::normalizeSeparators(path) ? FoundAt::Exact : FoundAt::OtherCase, resolved};
    }
#ifndef _WIN32
    sys::archive::MemberRef ref;
    if (sys::archive::findMember(path, ref)) return {FoundAt::Archive, sys::normalizeSeparators(path)};
#endif
    return {};
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/' || dir.back() == '\\') return dir + name;
    return dir + "/" + name;
}

bool isDirectory(const std::string& path) {
    const std::string resolved = sys::resolvePath(path);
    std::error_code ec;
    return !resolved.empty() && std::filesystem::is_directory(resolved, ec);
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    const std::string resolved = sys::resolvePath(dir);
    if (resolved.empty()) return names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(resolved, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::vector<std::uint8_t>> readWhole(const std::string& path, std::string& error) {
    sys::File file = sys::openForReading(path.c_str());
    if (!file.valid()) {
        error = "the file does not exist or cannot be opened";
        return std::nullopt;
    }
    const std::uint32_t size = sys::fileSize(file);
    if (size == sys::kInvalidFileSize) {
        error = "the file's size cannot be taken";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        error = "no memory for the file's bytes";
        return std::nullopt;
    }
    if (size > 0 && sys::readFile(file, bytes.data(), size) != size) {
        error = "the file could not be read whole";
        return std::nullopt;
    }
    sys::closeFile(file);
    return bytes;
}

}  // namespace check
