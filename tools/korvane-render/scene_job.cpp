#include "scene_job.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "app/camera.h"
#include "log/log.h"
#include "picture.h"
#include "picture_camera.h"
#include "platform/sys/game_root.h"
#include "render/renderer.h"
#include "char_job.h"
#include "scene/character_scene.h"
#include "scene/file_scene.h"
#include "scene/player_pose_scene.h"
#include "scene_options.h"
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

std::unique_ptr<scene::PosedScene> build(const Options& o, IDirect3DDevice8* device, LoadedCharacter& loaded,
                                         std::string& error) {
    if (!o.scene.file.empty()) {
        setGameFolder(o);
        return scene::makeFileScene(device, {o.scene.file, o.scene.skin, o.scene.skeletons, poseOf(o)}, error);
    }
    if (!o.scene.character.empty()) {
        if (!loadCharacter(o, loaded, error)) return nullptr;
        std::vector<std::string> warnings;
        auto scene = scene::makeCharacterScene(device, loaded.character, loaded.search, poseOf(o), warnings, error);
        for (const std::string& w : warnings) std::fprintf(stderr, "korvane-render: WARNING: %s\n", w.c_str());
        return scene;
    }
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
    PlayerFiles files{o.model, modelDirOf(o.baseDir, o.model), o.bodySkins.front(), o.headSkin};
    return scene::makePlayerPoseScene(device, std::move(files), poseOf(o), !o.noMesh, error);
}

void logLod(const Options& o, const scene::PosedScene& s) {
    for (const scene::PosedScene::MeshLod& mesh : s.lod()) {
        for (const drawables::SurfaceLod& surface : mesh.surfaces) {
            char line[512];
            std::snprintf(line, sizeof line, "LOD %.3f %s surface '%s': %d of %d vertices, %d of %d triangles",
                          static_cast<double>(mesh.factor), mesh.model.c_str(), surface.name.c_str(),
                          surface.keptVertices, surface.vertices, surface.keptTriangles, surface.triangles);
            pLog->print("%s<br>\n", line);
            if (o.scene.verbose) std::fprintf(stderr, "korvane-render: %s\n", line);
        }
    }
}

struct Drawing {
    const Options& o;
    Shot& shot;
    scene::PosedScene& scene;
    bool lodLogged = false;

    bool take(std::uint32_t step, Image& picture, std::string& error) {
        error = shot.take(step, picture);
        if (!error.empty()) return false;
        if (!lodLogged && (o.scene.lod || o.scene.lodDistance)) logLod(o, scene);
        lodLogged = true;
        return true;
    }

    bool webp(std::string& error) {
        const scene::Steps& steps = scene.steps();
        const PictureOptions& p = o.picture;
        AnimatedWebp file(pictureWidth(o), o.height, steps.loopCount(), p.transparent ? 0u : 0xFF000000u | p.background);
        int time = 0;
        Image picture;
        for (std::uint32_t step = 0; step < steps.count(); ++step) {
            if (!take(step, picture, error) || !file.add(picture, time, error)) return false;
            time += static_cast<int>(steps.milliseconds());
        }
        return file.finish(time, o.out, error);
    }

    bool pngs(std::uint32_t first, std::uint32_t last, bool numbered, std::string& error) {
        Options named = o;
        named.range = numbered;
        Image picture;
        for (std::uint32_t step = first;; ++step) {
            if (!take(step, picture, error)) return false;
            error = writePng(picture, outputPath(named, scene.steps().label(step)));
            if (!error.empty()) return false;
            if (step == last) return true;
        }
    }
};

// The steps drawn, to frame them all from one place.
std::vector<std::uint32_t> stepsOf(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint32_t> steps;
    for (std::uint32_t step = first;; ++step) {
        steps.push_back(step);
        if (step == last) return steps;
    }
}

bool draw(const Options& o, Drawing& d, std::string& error) {
    const scene::Steps& steps = d.scene.steps();
    if (animatedOutput(o)) {
        d.shot.aim(stepsOf(0, steps.count() - 1));
        return d.webp(error);
    }
    std::uint32_t first = o.firstFrame, last = o.lastFrame;
    bool numbered = o.range;
    if (!o.anim.empty()) {  // the animation's range, one picture per frame
        first = 0;
        last = steps.rangeCount() - 1;
        numbered = true;
    }
    if (last >= steps.count()) {
        error = (steps.isSplit() ? "step " : "frame ") + std::to_string(last) + " is past the " +
                std::to_string(steps.count()) + (steps.isSplit() ? " steps" : " frames") + " (0 to " +
                std::to_string(steps.count() - 1) + ")";
        return false;
    }
    d.shot.aim(stepsOf(first, last));
    return d.pngs(first, last, numbered, error);
}

}  // namespace

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
    Drawing drawing{o, shot, *scene};
    const bool done = draw(o, drawing, error);
    renderer.clearObjects();
    return done;
}

}  // namespace kr
