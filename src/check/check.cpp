#include "check/check.h"

#include "anim/anim_config.h"
#include "anim/frame_sequence.h"

#include <algorithm>
#include <optional>

#include "check/files.h"
#include "check/model_check.h"
#include "check/skin_check.h"
#include "formats/byte_view.h"
#include "skin/names.h"
#include "skin/skin.h"

namespace check {

namespace {

std::string lastComponent(std::string path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool endsWith(const std::string& text, const char* tail) {
    const std::string t = tail;
    return text.size() >= t.size() && skin::lowered(text.c_str()).compare(text.size() - t.size(), t.size(), t) == 0;
}

// Reads and checks a model file; nullopt summary fields when unreadable.
ModelSummary checkModelFile(const std::string& path, bool mds, const Options& options, Report& report) {
    report.beginFile(path);
    std::string error;
    const auto bytes = readWhole(path, error);
    if (!bytes) {
        report.add(Id::Unreadable, "file", -1, error);
        return {};
    }
    const formats::ByteView view(bytes->data(), bytes->size());
    return mds ? checkMds(view, report, options.limits) : checkMdc(view, report, options.limits);
}

// Skins of the folder whose names start with prefix ("body_", "head_").
std::vector<std::string> skinsOf(const std::string& dir, const char* prefix) {
    std::vector<std::string> out;
    for (const auto& name : listFiles(dir)) {
        const std::string low = skin::lowered(name.c_str());
        if (low.rfind(prefix, 0) == 0 && endsWith(low, ".skin")) out.push_back(joinPath(dir, name));
    }
    // A folder inside an archive cannot be listed: its default skins are
    // looked for by name.
    if (out.empty()) {
        const std::string fallback = joinPath(dir, std::string(prefix) + "default.skin");
        if (locate(fallback).found()) out.push_back(fallback);
    }
    return out;
}

void checkPlayer(const std::string& dir, const Options& options, Report& report) {
    FolderContext ctx{dir, lastComponent(dir), options, report, {}};
    const std::string body = joinPath(dir, "body.mds");
    long long numFrames = -1;
    std::optional<std::vector<std::string>> bodySurfaces;
    if (locate(body).found()) {
        const ModelSummary s = checkModelFile(body, true, options, report);
        if (s.allSurfaces) bodySurfaces = s.surfaceNames;
        if (s.readable) numFrames = s.numFrames;
    } else {
        report.beginFile(body);
        report.add(Id::MissingFile, "file", -1, "the player folder has no body.mds");
    }
    const auto bodySkins = skinsOf(dir, "body_");
    const auto headSkins = skinsOf(dir, "head_");
    if (bodySkins.empty() || headSkins.empty()) {
        report.beginFile(dir);
        report.add(Id::NoSkins, "folder", -1,
                   std::string("the folder has no ") + (bodySkins.empty() ? "body_*.skin" : "head_*.skin") +
                       "; the viewer draws those surfaces without texture");
    }
    for (const auto& s : bodySkins) checkSkin(ctx, s, bodySurfaces ? &*bodySurfaces : nullptr, true);
    for (const auto& s : headSkins) {
        Skin headSkin(ctx.modelName.c_str());
        headSkin.load(s.c_str());
        const char* part = headSkin.lookup("md3_part");
        const std::string head = joinPath(dir, std::string(part ? part : "head") + ".mdc");
        const std::vector<std::string>* headSurfaces = nullptr;
        if (locate(head).found()) {
            headSurfaces = checkMdcFile(ctx, head, false);
        } else {
            report.beginFile(s);
            report.add(Id::MissingAttachment, part ? "\"md3_part\"" : "file", -1,
                       "the head model " + head + " does not exist");
        }
        checkSkin(ctx, s, headSurfaces, false);
    }
    for (const auto& name : listFiles(dir))
        if (skin::lowered(name.c_str()) == "wolfanim.cfg") checkAnimationConfig(joinPath(dir, name), numFrames, report);
    report.endFile();
}

}  // namespace

void checkAnimationConfig(const std::string& path, long long numFrames, Report& report) {
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
    if (numFrames < 0) return;
    std::vector<bool> used(static_cast<std::size_t>(numFrames), false);
    for (const anim::Animation& a : config.animations) {
        if (a.numFrames == 0) continue;
        const anim::Span span = anim::spanOf(a);
        const std::string where = "line " + std::to_string(a.line) + " '" + a.name + "'";
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

void checkPath(const std::string& path, const Options& options, Report& report) {
    const std::string low = skin::lowered(path.c_str());
    if (!isDirectory(path) && (endsWith(low, ".mds") || endsWith(low, ".mdc"))) {
        checkModelFile(path, endsWith(low, ".mds"), options, report);
    } else if (!isDirectory(path) && endsWith(low, ".skin")) {
        const std::string dir = parentOf(path);
        FolderContext ctx{dir, lastComponent(dir), options, report, {}};
        const bool head = skin::lowered(lastComponent(path).c_str()).rfind("head", 0) == 0;
        std::optional<std::vector<std::string>> surfaces;
        Report quiet;  // the model's own findings belong to a check of the model
        if (!head && locate(joinPath(dir, "body.mds")).found()) {
            const ModelSummary s = checkModelFile(joinPath(dir, "body.mds"), true, options, quiet);
            if (s.allSurfaces) surfaces = s.surfaceNames;
        } else if (head && locate(joinPath(dir, "head.mdc")).found()) {
            FolderContext quietCtx{dir, ctx.modelName, options, quiet, {}};
            if (const auto* names = checkMdcFile(quietCtx, joinPath(dir, "head.mdc"), false)) surfaces = *names;
        }
        checkSkin(ctx, path, surfaces ? &*surfaces : nullptr, !head);
    } else if (low == "wolfanim.cfg" || endsWith(low, "/wolfanim.cfg") || endsWith(low, "\\wolfanim.cfg")) {
        const std::string body = joinPath(parentOf(path), "body.mds");
        long long frames = -1;
        if (locate(body).found()) {
            Report quiet;
            const ModelSummary s = checkModelFile(body, true, options, quiet);
            if (s.readable) frames = s.numFrames;
        }
        checkAnimationConfig(path, frames, report);
    } else if (!isDirectory(path) && !locate(joinPath(path, "body.mds")).found()) {
        report.beginFile(path);
        report.add(Id::Unreadable, "file", -1,
                   "no such file or player folder (a PATH is a folder holding body.mds, or one .mds, .mdc, .skin "
                   "or wolfanim.cfg file)");
    } else {
        checkPlayer(path, options, report);
    }
    report.endFile();
}

}  // namespace check
