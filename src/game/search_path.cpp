#include "game/search_path.h"

#include <filesystem>

#include "game/game_path.h"
#include "platform/sys/archive_index.h"
#include "platform/sys/archive_lookup.h"
#include "platform/sys/path.h"

namespace game {

namespace {

bool isKind(const std::string& path, std::filesystem::file_type kind) {
    std::error_code ec;
    return !path.empty() && std::filesystem::status(sys::fsPath(path), ec).type() == kind;
}

std::string join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The absolute, lexically normal form of an existing path, for comparing
// folders with files below them.
std::string absoluteOf(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().generic_string();
}

}  // namespace

std::string Source::describe() const { return (kind == Kind::Folder ? "folder " : "archive ") + path; }

bool SearchPath::addFolder(const std::string& folder, std::string& why) {
    const std::string resolved = sys::resolvePath(folder);
    if (!isKind(resolved, std::filesystem::file_type::directory)) {
        why = folder + " is not a folder";
        return false;
    }
    sources_.push_back(Source{Source::Kind::Folder, resolved, nullptr});
    for (const std::string& name : sys::archive::archiveNames(resolved)) {
        const std::string path = join(resolved, name);
        if (auto archive = sys::archive::archiveAt(path)) {
            sources_.push_back(Source{Source::Kind::Archive, path, std::move(archive)});
        } else {
            unreadable_.push_back(path);
        }
    }
    return true;
}

bool SearchPath::addArchive(const std::string& archive, std::string& why) {
    const std::string resolved = sys::resolvePath(archive);
    auto opened = isKind(resolved, std::filesystem::file_type::regular) ? sys::archive::archiveAt(resolved) : nullptr;
    if (!opened) {
        why = archive + " is not a readable .pk3 archive";
        return false;
    }
    sources_.push_back(Source{Source::Kind::Archive, resolved, std::move(opened)});
    return true;
}

bool SearchPath::add(const std::string& path, std::string& why) {
    const std::string resolved = sys::resolvePath(path);
    if (sys::archive::isArchiveName(path) && !isKind(resolved, std::filesystem::file_type::directory)) return addArchive(path, why);
    return addFolder(path, why);
}

bool SearchPath::holds(const Source& source, const std::string& key, std::string* path) const {
    if (source.kind == Source::Kind::Archive) {
        if (source.archive->find(key) < 0) return false;
        if (path) *path = source.path + ":" + key;
        return true;
    }
    const std::string resolved = sys::resolvePath(join(source.path, key));
    if (!isKind(resolved, std::filesystem::file_type::regular)) return false;
    if (path) *path = resolved;
    return true;
}

Located SearchPath::find(std::string_view gamePath) const {
    Located at;
    const std::string key = gamePathKey(gamePath);
    if (key.empty()) return at;
    for (auto i = static_cast<int>(sources_.size()) - 1; i >= 0; --i) {
        const Source& source = sources_[static_cast<std::size_t>(i)];
        if (!at.found()) {
            if (holds(source, key, &at.path)) at.source = i;
        } else if (holds(source, key, nullptr)) {
            at.overridden.push_back(i);
        }
    }
    return at;
}

Located SearchPath::locate(const std::string& path, std::string* gamePath) const {
    if (Located at = path.empty() || path[0] == '/' ? Located{} : find(path); at.found()) {
        if (gamePath) *gamePath = gamePathKey(path);
        return at;
    }
    const std::string resolved = sys::resolvePath(path);
    if (isKind(resolved, std::filesystem::file_type::regular)) {
        const std::string file = absoluteOf(resolved);
        for (auto source = sources_.rbegin(); source != sources_.rend(); ++source) {
            if (source->kind != Source::Kind::Folder) continue;
            const std::string folder = join(absoluteOf(source->path), "");
            if (file.compare(0, folder.size(), folder) != 0) continue;
            const std::string key = gamePathKey(std::string_view(file).substr(folder.size()));
            if (Located at = find(key); at.found()) {
                if (gamePath) *gamePath = key;
                return at;
            }
        }
        return Located{resolved, -1, {}};
    }
    sys::archive::MemberRef member;
    if (resolved.empty() && sys::archive::findMember(path, member)) return Located{sys::normalizeSeparators(path), -1, {}};
    return {};
}

}  // namespace game
