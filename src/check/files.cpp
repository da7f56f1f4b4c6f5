#include "check/files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/sys/archive_lookup.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace check {

Located locate(const std::string& path) {
    const std::string resolved = sys::resolvePath(path);
    if (!resolved.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(sys::fsPath(resolved), ec)) return {};
        return {resolved == sys::normalizeSeparators(path) ? FoundAt::Exact : FoundAt::OtherCase, resolved};
    }
    sys::archive::MemberRef ref;
    if (sys::archive::findMember(path, ref)) return {FoundAt::Archive, sys::normalizeSeparators(path)};
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
    return !resolved.empty() && std::filesystem::is_directory(sys::fsPath(resolved), ec);
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    const std::string resolved = sys::resolvePath(dir);
    if (resolved.empty()) return names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(sys::fsPath(resolved), ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(sys::utf8Path(it->path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<sys::Block> readWhole(const std::string& path, std::string& error) {
    sys::WholeFile file = sys::readWholeFile(path.c_str());
    switch (file.failed) {
    case sys::ReadStep::Done: return std::move(file.bytes);
    case sys::ReadStep::Open: error = "the file does not exist or cannot be opened"; break;
    case sys::ReadStep::Size:
    case sys::ReadStep::TooLarge: error = "the file's size cannot be taken"; break;
    case sys::ReadStep::Memory:
        if (file.size == 0) return sys::Block();
        error = "no memory for the file's bytes";
        break;
    case sys::ReadStep::Read: error = "the file could not be read whole"; break;
    }
    return std::nullopt;
}

}  // namespace check
