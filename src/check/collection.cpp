#include "check/collection.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "check/files.h"
#include "platform/sys/path.h"
#include "platform/sys/archive_index.h"
#include "platform/sys/archive_member.h"
#include "skin/names.h"

namespace check {

namespace {

bool endsWith(const std::string& lowered, const char* tail) {
    const std::string t = tail;
    return lowered.size() >= t.size() && lowered.compare(lowered.size() - t.size(), t.size(), t) == 0;
}

// The files a check reads: models (told apart by their first bytes when
// checked), skins and animation configs.
bool wanted(const std::string& name) {
    const std::string low = skin::lowered(name.c_str());
    for (const char* ext : {".mds", ".mdc", ".md3", ".mdm", ".mdx", ".skin"})
        if (endsWith(low, ext)) return true;
    return low == "wolfanim.cfg" || endsWith(low, "/wolfanim.cfg");
}

bool isArchive(const std::string& path) { return endsWith(skin::lowered(path.c_str()), ".pk3"); }

void checkArchive(const std::string& path, const Options& options, Report& report) {
    const auto archive = sys::archive::archiveAt(path);
    if (!archive) {
        report.beginFile(path);
        report.add(Id::Unreadable, "file", -1, "the archive cannot be read as a zip file");
        return;
    }
    std::vector<std::string> members;
    for (const auto& [key, index] : archive->members())
        if (wanted(key)) members.push_back(key);
    std::sort(members.begin(), members.end());
    for (const auto& m : members) {
        const auto why = sys::archive::refusal(*archive, archive->members().at(m));
        if (why == sys::archive::Refusal::None) {
            checkPath(path + ":" + m, options, report);
            continue;
        }
        report.beginFile(path + ":" + m);
        report.add(Id::Unreadable, "file", -1,
                   std::string("the archive member is not read: ") + sys::archive::refusalText(why));
    }
}

// A folder holding models/ or .pk3 archives is a game folder: the skins
// and models below it name their textures and attachments by game paths,
// which the game looks for below that folder.
bool isGameFolder(const std::string& root) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(sys::fsPath(root), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = skin::lowered(sys::utf8Path(it->path().filename()).c_str());
        if (name == "models" && it->is_directory(ec)) return true;
        if (isArchive(name) && it->is_regular_file(ec)) return true;
    }
    return false;
}

}  // namespace

bool isCollection(const std::string& path) {
    if (isArchive(path)) return locate(path).found();
    return isDirectory(path) && !locate(joinPath(path, "body.mds")).found();
}

void checkCollection(const std::string& path, const Options& options, Report& report) {
    if (!isDirectory(path)) {
        checkArchive(locate(path).path, options, report);
        return;
    }
    // Files in a fixed order (folders first, then names), archives after the
    // loose files of their folder.
    std::vector<std::string> files, archives;
    std::error_code ec;
    const std::string root = sys::resolvePath(path);
    Options own = options;
    if (own.gameDir.empty() && isGameFolder(root)) own.gameDir = path;
    for (std::filesystem::recursive_directory_iterator it(sys::fsPath(root), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string p = sys::genericUtf8Path(it->path());
        if (isArchive(p))
            archives.push_back(p);
        else if (wanted(p))
            files.push_back(p);
    }
    std::sort(files.begin(), files.end());
    std::sort(archives.begin(), archives.end());
    for (const auto& f : files) checkPath(f, own, report);
    for (const auto& a : archives) checkArchive(a, own, report);
}

}  // namespace check
