#include "check/check.h"

#include <algorithm>
#include <optional>

#include "anim/anim_config.h"
#include "anim/frame_sequence.h"
#include "check/collection.h"
#include "check/files.h"
#include "check/model_check.h"
#include "check/paths.h"
#include "check/skin_check.h"
#include "formats/byte_view.h"
#include "formats/md3_layout.h"
#include "skin/names.h"

namespace check {

namespace {

bool startsWith(const std::string& lowered, const char* head) { return lowered.rfind(head, 0) == 0; }

bool endsWith(const std::string& lowered, const std::string& tail) {
    return lowered.size() >= tail.size() && lowered.compare(lowered.size() - tail.size(), tail.size(), tail) == 0;
}

// Reads and checks a model file; nullopt summary fields when unreadable.
ModelSummary checkModelFile(const std::string& path, Kind kind, const Options& options, Report& report) {
    report.beginFile(path);
    std::string error;
    const auto bytes = readWhole(path, error);
    if (!bytes) {
        report.add(Id::Unreadable, "file", -1, error);
        return {};
    }
    const formats::ByteView view(bytes->data(), bytes->size());
    switch (kind) {
    case Kind::Mds: return checkMds(view, report, options.limits);
    case Kind::Mdc: return checkMdc(view, report, options.limits);
    case Kind::Md3: return checkMd3(view, report);
    case Kind::Mdx: return checkMdx(view, report);
    default: break;
    }
    Skeleton skeleton;
    if (!options.skeleton.empty()) {
        Report quiet;  // the skeleton's own findings belong to a check of it
        const auto mdx = readWhole(options.skeleton, error);
        if (mdx) skeleton.numBones = static_cast<std::int32_t>(checkMdx({mdx->data(), mdx->size()}, quiet).numBones);
    }
    return checkMdm(view, report, skeleton);
}

// An MD3 model's LOD files beside it (name_1.md3 ... name_3.md3): each
// checked, and each must hold as many frames as the model, or the game
// complains of a missing frame at every frame it shows.
void checkMd3Lods(const std::string& path, long long frames, const Options& options, Report& report) {
    const std::string low = skin::lowered(path.c_str());
    if (!endsWith(low, ".md3")) return;
    const std::string stem = path.substr(0, path.size() - 4);
    if (stem.size() >= 2 && stem[stem.size() - 2] == '_' && stem.back() >= '1' && stem.back() <= '3') return;
    for (int lod = 1; lod <= 3; ++lod) {
        const Located file = locate(stem + "_" + std::to_string(lod) + path.substr(path.size() - 4));
        if (!file.found()) continue;
        const ModelSummary s = checkModelFile(file.path, Kind::Md3, options, report);
        if (s.readable && frames >= 0 && s.numFrames < frames)
            report.add(Id::FrameCount, "header .NumFrames", KV_FIELD(formats::Md3Header, NumFrames).offset,
                       strf("%lld frames, the model's LOD 0 %lld: at a distance the game shows this file and "
                            "complains of a missing frame at every frame past them",
                            static_cast<long long>(s.numFrames), frames));
    }
}

// Skins of the folder whose names start with prefix ("body_", "head_").
std::vector<std::string> skinsOf(FolderContext& ctx, const char* prefix) {
    std::vector<std::string> out;
    for (const auto& name : listFiles(ctx.dir)) {
        const std::string low = skin::lowered(name.c_str());
        if (startsWith(low, prefix) && endsWith(low, ".skin")) out.push_back(joinPath(ctx.dir, name));
    }
    const std::string fallback = joinPath(ctx.dir, std::string(prefix) + "default.skin");
    // A folder inside an archive cannot be listed: its default skins are
    // looked for by name.
    if (out.empty()) {
        if (ctx.find(fallback).found()) out.push_back(fallback);
    } else if (!ctx.find(fallback).found()) {
        ctx.report.beginFile(ctx.dir);
        ctx.report.add(Id::MissingFile, Severity::Warning, "folder", -1,
                       "no " + std::string(prefix) +
                           "default.skin: the viewer's start-up dialog and korvane-render take it unless told "
                           "another skin");
    }
    return out;
}

// The head model that a head skin names ("head" when it names none).
void checkHead(FolderContext& ctx, const std::string& skinPath) {
    std::string error;
    const auto text = readWhole(skinPath, error);
    const skin::ParsedSkin parsed(text ? text->data() : nullptr, text ? text->size() : 0, ctx.modelName.c_str(),
                                  skin::ValueBlanks::Skipped);
    const skin::Entry* part = parsed.find("md3_part");
    bool inGameDir = false;
    const Located head = findNamed(ctx, part ? part->value : "head", part ? part->gamePath : "", ".mdc", inGameDir);
    const std::vector<std::string>* headSurfaces = nullptr;
    if (head.found()) {
        if (inGameDir) {
            ctx.report.beginFile(skinPath);
            onlyInGameDir(ctx, "the head model " + std::string(part->value) + ".mdc", head,
                          strf("line %u \"md3_part\"", part->line), part->offset);
        }
        headSurfaces = checkMdcFile(ctx, head.path, false);
    } else {
        ctx.report.beginFile(skinPath);
        ctx.report.add(Id::MissingAttachment, part ? strf("line %u \"md3_part\"", part->line) : std::string("file"),
                       part ? static_cast<long long>(part->offset) : -1LL,
                       "the head model " + joinPath(ctx.dir, std::string(part ? part->value : "head") + ".mdc") +
                           " does not exist");
    }
    checkSkin(ctx, skinPath, headSurfaces, false);
}

void checkPlayer(const std::string& dir, const Options& options, Report& report) {
    FolderContext ctx(dir, folderName(dir), options, report);
    const std::string body = joinPath(dir, "body.mds");
    long long numFrames = -1;
    bool bodyRead = false;
    std::optional<std::vector<std::string>> bodySurfaces;
    if (ctx.find(body).found()) {
        const ModelSummary s = checkModelFile(body, Kind::Mds, options, report);
        if (s.allSurfaces) bodySurfaces = s.surfaceNames;
        if (s.readable) numFrames = s.numFrames;
        bodyRead = s.readable;
    } else {
        report.beginFile(body);
        report.add(Id::MissingFile, "file", -1, "the player folder has no body.mds");
    }
    const auto bodySkins = skinsOf(ctx, "body_");
    const auto headSkins = skinsOf(ctx, "head_");
    if (bodySkins.empty() || headSkins.empty()) {
        report.beginFile(dir);
        report.add(Id::NoSkins, "folder", -1,
                   std::string("the folder has no ") + (bodySkins.empty() ? "body_*.skin" : "head_*.skin") +
                       "; the viewer draws those surfaces without texture");
    }
    for (const auto& s : bodySkins) checkSkin(ctx, s, bodySurfaces ? &*bodySurfaces : nullptr, true);
    for (const auto& s : headSkins) checkHead(ctx, s);
    // Found as every model file is: any letter case, inside an archive too.
    const Located config = ctx.find(joinPath(dir, "wolfanim.cfg"));
    if (config.found()) checkAnimationConfig(config.path, numFrames, bodyRead, report);
    report.endFile();
}

void checkSkinFile(const std::string& path, const Options& options, Report& report) {
    const std::string dir = parentOf(path);
    FolderContext ctx(dir, folderName(dir), options, report);
    const bool head = startsWith(skin::lowered(fileNameOf(path).c_str()), "head");
    std::optional<std::vector<std::string>> surfaces;
    Report quiet;  // the model's own findings belong to a check of the model
    if (!head && locate(joinPath(dir, "body.mds")).found()) {
        const ModelSummary s = checkModelFile(joinPath(dir, "body.mds"), Kind::Mds, options, quiet);
        if (s.allSurfaces) surfaces = s.surfaceNames;
    } else if (head && locate(joinPath(dir, "head.mdc")).found()) {
        FolderContext quietCtx(dir, ctx.modelName, options, quiet);
        if (const auto* names = checkMdcFile(quietCtx, joinPath(dir, "head.mdc"), false)) surfaces = *names;
    }
    checkSkin(ctx, path, surfaces ? &*surfaces : nullptr, !head);
}

}  // namespace

void checkAnimationConfig(const std::string& path, long long numFrames, bool skeletalBody, Report& report) {
    report.beginFile(path);
    anim::Config config;
    std::string error;
    if (!anim::loadConfig(path.c_str(), path, config, error)) {
        // The reader's message starts with "FILE:LINE: "; the line is the place.
        std::string where = "file";
        const std::string prefix = path + ":";
        std::string message = error;
        if (error.rfind(prefix, 0) == 0) {
            const std::size_t colon = error.find(':', prefix.size());
            if (colon != std::string::npos) {
                where = "line " + error.substr(prefix.size(), colon - prefix.size());
                message = error.substr(colon + 1 + (colon + 1 < error.size() && error[colon + 1] == ' '));
            }
        }
        report.add(Id::AnimationConfig, where, -1, message);
        return;
    }
    if (skeletalBody && !config.skeletal)
        report.add(Id::AnimationConfig, "header", -1,
                   "no SKELETAL keyword, but body.mds is a skeletal model: the game then reads the rows' frames as "
                   "those of a non-skeletal (legs and torso) model");
    if (numFrames < 0) return;
    std::vector<bool> used(static_cast<std::size_t>(numFrames), false);
    for (const anim::Animation& a : config.animations) {
        const std::string where = "line " + std::to_string(a.line) + " '" + a.name + "'";
        if (a.numFrames == 0) {
            report.add(Id::AnimationRange, Severity::Warning, where, -1,
                       "the animation has no frames (korvane-render --anim refuses it)");
            continue;
        }
        const anim::Span span = anim::spanOf(a);
        if (span.low < 0 || span.high >= numFrames) {
            report.addCapped(Id::AnimationRange, "animations", where, -1,
                             strf("frames %lld to %lld, past the model's %lld frames (0 to %lld)",
                                  static_cast<long long>(span.low), static_cast<long long>(span.high), numFrames,
                                  numFrames - 1));
        }
        for (std::int64_t f = std::max<std::int64_t>(span.low, 0); f <= span.high && f < numFrames; ++f)
            used[static_cast<std::size_t>(f)] = true;
    }
    for (long long f = 0; f < numFrames;) {
        if (used[static_cast<std::size_t>(f)]) {
            ++f;
            continue;
        }
        long long last = f;
        while (last + 1 < numFrames && !used[static_cast<std::size_t>(last + 1)]) ++last;
        report.addCapped(Id::FramesUnused, "unused frames", "frames", -1,
                         last == f ? strf("frame %lld is used by no animation", f)
                                   : strf("frames %lld to %lld are used by no animation", f, last));
        f = last + 1;
    }
}

void checkPath(const std::string& typed, const Options& options, Report& report) {
    if (isCollection(typed)) {
        checkCollection(typed, options, report);
        report.endFile();
        return;
    }
    const Target target = classify(typed, options.gameDir);
    switch (target.kind) {
    case Kind::Mds:
    case Kind::Mdc:
    case Kind::Mdm:
    case Kind::Mdx:
        checkModelFile(target.path, target.kind, options, report);
        break;
    case Kind::Md3: {
        const ModelSummary s = checkModelFile(target.path, Kind::Md3, options, report);
        checkMd3Lods(target.path, s.readable ? s.numFrames : -1, options, report);
        break;
    }
    case Kind::Skin:
        checkSkinFile(target.path, options, report);
        break;
    case Kind::AnimConfig: {
        const std::string body = joinPath(parentOf(target.path), "body.mds");
        long long frames = -1;
        bool bodyRead = false;
        if (locate(body).found()) {
            Report quiet;
            const ModelSummary s = checkModelFile(body, Kind::Mds, options, quiet);
            if (s.readable) frames = s.numFrames;
            bodyRead = s.readable;
        }
        checkAnimationConfig(target.path, frames, bodyRead, report);
        break;
    }
    case Kind::Folder:
        checkPlayer(target.path, options, report);
        break;
    case Kind::Unsupported:
        report.beginFile(target.path);
        report.add(Id::NotModel, "file", -1, target.what);
        break;
    case Kind::Missing:
        report.beginFile(target.path);
        report.add(Id::Unreadable, "file", -1,
                   std::string("no such file or player folder") +
                       (options.gameDir.empty() ? "" : ", nor below the game folder") +
                       " (a PATH is a folder holding body.mds, or one model, .skin or wolfanim.cfg file)");
        break;
    }
    report.endFile();
}

}  // namespace check
