#include "anim_job.h"

#include <algorithm>
#include <cstdio>

#include "anim/anim_config.h"
#include "anim/frame_sequence.h"
#include "anim_options.h"
#include "scene/drawn_scene.h"
#include "scene/player_scene.h"
#include "webp_writer.h"

namespace kr {

namespace {

// The config next to body.mds, and the same path as a user would type it.
bool readConfig(const std::string& modelDir, anim::Config& config, std::string& shown, std::string& error) {
    const std::string path = modelDir + "\\wolfanim.cfg";
    shown = path;
    for (char& c : shown) c = c == '\\' ? '/' : c;
    return anim::loadConfig(path.c_str(), shown, config, error);
}

// A name as one column: quoted, as the config would write it, when it is
// empty or holds white space (a quoted name cannot hold a quote).
std::string column(const std::string& name) {
    const bool plain = !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ';
    });
    return plain ? name : "\"" + name + "\"";
}

std::string place(const anim::Animation& a, const std::string& shown) {
    return "animation '" + a.name + "' (" + shown + ":" + std::to_string(a.line) + ")";
}

bool writeWebp(const Options& o, const anim::Animation& a, const Shot& shot, std::string& error) {
    const anim::Clip clip = anim::clipOf(a);
    if (static_cast<double>(clip.frames.size()) * clip.frameMilliseconds > 2147483647.0) {
        error = "animation '" + a.name + "' lasts longer than a WebP file can count";
        return false;
    }
    const PictureOptions& p = o.picture;
    AnimatedWebp webp(pictureWidth(o), o.height, clip.loopCount, p.transparent ? 0u : 0xFF000000u | p.background);
    int time = 0;
    Image picture;
    for (std::int64_t frame : clip.frames) {
        error = shot.take(static_cast<std::uint32_t>(frame), picture);
        if (!error.empty()) return false;
        if (!webp.add(picture, time, error)) return false;
        time += static_cast<int>(clip.frameMilliseconds);
    }
    return webp.finish(time, o.out, error);
}

bool writePngs(const Options& o, const anim::Animation& a, const Shot& shot, std::string& error) {
    Options numbered = o;
    numbered.range = true;
    Image picture;
    for (std::int64_t frame : anim::rangeOf(a)) {
        const std::string path = outputPath(numbered, static_cast<std::uint32_t>(frame));
        error = shot.take(static_cast<std::uint32_t>(frame), picture);
        if (error.empty()) error = writePng(picture, path);
        if (!error.empty()) return false;
    }
    return true;
}

}  // namespace

bool listAnimations(const Options& o, std::string& error) {
    anim::Config config;
    std::string shown;
    if (!readConfig(modelDirOf(o.baseDir, o.model), config, shown, error)) return false;
    std::printf("# NAME FIRST FRAMES LOOP FPS (%s, %zu animations)\n", shown.c_str(), config.animations.size());
    for (const anim::Animation& a : config.animations)
        std::printf("%s %u %u %u %u\n", column(a.name).c_str(), a.firstFrame, a.numFrames, a.loopFrames, a.fps);
    for (const anim::HeadAnimation& h : config.headFrames)
        std::printf("# head %s %u %u\n", column(h.name).c_str(), h.firstFrame, h.numFrames);
    return std::fflush(stdout) == 0;
}

bool renderAnimation(const Options& o, const std::string& modelDir, Shot& shot, std::string& error) {
    anim::Config config;
    std::string shown;
    if (!readConfig(modelDir, config, shown, error)) return false;
    const anim::Animation* a = config.find(o.anim);
    if (a == nullptr) {
        error = "no animation '" + o.anim + "' in " + shown + " (--list-anims lists them)";
        return false;
    }
    if (a->numFrames == 0) {
        error = place(*a, shown) + " has no frames";
        return false;
    }
    const anim::Span span = anim::spanOf(*a);
    const std::uint32_t frames = shot.scene().numSteps();
    if (span.low < 0 || span.high >= static_cast<std::int64_t>(frames)) {
        error = place(*a, shown) + " uses frames " + std::to_string(span.low) + " to " + std::to_string(span.high) +
                ", past the body's " + std::to_string(frames) + " frames (0 to " +
                std::to_string(static_cast<std::int64_t>(frames) - 1) + ")";
        return false;
    }
    std::vector<std::uint32_t> steps;
    for (std::int64_t frame = span.low; frame <= span.high; ++frame) steps.push_back(static_cast<std::uint32_t>(frame));
    shot.aim(steps);
    return animatedOutput(o) ? writeWebp(o, *a, shot, error) : writePngs(o, *a, shot, error);
}

std::uint32_t standingFrame(const std::string& modelDir, std::uint32_t numFrames) {
    anim::Config config;
    std::string shown;
    std::string error;
    if (!readConfig(modelDir, config, shown, error)) return 0;
    for (const anim::Animation& a : config.animations) {
        if (a.name.find("idle") != std::string::npos && a.numFrames > 0 && a.firstFrame < numFrames) {
            return a.firstFrame;
        }
    }
    return 0;
}

}  // namespace kr
