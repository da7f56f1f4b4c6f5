#include "game/game_path.h"

#include "platform/sys/archive.h"

namespace game {

std::string gamePathKey(std::string_view path) {
    if (path.find("..") != std::string_view::npos || path.find("::") != std::string_view::npos) return {};
    if (!path.empty() && (path.front() == '/' || path.front() == '\\')) path.remove_prefix(1);
    return sys::archive::memberKey(path);
}

std::string stripExtension(std::string_view path) { return std::string(path.substr(0, path.find('.'))); }

std::string folderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

}  // namespace game
