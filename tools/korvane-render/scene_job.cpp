#include "scene_job.h"

#include <cstdio>
#include <memory>

#include "anim_job.h"
#include "anim_options.h"
#include "char_job.h"
#include "log/log.h"
#include "picture.h"
#include "platform/sys/game_root.h"
#include "render/renderer.h"
#include "scene/character_scene.h"
#include "scene/file_scene.h"
#include "scene/player_pose_scene.h"
#include "webp_writer.h"

namespace kr {

namespace {

scene::PoseRequest poseOf(const Options& o) {
    scene::PoseRequest p;
    p.anim = o.anim;
    p.legs = o.scene.legs;
    p.torso = o.scene.torso;
    p.aim = o.scene.aim;
    p.aimPitch = o.scene.aimPitch;
    p.aimYaw = o.scene.aimYaw;
    if (o.scene.lod) p.lod = {false, *o.scene.lod};
    if (o.scene.lodDistance) p.lod = {true, *o.scene.lodDistance};
    p.headAnim = o.scene.headAnim.value_or(-1);
    return p;
}

// Without --game-dir, a file below a folder named "models" has the folder
// above it as its game folder, as the game would.
void setGameFolder(const Options& o) {
    if (!o.gameDir.empty()) {
        sys::setGameRoot(o.gameDir);
        return;
    }
    std::string path = o.scene.file;
    for (char& c : path) c = c == '\\' ? '/' : c;
    const std::size_t at = ("/" + path).rfind("/models/");
    if (at != std::string::npos) sys::setGameRoot(at == 0 ? "." : path.substr(0, at - 1));
}

scene::FileRequest fileRequest(const Options& o) { return {o.scene.file, o.scene.skin, o.scene.skeletons, poseOf(o)}; }

std::unique_ptr<scene::PosedScene> build(const Options& o, IDirect3DDevice8* device, LoadedCharacter& loaded,
                                         std::string& error) {
    if (!o.scene.file.empty()) {
        setGameFolder(o);
        return scene::makeFileScene(device, fileRequest(o), error);
    }
    if (!o.scene.character.empty()) {
        if (!loadCharacter(o, loaded, error)) return nullptr;
        std::vector<std::string> warnings;
        scene::PoseRequest pose = poseOf(o);
        if (o.picture.standing && o.anim.empty() && o.scene.legs.empty()) pose.anim = standingAnimation(loaded.character);
        auto scene = scene::makeCharacterScene(device, loaded.character, loaded.search, pose, warnings, error);
        for (const std::string& w : warnings) std::fprintf(stderr, "korvane-render: WARNING: %s\n", w.c_str());
        return scene;
    }
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
    PlayerFiles files{o.model, modelDirOf(o.baseDir, o.model), o.bodySkins.front(), o.headSkin};
    return scene::makePlayerPoseScene(device, std::move(files), poseOf(o), !o.noMesh, error);
}

// Kept vertices and triangles per surface of each skeletal mesh, in the
// log and, with --verbose, on stderr.
void logLod(const Options& o, const scene::PosedScene& s) {
    for (const scene::PosedScene::MeshLod& mesh : s.lod()) {
        std::string model = mesh.model;
        for (char& c : model) c = c == '\\' ? '/' : c;
        for (const drawables::SurfaceLod& surface : mesh.surfaces) {
            char line[512];
            std::snprintf(line, sizeof line, "LOD %.3f %s surface '%s': %d of %d vertices, %d of %d triangles",
                          static_cast<double>(mesh.factor), model.c_str(), surface.name.c_str(),
                          surface.keptVertices, surface.vertices, surface.keptTriangles, surface.triangles);
            pLog->print("%s<br>\n", line);
            if (o.scene.verbose) std::fprintf(stderr, "korvane-render: %s\n", line);
        }
    }
}

bool writeWebp(const Options& o, const Shot& shot, const scene::Steps& steps, std::string& error) {
    const PictureOptions& p = o.picture;
    AnimatedWebp file(pictureWidth(o), o.height, steps.loopCount(), p.transparent ? 0u : 0xFF000000u | p.background);
    int time = 0;
    Image picture;
    for (std::uint32_t step = 0; step < steps.count(); ++step) {
        error = shot.take(step, picture);
        if (!error.empty() || !file.add(picture, time, error)) return false;
        time += static_cast<int>(steps.milliseconds());
    }
    return file.finish(time, o.out, error);
}

bool writePngs(const Options& o, const Shot& shot, const scene::Steps& steps, const std::vector<std::uint32_t>& drawn,
               bool numbered, std::string& error) {
    Options named = o;
    named.range = numbered;
    Image picture;
    for (std::uint32_t step : drawn) {
        error = shot.take(step, picture);
        if (error.empty()) error = writePng(picture, outputPath(named, steps.label(step)));
        if (!error.empty()) return false;
    }
    return true;
}

std::string folderOfRun(const Options& o) {
    return o.scene.file.empty() ? modelDirOf(o.baseDir, o.model) : scene::folderOf(o.scene.file);
}

// The steps drawn as PNG files: an animation's range once, the standing
// frame, or --frame / --frames; false past the scene's steps.
bool stepsDrawn(const Options& o, const scene::Steps& steps, std::vector<std::uint32_t>& drawn, bool& numbered,
                std::string& error) {
    std::uint32_t first = o.firstFrame, last = o.lastFrame;
    numbered = o.range;
    if (!o.anim.empty()) {
        first = 0;
        last = steps.rangeCount() - 1;
        numbered = true;
    } else if (o.picture.standing && !steps.isSplit()) {
        // A character stands in its idle row's clip (build), from its start.
        first = last = o.scene.character.empty() ? standingFrame(folderOfRun(o), steps.count()) : 0;
    }
    if (last >= steps.count()) {
        const char* unit = steps.isSplit() ? " steps" : " frames";
        error = (steps.isSplit() ? "step " : "frame ") + std::to_string(last) + " is past the " +
                std::to_string(steps.count()) + unit + " (0 to " + std::to_string(steps.count() - 1) + ")";
        return false;
    }
    for (std::uint32_t step = first; step <= last; ++step) drawn.push_back(step);
    return true;
}

bool draw(const Options& o, scene::PosedScene& scene, Shot& shot, std::string& error) {
    const scene::Steps& steps = scene.steps();
    std::vector<std::uint32_t> drawn;
    bool numbered = false;
    if (animatedOutput(o)) {
        for (std::uint32_t step = 0; step < steps.count(); ++step) drawn.push_back(step);
    } else if (!stepsDrawn(o, steps, drawn, numbered, error)) {
        return false;
    }
    shot.aim(drawn);
    if (o.scene.lod || o.scene.lodDistance) {
        scene.setStep(drawn.front());
        logLod(o, scene);
    }
    return animatedOutput(o) ? writeWebp(o, shot, steps, error) : writePngs(o, shot, steps, drawn, numbered, error);
}

}  // namespace

int checkModelFile(const Options& o, std::string& error) {
    if (o.scene.file.empty()) return 0;
    formats::Format format = formats::Format::Unknown;
    switch (scene::checkFileRequest(fileRequest(o), format, error)) {
        case scene::FileFit::Fits: return 0;
        case scene::FileFit::Unreadable: return 1;
        case scene::FileFit::Misfit: break;
    }
    return 2;
}

bool renderPosedScene(const Options& o, D3D& renderer, PictureCamera& camera, Backdrop& backdrop, GlSurface& surface,
                      std::string& error) {
    LoadedCharacter loaded;  // outlives the scene drawing it
    std::unique_ptr<scene::PosedScene> scene = build(o, renderer.m_pDevice, loaded, error);
    if (!scene) return false;
    if (scene->steps().count() == 0) {
        error = "nothing to pose: the model has no frames";
        return false;
    }
    for (Renderable* r : scene->renderables()) renderer.addObject(r);
    Shot shot(renderer, *scene, surface, camera, backdrop, o);
    const bool done = draw(o, *scene, shot, error);
    renderer.clearObjects();
    return done;
}

}  // namespace kr
