#include "render_job.h"

#include <utility>

#include "anim_job.h"
#include "app/camera.h"
#include "model/mds.h"
#include "picture.h"
#include "platform/sys/game_root.h"
#include "render/reference_grid.h"
#include "render/renderer.h"
#include "scene_job.h"
#include "scene_options.h"
#include "scene/player_scene.h"

namespace kr {

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// From the viewer's start orientation (looking along -z), turned by yaw,
// then tilted by pitch, at the given position.
void placeCamera(FreeCamera& camera, const CameraPose& pose) {
    camera.m_vPosition = D3DXVECTOR3(pose.x, pose.y, pose.z);
    camera.yaw(pose.yawDegrees * kRadiansPerDegree);
    camera.pitch(pose.pitchDegrees * kRadiansPerDegree);
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

bool drawAndSave(const Options& o, std::size_t skin, const Shot& shot, std::string& error) {
    for (std::uint32_t frame = o.firstFrame;; ++frame) {
        std::vector<unsigned char> rgb;
        error = shot.take(frame, rgb);
        if (error.empty()) error = writePng(rgb, o.width, o.height, outputPath(o, frame, skin));
        if (!error.empty()) return false;
        if (frame == o.lastFrame) return true;
    }
}

// The loaded player: the animation, or every frame in every body skin.
bool drawPlayer(const Options& o, PlayerScene& scene, const Shot& shot, RunLogs& logs, std::string& error) {
    const std::uint32_t frames = shot.body.numFrames();
    if (o.lastFrame >= frames) {
        error = "frame " + std::to_string(o.lastFrame) + " is past the body's " + std::to_string(frames) +
                " frames (0 to " + std::to_string(frames - 1) + ")";
        return false;
    }
    if (o.noMesh) shot.body.meshVisible = false;
    if (!o.anim.empty()) return renderAnimation(o, scene.files().modelDir, shot, error);
    for (std::size_t skin = 0; skin < o.bodySkins.size(); ++skin) {
        if (skin > 0) {
            if (!logs.open(skin, error)) return false;
            scene.changeBodySkin(o.bodySkins[skin]);
        }
        if (!drawAndSave(o, skin, shot, error)) return false;
    }
    return true;
}

bool run(const Options& o, GlSurface& surface, HWND window, RunLogs& logs, std::string& error) {
    if (!logs.open(0, error)) return false;
    // What the viewer's start-up makes, in its order; destroyed in the
    // reverse order, the scene (head skin, body skin, body) first.
    D3D renderer(window);
    FreeCamera camera;
    renderer.m_pCamera = &camera;
    ReferenceGrid grid(renderer.m_pDevice, 10, 0.0f);
    renderer.addObject(&grid);
    camera.placeAtStart();
    if (renderer.m_pDevice == nullptr) {
        error = "no OpenGL device (see log.htm)";
        return false;
    }
    if (o.camera) placeCamera(camera, *o.camera);
    if (drawsPosedScene(o)) return renderPosedScene(o, renderer, camera, surface, error);

    PlayerFiles files{o.model, modelDirOf(o.baseDir, o.model), o.bodySkins.front(), o.headSkin};
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
    PlayerScene scene(renderer.m_pDevice, std::move(files));
    if (!scene.loadBody(o.firstFrame)) {
        error = oneLine(kBodyNotLoaded) + " (" + scene.files().modelDir + ")";
        return false;
    }
    renderer.addObject(scene.body());
    scene.dress();
    const bool done = drawPlayer(o, scene, Shot{renderer, *scene.body(), surface}, logs, error);
    renderer.clearObjects();
    return done;
}

}  // namespace

bool renderFrames(const Options& o, GlSurface& surface, HWND window, RunLogs& logs, std::string& error) {
    const bool done = run(o, surface, window, logs, error);
    logs.close();
    return done;
}

}  // namespace kr
