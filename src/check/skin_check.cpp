#include "check/skin_check.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "check/model_check.h"
#include "formats/byte_view.h"
#include "skin/names.h"

namespace check {

namespace {

using skin::Entry;

// Accessory keys the game knows: those the viewer loads too, then the
// game's others (formats-family section 4).
constexpr const char* kBodyKeys[] = {"md3_beltl", "md3_beltr", "md3_back"};
constexpr const char* kBodyGameKeys[] = {"md3_belt", "md3_weapon", "md3_weapon2"};
constexpr const char* kHeadKeys[] = {"md3_part", "md3_hat"};
constexpr const char* kHeadGameKeys[] = {"md3_rank", "md3_hat2", "md3_hat3"};

template <std::size_t N>
bool oneOf(const std::string& key, const char* const (&keys)[N]) {
    return std::any_of(std::begin(keys), std::end(keys), [&](const char* k) { return key == k; });
}

std::string entryWhere(const Entry& e) { return strf("line %u ", e.line) + quoted(e.key); }

const char* kGameDirHint = " (give --game-dir to look in the game folder too)";

// The game's entry of a line the viewer takes, asked in line order (the
// viewer keeps blanks around a value, so it may have an entry where the
// game has none, never the reverse).
class LineCursor {
public:
    explicit LineCursor(const std::vector<Entry>& entries) : entries_(entries) {}
    const Entry* at(std::uint32_t line) {
        while (next_ < entries_.size() && entries_[next_].line < line) ++next_;
        return next_ < entries_.size() && entries_[next_].line == line ? &entries_[next_] : nullptr;
    }

private:
    const std::vector<Entry>& entries_;
    std::size_t next_ = 0;
};

// Reports, once the game's name was found, a viewer that keeps the blanks
// around the value and so looks for a file that is not there.
void viewerMisses(FolderContext& ctx, Id id, const std::string& list, const std::string& viewerName,
                  const std::string& name, const std::vector<std::string>& extensions, const std::string& where,
                  long long offset) {
    if (viewerName == name) return;
    for (const std::string& ext : extensions)
        if (ctx.find(joinPath(ctx.dir, viewerName + ext)).found()) return;
    // A warning, not the id's usual error: the game finds the file. Capped
    // here, as the report caps only findings of their usual severity.
    if (++ctx.blankWarnings > Report::kPerList) {
        if (ctx.blankWarnings == Report::kPerList + 1)
            ctx.report.add(Id::More, list, -1, "... and more values whose blanks the viewer keeps");
        return;
    }
    ctx.report.add(id, Severity::Warning, where, offset,
                   "the viewer keeps the blanks around the value and looks for \"" + viewerName +
                       "\" below the model's folder, which does not exist; the game skips them and finds \"" + name +
                       "\"");
}

void missingAttachment(FolderContext& ctx, const std::string& what, const std::string& name,
                       const std::string& gamePath, const char* extension, const std::string& where, long long offset) {
    const std::string game =
        ctx.options.gameDir.empty() ? std::string() : joinPath(ctx.options.gameDir, gamePath + extension);
    ctx.report.addCapped(Id::MissingAttachment, "skin entries", where, offset,
                         what + " " + joinPath(ctx.dir, name + extension) + " does not exist" +
                             (game.empty() ? std::string(kGameDirHint) : ", nor " + game));
}

// An accessory that a skin names: the viewer loads it as an MDC file below
// the model's folder; the game also takes it from the game folder, and the
// keys only the game knows also as an MD3 file (not read here).
void checkAccessory(FolderContext& ctx, const Entry& e, const Entry* viewer, bool viewerLoads) {
    const std::string where = entryWhere(e);
    bool inGameDir = false;
    const Located model = findNamed(ctx, e.value, e.gamePath, ".mdc", inGameDir);
    if (!model.found()) {
        if (!viewerLoads && findNamed(ctx, e.value, e.gamePath, ".md3", inGameDir).found()) return;
        missingAttachment(ctx, "the attachment", e.value, e.gamePath, viewerLoads ? ".mdc" : ".mdc (or .md3)", where,
                          e.offset);
        return;
    }
    if (inGameDir && viewerLoads)
        onlyInGameDir(ctx, "the attachment " + std::string(e.value) + ".mdc", model, where, e.offset);
    if (viewerLoads && viewer && !inGameDir)
        viewerMisses(ctx, Id::MissingAttachment, "skin entries", viewer->value, e.value, {".mdc"}, where, e.offset);
    checkMdcFile(ctx, model.path, true);
}

void checkHat(FolderContext& ctx, const std::string& skinFile, const Entry& e) {
    const std::string where = entryWhere(e);
    bool skinInGameDir = false;
    const Located hatSkin = findNamed(ctx, e.value, e.gamePath, ".skin", skinInGameDir);
    if (skinInGameDir) onlyInGameDir(ctx, "the hat's skin " + std::string(e.value) + ".skin", hatSkin, where, e.offset);
    if (hatSkin.found()) {
        std::string error;
        const auto bytes = readWhole(hatSkin.path, error);
        const skin::ParsedSkin parsed(bytes ? bytes->data() : nullptr, bytes ? bytes->size() : 0,
                                      ctx.modelName.c_str(), skin::ValueBlanks::Skipped);
        const Entry* part = parsed.find("md3_part");
        if (!part) {
            ctx.report.beginFile(hatSkin.path);
            ctx.report.add(Id::MissingAttachment, "md3_part", -1,
                           "the hat's skin names no \"md3_part\"; the viewer then shows no hat");
            return;
        }
        // The viewer's own place for a hat with a skin: the acc folder.
        const std::string model = joinPath(ctx.dir, std::string("acc/") + part->value + ".mdc");
        if (!ctx.find(model).found()) {
            ctx.report.beginFile(hatSkin.path);
            ctx.report.add(Id::MissingAttachment, entryWhere(*part), part->offset,
                           "the hat model " + model + " does not exist");
            return;
        }
        checkSkin(ctx, hatSkin.path, checkMdcFile(ctx, model, false), false);
        return;
    }
    bool inGameDir = false;
    const Located model = findNamed(ctx, e.value, e.gamePath, ".mdc", inGameDir);
    ctx.report.beginFile(skinFile);
    if (!model.found()) {
        ctx.report.addCapped(
            Id::MissingAttachment, "skin entries", where, e.offset,
            "the hat names neither the skin " + joinPath(ctx.dir, std::string(e.value) + ".skin") + " nor the model " +
                joinPath(ctx.dir, std::string(e.value) + ".mdc") +
                (ctx.options.gameDir.empty() ? std::string(kGameDirHint) : ", nor below the game folder"));
        return;
    }
    if (inGameDir) onlyInGameDir(ctx, "the hat " + std::string(e.value) + ".mdc", model, where, e.offset);
    // Legal, but the viewer logs the skin it tries first as an error
    // (and korvane-render --strict fails on it).
    ctx.report.add(Id::MissingFile, Severity::Warning, where, e.offset,
                   "the hat has no skin of its own (" + joinPath(ctx.dir, std::string(e.value) + ".skin") +
                       "): the viewer logs \"CreateFile - Invalid Handle Value\" for it and draws the hat " +
                       model.path + " with its shaders' textures");
    checkMdcFile(ctx, model.path, true);
}

}  // namespace

void onlyInGameDir(FolderContext& ctx, const std::string& what, const Located& found, const std::string& where,
                   long long offset) {
    ctx.report.addCapped(Id::OnlyInGameDir, "skin entries", where, offset,
                         what + " is not below the model's folder but below the game folder, as " + found.path +
                             "; the game finds it, the viewer does not (korvane-render --game-dir does)");
}

const Located& FolderContext::find(const std::string& path) {
    const auto it = located.find(path);
    if (it != located.end()) return it->second;
    return located.emplace(path, locate(path)).first->second;
}

Located findNamed(FolderContext& ctx, const std::string& name, const std::string& gamePath, const char* extension,
                  bool& inGameDir) {
    inGameDir = false;
    const Located& own = ctx.find(joinPath(ctx.dir, name + extension));
    if (own.found() || ctx.options.gameDir.empty() || gamePath.empty()) return own;
    const Located& game = ctx.find(joinPath(ctx.options.gameDir, gamePath + extension));
    inGameDir = game.found();
    return game.found() ? game : own;
}

void checkTexture(FolderContext& ctx, const std::string& name, const std::string& gamePath,
                  const std::string& viewerName, const std::string& where, long long offset) {
    for (const char* ext : {".jpg", ".tga"}) {
        const std::string path = joinPath(ctx.dir, name + ext);
        const Located& l = ctx.find(path);
        if (l.at == FoundAt::OtherCase)
            ctx.report.addCapped(Id::OtherCase, "textures", where, offset,
                                 "the texture " + path + " is found only with other letter case, as " + l.path);
        if (l.found()) {
            viewerMisses(ctx, Id::MissingTexture, "textures", viewerName, name, {".jpg", ".tga"}, where, offset);
            return;
        }
    }
    if (!ctx.options.gameDir.empty() && !gamePath.empty())
        for (const char* ext : {".jpg", ".tga"}) {
            const Located& l = ctx.find(joinPath(ctx.options.gameDir, gamePath + ext));
            if (!l.found()) continue;
            ctx.report.addCapped(Id::OnlyInGameDir, "textures", where, offset,
                                 "the texture " + gamePath + ext +
                                     " is not below the model's folder but below the game folder, as " + l.path +
                                     "; the game finds it, the viewer does not (korvane-render --game-dir does)");
            return;
        }
    ctx.report.addCapped(
        Id::MissingTexture, "textures", where, offset,
        "the texture " + name + " is missing: neither " + joinPath(ctx.dir, name + ".jpg") + " nor .tga exists" +
            (ctx.options.gameDir.empty() ? std::string(kGameDirHint)
             : gamePath.empty()          ? std::string()
                                         : ", nor " + joinPath(ctx.options.gameDir, gamePath) + ".jpg or .tga"));
}

const std::vector<std::string>* checkMdcFile(FolderContext& ctx, const std::string& path, bool shaderTextures) {
    const auto known = [&]() -> const std::vector<std::string>* {
        const auto& names = ctx.checkedModels[path];
        return names ? &*names : nullptr;
    };
    if (ctx.checkedModels.count(path) != 0) return known();
    std::string error;
    const auto bytes = readWhole(path, error);
    ctx.report.beginFile(path);
    if (!bytes) {
        ctx.report.add(Id::MissingAttachment, "file", -1, error);
        ctx.checkedModels[path] = std::nullopt;
        return nullptr;
    }
    const ModelSummary summary =
        checkMdc(formats::ByteView(bytes->data(), bytes->size()), ctx.report, ctx.options.limits);
    if (summary.allSurfaces)
        ctx.checkedModels[path] = summary.surfaceNames;
    else
        ctx.checkedModels[path] = std::nullopt;
    if (shaderTextures)
        for (std::size_t i = 0; i < summary.shaderNames.size() && i < summary.surfaceNames.size(); ++i) {
            const std::string& shader = summary.shaderNames[i];
            const std::string name = relativeTextureName(ctx.modelName.c_str(), shader.c_str());
            checkTexture(ctx, name, shaderGamePath(shader.c_str()), name,
                         strf("surface %llu ", static_cast<unsigned long long>(i)) + quoted(summary.surfaceNames[i]) +
                             " shader 0 .Name",
                         -1);
        }
    return known();
}

void checkSkin(FolderContext& ctx, const std::string& skinPath, const std::vector<std::string>* surfaces, bool isBody) {
    std::string error;
    const auto text = readWhole(skinPath, error);
    ctx.report.beginFile(skinPath);
    if (!text) {
        ctx.report.add(Id::MissingFile, "file", -1, error);
        return;
    }
    const char* model = ctx.modelName.c_str();
    const skin::ParsedSkin game(text->data(), text->size(), model, skin::ValueBlanks::Skipped);
    const skin::ParsedSkin viewer(text->data(), text->size(), model, skin::ValueBlanks::Kept);

    static const std::vector<std::string> kNone;
    std::unordered_set<std::string_view> surfaceSet;  // views of *surfaces
    for (const auto& surface : surfaces ? *surfaces : kNone) {
        surfaceSet.insert(surface);
        if (!viewer.find(surface.c_str()))
            ctx.report.addCapped(Id::NoSkinEntry, "surfaces", "surface " + quoted(surface), -1,
                                 "the skin has no entry for this surface; it is drawn without texture");
    }
    LineCursor gameLines(game.entries());
    // Every line the viewer takes (the game's entries are among them); only
    // the first entry of a key is ever looked up.
    for (const Entry& v : viewer.entries()) {
        if (viewer.find(v.key) != &v) continue;
        const Entry* g = gameLines.at(v.line);
        const std::string key = v.key;
        const std::string where = entryWhere(v);
        ctx.report.beginFile(skinPath);
        if (isBody ? oneOf(key, kBodyKeys) : oneOf(key, kHeadKeys)) {
            if (!g) {
                ctx.report.addCapped(Id::MissingAttachment, "skin entries", where, v.offset,
                                     "the value is nothing but blanks");
            } else if (key == "md3_hat") {
                checkHat(ctx, skinPath, *g);
            } else if (key != "md3_part") {  // the head: checked with the folder
                checkAccessory(ctx, *g, &v, true);
            }
        } else if (isBody ? oneOf(key, kBodyGameKeys) : oneOf(key, kHeadGameKeys)) {
            if (g) checkAccessory(ctx, *g, nullptr, false);
        } else if (surfaces ? surfaceSet.count(key) != 0 : key.rfind("md3_", 0) != 0) {
            // Surfaces unknown: every entry but an md3_ key may name a texture.
            if (g)
                checkTexture(ctx, g->value, g->gamePath, v.value, where, v.offset);
            else
                ctx.report.addCapped(Id::MissingTexture, "textures", where, v.offset,
                                     "the value is nothing but blanks: the game gives the surface no texture, and the "
                                     "viewer finds none");
        } else {
            ctx.report.addCapped(
                Id::UnknownSkinKey, "skin entries", where, v.offset,
                "the key names no surface of the model and no accessory the game knows (" +
                    std::string(isBody ? "md3_beltl, md3_beltr, md3_back, md3_belt, md3_weapon, md3_weapon2"
                                       : "md3_part, md3_hat, md3_rank, md3_hat2, md3_hat3") +
                    ")");
        }
    }
}

}  // namespace check
