#include "check/paths.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "check/files.h"
#include "formats/identify.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"
#include "skin/names.h"

namespace check {

namespace {

bool endsWith(const std::string& lowered, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return lowered.size() >= n && lowered.compare(lowered.size() - n, n, tail) == 0;
}

std::string lastComponent(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first four bytes, or fewer for a shorter file.
std::string magicOf(const std::string& path) {
    sys::File file = sys::openForReading(path.c_str());
    if (!file.valid()) return {};
    char head[4] = {};
    const std::uint32_t size = sys::fileSize(file);
    const std::uint32_t want = size == sys::kInvalidFileSize ? 0 : (size < 4 ? size : 4);
    const std::uint32_t got = want > 0 ? sys::readFile(file, head, want) : 0;
    return std::string(head, got);
}

// What a file that is no model is, when it is an archive.
std::string otherFormat(const std::string& magic) {
    if (magic == std::string("PK\x03\x04", 4))
        return "a .pk3 (zip) archive; a player folder inside it is checked as the archive's folder followed by the "
               "folder's path in the archive";
    return {};
}

std::string shownMagic(const std::string& magic) {
    std::string out;
    for (const char ch : magic) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            static const char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

Target classifyFound(const std::string& path) {
    const std::string magic = magicOf(path);
    const std::string name = skin::lowered(lastComponent(path).c_str());
    const formats::Format format =
        formats::identify(formats::ByteView(reinterpret_cast<const std::uint8_t*>(magic.data()), magic.size())).format;
    switch (format) {
    case formats::Format::Mds: return {Kind::Mds, path, {}};
    case formats::Format::Mdc: return {Kind::Mdc, path, {}};
    case formats::Format::Md3: return {Kind::Md3, path, {}};
    case formats::Format::Mdm: return {Kind::Mdm, path, {}};
    case formats::Format::Mdx: return {Kind::Mdx, path, {}};
    case formats::Format::Unknown: break;
    }
    if (endsWith(name, ".skin")) return {Kind::Skin, path, {}};
    if (name == "wolfanim.cfg") return {Kind::AnimConfig, path, {}};
    // A model file by its name whose bytes say otherwise: the model check
    // names what is wrong with its header.
    const std::string other = otherFormat(magic);
    if (other.empty() && endsWith(name, ".mds")) return {Kind::Mds, path, {}};
    if (other.empty() && endsWith(name, ".mdc")) return {Kind::Mdc, path, {}};
    return {Kind::Unsupported, path,
            "the format is not supported: " + (other.empty() ? std::string("not a model, skin or wolfanim.cfg") : other) +
                " (the file starts with \"" + shownMagic(magic) +
                "\"); korvane-check reads model files (MDS, MDC, MD3, MDM, MDX), .skin and wolfanim.cfg files and "
                "player folders"};
}

Target classifyAt(const std::string& path) {
    if (path.empty()) return {};
    if (locate(path).found()) return classifyFound(path);
    if (isDirectory(path) || locate(joinPath(path, "body.mds")).found()) return {Kind::Folder, path, {}};
    return {};
}

}  // namespace

Target classify(const std::string& typed, const std::string& gameDir) {
    Target target = classifyAt(typed);
    if (target.kind == Kind::Missing && !gameDir.empty()) target = classifyAt(joinPath(gameDir, typed));
    if (target.kind == Kind::Missing) target.path = typed;
    return target;
}

std::string folderName(const std::string& dir) {
    const std::string resolved = sys::resolvePath(dir);
    std::error_code ec;
    std::filesystem::path p = sys::fsPath(sys::normalizeSeparators(resolved.empty() ? dir : resolved));
    const std::filesystem::path absolute = std::filesystem::absolute(p, ec);
    if (!ec) p = absolute;
    std::string name = sys::genericUtf8Path(p.lexically_normal());
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    return lastComponent(name);
}

std::string fileNameOf(const std::string& path) { return lastComponent(path); }

std::string parentOf(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
    const auto slash = p.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? p.substr(0, 1) : p.substr(0, slash);
}

}  // namespace check
