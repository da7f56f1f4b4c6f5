#include "check/skin_check.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "check/files.h"
#include "check/model_check.h"
#include "formats/byte_view.h"
#include "skin/names.h"
#include "skin/skin.h"

namespace check {

namespace {

constexpr const char* kBodyKeys[] = {"md3_beltl", "md3_beltr", "md3_back"};

struct LineAt {
    std::string key;
    int line;
    long long offset;
};

// Keys of the lines with a comma, in file order, with their line numbers and
// byte offsets (the skin reader's own rules for comments and line ends).
std::vector<LineAt> keyLines(const sys::Block& text) {
    std::vector<LineAt> out;
    std::size_t start = 0;
    int line = 1;
    const char* chars = reinterpret_cast<const char*>(text.data());
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && chars[end] != '\n') ++end;
        std::string s(chars + start, chars + end);
        if (!s.empty() && s.back() == '\r') s.pop_back();
        if (const auto c = s.find("//"); c != std::string::npos) s.resize(c);
        if (const auto comma = s.find(','); comma != std::string::npos)
            out.push_back({s.substr(0, comma), line, static_cast<long long>(start)});
        start = end + 1;
        ++line;
    }
    return out;
}

std::string entryWhere(const LineAt* at, const std::string& key) {
    return at ? strf("line %d ", at->line) + quoted(key) : quoted(key);
}

bool isAttachmentKey(const std::string& key, bool isBody) {
    if (isBody) return std::any_of(std::begin(kBodyKeys), std::end(kBodyKeys), [&](const char* k) { return key == k; });
    return key == "md3_part" || key == "md3_hat";
}

void checkHat(FolderContext& ctx, const std::string& skinFile, const std::string& hat, const std::string& where,
              long long offset) {
    const std::string hatSkin = joinPath(ctx.dir, hat + ".skin");
    if (locate(hatSkin).found()) {
        Skin skin(ctx.modelName.c_str());
        skin.load(hatSkin.c_str());
        const char* part = skin.lookup("md3_part");
        if (!part) {
            ctx.report.beginFile(hatSkin);
            ctx.report.add(Id::MissingAttachment, "md3_part", -1,
                           "the hat's skin names no \"md3_part\"; the viewer then shows no hat");
            return;
        }
        const std::string model = joinPath(ctx.dir, std::string("acc/") + part + ".mdc");
        if (!locate(model).found()) {
            ctx.report.beginFile(hatSkin);
            ctx.report.add(Id::MissingAttachment, "md3_part", -1, "the hat model " + model + " does not exist");
            return;
        }
        checkSkin(ctx, hatSkin, checkMdcFile(ctx, model, false), false);
        return;
    }
    const std::string model = joinPath(ctx.dir, hat + ".mdc");
    if (!locate(model).found()) {
        ctx.report.beginFile(skinFile);
        ctx.report.add(Id::MissingAttachment, where, offset,
                       "the hat names neither the skin " + hatSkin + " nor the model " + model);
        return;
    }
    checkMdcFile(ctx, model, true);
}

}  // namespace

void checkTexture(FolderContext& ctx, const std::string& name, const std::string& where, long long offset) {
    for (const char* ext : {".jpg", ".tga"}) {
        const Located l = locate(joinPath(ctx.dir, name + ext));
        if (l.at == FoundAt::OtherCase)
            ctx.report.addCapped(
                Id::OtherCase, "textures", where, offset,
                "the texture " + joinPath(ctx.dir, name + ext) + " is found only with other letter case, as " + l.path);
        if (l.found()) return;
    }
    if (!ctx.options.gameDir.empty())
        for (const char* ext : {".jpg", ".tga"}) {
            const Located l = locate(joinPath(ctx.options.gameDir, name + ext));
            if (!l.found()) continue;
            ctx.report.addCapped(Id::OnlyInGameDir, "textures", where, offset,
                                 "the texture " + name + ext +
                                     " is not below the model's folder but below the game folder, as " + l.path +
                                     "; the game finds it, the viewer does not (korvane-render --game-dir does)");
            return;
        }
    ctx.report.addCapped(Id::MissingTexture, "textures", where, offset,
                   "the texture " + name + " is missing: neither " + joinPath(ctx.dir, name + ".jpg") + " nor .tga exists" +
                       (ctx.options.gameDir.empty() ? std::string(" (give --game-dir to look in the game folder too)")
                                                    : ", nor below the game folder"));
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
        for (std::size_t i = 0; i < summary.shaderNames.size(); ++i)
            checkTexture(ctx, relativeTextureName(ctx.modelName.c_str(), summary.shaderNames[i].c_str()),
                         strf("surface %llu ", static_cast<unsigned long long>(i)) + quoted(summary.surfaceNames[i]) + " shader 0 .Name", -1);
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
    const std::vector<LineAt> lines = keyLines(*text);
    Skin skin(ctx.modelName.c_str());
    skin.load(skinPath.c_str());
    std::unordered_map<std::string, const LineAt*> firstLine;
    for (const auto& l : lines) firstLine.emplace(l.key, &l);
    const auto lineOf = [&](const std::string& key) -> const LineAt* {
        const auto it = firstLine.find(key);
        return it == firstLine.end() ? nullptr : it->second;
    };
    for (const auto& surface : surfaces ? *surfaces : std::vector<std::string>{})
        if (!skin.lookup(surface.c_str()))
            ctx.report.addCapped(Id::NoSkinEntry, "surfaces", "surface " + quoted(surface), -1,
                                 "the skin has no entry for this surface; it is drawn without texture");
    for (const auto& entry : skin.entries()) {
        const std::string key = entry.key;
        const LineAt* at = lineOf(key);
        const std::string where = entryWhere(at, key);
        const long long offset = at ? at->offset : -1;
        ctx.report.beginFile(skinPath);
        if (isAttachmentKey(key, isBody)) {
            if (key == "md3_hat") {
                checkHat(ctx, skinPath, entry.value, where, offset);
            } else if (key != "md3_part") {
                const std::string model = joinPath(ctx.dir, std::string(entry.value) + ".mdc");
                if (locate(model).found())
                    checkMdcFile(ctx, model, true);
                else
                    ctx.report.addCapped(Id::MissingAttachment, "skin entries", where, offset,
                                         "the attachment " + model + " does not exist");
            }
        } else if (!surfaces) {
            // Surfaces unknown: every entry but an md3_ key may name a texture.
            if (key.rfind("md3_", 0) != 0) checkTexture(ctx, entry.value, where, offset);
        } else if (std::find(surfaces->begin(), surfaces->end(), key) != surfaces->end()) {
            checkTexture(ctx, entry.value, where, offset);
        } else {
            ctx.report.addCapped(Id::UnknownSkinKey, "skin entries", where, offset,
                           "the key names no surface of the model and no " +
                               std::string(isBody ? "\"md3_beltl\", \"md3_beltr\" or \"md3_back\""
                                                  : "\"md3_part\" or \"md3_hat\""));
        }
    }
}

}  // namespace check
