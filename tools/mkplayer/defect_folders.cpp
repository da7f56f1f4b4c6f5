#include "mkplayer/defect_folders.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "mkplayer/player.h"
#include "modelgen/bytes.h"
#include "platform/sys/path.h"

namespace mp {

namespace {

namespace fs = std::filesystem;

bool removeFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(sys::fsPath(path), ec);
}

bool moveFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::create_directories(sys::fsPath(to).parent_path(), ec);
    fs::rename(sys::fsPath(from), sys::fsPath(to), ec);
    return !ec;
}

std::string readText(const std::string& path) {
    std::ifstream in(sys::fsPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Replaces the first `from` in the file by `to`.
bool edit(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = readText(path);
    const std::size_t at = text.find(from);
    if (at == std::string::npos) return false;
    text.replace(at, from.size(), to);
    return mg::writeFile(path, text);
}

bool append(const std::string& path, const std::string& lines) { return mg::writeFile(path, readText(path) + lines); }

// A version 1 config as the game reads it: a number ends the header, 130
// rows by position (here all inside the demo's 36 frames), head rows.
std::string versionOneConfig() {
    std::string text = "version 1\r\nskeletal\r\nsex male\r\n";
    for (int i = 0; i < 130; ++i) text += std::to_string(i % 36) + " 1 0 20 0\r\n";
    return text + "HEADFRAMES\r\nhead_idle 0 1\r\nhead_talk 0 2 0\r\n";
}

}  // namespace

std::vector<FolderDefect> folderDefects() {
    using M = const std::string&;
    return {
        {"clean", "the demo player as written", [](M, M) { return true; }, false, "", "", "", "", false, ""},
        {"texture-missing", "legs.jpg removed", [](M m, M) { return removeFile(m + "/legs.jpg"); }, false,
         "missing-texture", "error", "body_default.skin", "line 1 \"legs\"", true, "legs.jpg"},
        {"texture-other-case", "legs.jpg renamed LEGS.JPG (the programs ignore case)",
         [](M m, M) { return moveFile(m + "/legs.jpg", m + "/LEGS.JPG"); }, false, "", "", "", "", false, ""},
        {"texture-in-game-dir", "legs.jpg only below the game folder, under the skin's own path",
         [](M m, M g) { return moveFile(m + "/legs.jpg", g + "/models/players/infantryss/legs.jpg"); }, true,
         "only-in-game-dir", "warning", "body_default.skin", "line 1 \"legs\"", false, ""},
        {"attachment-in-game-dir", "the back pack only below the game folder",
         [](M m, M g) { return moveFile(m + "/acc/pack.mdc", g + "/models/players/infantryss/acc/pack.mdc"); }, true,
         "only-in-game-dir", "warning", "body_default.skin", "line 7 \"md3_back\"", false, ""},
        {"value-after-blank", "a blank after the comma, the texture below the game folder",
         [](M m, M g) {
             return edit(m + "/body_default.skin", "legs,\"models/players/infantryss/legs.tga\"",
                         "legs, models/players/common/legs.tga") &&
                    moveFile(m + "/legs.jpg", g + "/models/players/common/legs.jpg");
         },
         true, "only-in-game-dir", "warning", "body_default.skin", "line 1 \"legs\"", false, ""},
        {"value-after-blank-viewer-misses", "a blank after the comma: the viewer keeps it and misses the texture",
         [](M m, M) {
             return edit(m + "/body_default.skin", "legs,\"models/players/infantryss/legs.tga\"",
                         "legs, common/legs.tga") &&
                    moveFile(m + "/legs.jpg", m + "/common/legs.jpg");
         },
         false, "missing-texture", "warning", "body_default.skin", "line 1 \"legs\"", true, "common/legs.jpg"},
        {"hat-without-skin", "acc/hat.skin removed: the hat is drawn from acc/hat.mdc with its shader",
         [](M m, M) { return removeFile(m + "/acc/hat.skin"); }, false, "missing-file", "warning",
         "head_default.skin", "line 3 \"md3_hat\"", true, "acc/hat.skin ('md3_hat' in"},
        {"attachment-missing", "acc/pack.mdc removed", [](M m, M) { return removeFile(m + "/acc/pack.mdc"); }, false,
         "missing-attachment", "error", "body_default.skin", "line 7 \"md3_back\"", true, "acc/pack.mdc"},
        {"head-missing", "head.mdc removed", [](M m, M) { return removeFile(m + "/head.mdc"); }, false,
         "missing-attachment", "error", "head_default.skin", "line 2 \"md3_part\"", true, "head.mdc"},
        {"surface-without-entry", "the hands line removed from the body skin",
         [](M m, M) { return edit(m + "/body_default.skin", "hands,\"models/players/infantryss/hands.tga\"\r\n", ""); },
         false, "no-skin-entry", "warning", "body_default.skin", "surface \"hands\"", true, "body_default.skin"},
        {"shader-texture-missing", "acc/belt.jpg removed (the belts' shader texture)",
         [](M m, M) { return removeFile(m + "/acc/belt.jpg"); }, false, "missing-texture", "error", "acc/beltl.mdc",
         "surface 0 ", true, "acc/belt.jpg"},
        {"default-skin-missing", "body_default.skin renamed body_red.skin",
         [](M m, M) { return moveFile(m + "/body_default.skin", m + "/body_red.skin"); }, false, "missing-file",
         "warning", "", "folder", true, "body_default.skin"},
        {"game-accessory-keys", "md3_belt, md3_weapon, md3_weapon2 and md3_rank, md3_hat2 name existing models",
         [](M m, M) {
             const std::string acc = "models/players/infantryss/acc/";
             return append(m + "/body_default.skin", "md3_belt," + acc + "beltl.mdc\r\nmd3_weapon," + acc +
                                                         "beltr.mdc\r\nmd3_weapon2," + acc + "pack.mdc\r\n") &&
                    append(m + "/head_default.skin", "md3_rank," + acc + "hat.mdc\r\nmd3_hat2," + acc + "hat.mdc\r\n");
         },
         false, "", "", "", "", false, ""},
        {"game-accessory-missing", "md3_weapon names a model that does not exist (the viewer never loads it)",
         [](M m, M) { return append(m + "/body_default.skin", "md3_weapon,models/weapons2/mp40/mp40.md3\r\n"); },
         false, "missing-attachment", "error", "body_default.skin", "line 8 \"md3_weapon\"", false, ""},
        {"config-version-1", "wolfanim.cfg in the game's version 1 layout",
         [](M m, M) { return mg::writeFile(m + "/wolfanim.cfg", versionOneConfig()); }, false, "", "", "", "", false,
         ""},
        {"config-not-skeletal", "wolfanim.cfg without SKELETAL beside an MDS body",
         [](M m, M) { return edit(m + "/wolfanim.cfg", "skeletal\n", ""); }, false, "animation-config", "error",
         "wolfanim.cfg", "header", false, ""},
        {"config-zero-frames", "an animation of no frames",
         [](M m, M) { return edit(m + "/wolfanim.cfg", "ENDANIMS\n", "still 0 0 0 20 0\nENDANIMS\n"); }, false,
         "animation-range", "warning", "wolfanim.cfg", "line 12 'still'", false, ""},
    };
}

bool writeFolderDefect(const std::string& base, const FolderDefect& d, std::string& error) {
    const std::string root = base + "/" + d.name;
    std::error_code ec;
    fs::remove_all(sys::fsPath(root), ec);
    const WriteResult written = writePlayer(root);
    if (!written.ok) {
        error = written.error;
        return false;
    }
    if (!d.change(root + "/" + kModelFolder, root + "/game")) {
        error = "cannot change " + root + " (" + d.what + ")";
        return false;
    }
    return true;
}

}  // namespace mp
