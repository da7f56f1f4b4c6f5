#include "render_job.h"

#include <utility>
#include <vector>

#include "anim_job.h"
#include "app/camera.h"
#include "model/mds.h"
#include "picture.h"
#include "picture_camera.h"
#include "platform/sys/game_root.h"
#include "render/reference_grid.h"
#include "render/renderer.h"
#include "scene/drawn_player.h"
#include "scene/player_scene.h"
#include "scene_job.h"
#include "scene_options.h"

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

bool drawAndSave(const Options& o, std::size_t skin, const std::vector<std::uint32_t>& frames, const Shot& shot,
                 std::string& error) {
    for (std::uint32_t frame : frames) {
        Image picture;
        error = shot.take(frame, picture);
        if (error.empty()) error = writePng(picture, outputPath(o, frame, skin));
        if (!error.empty()) return false;
    }
    return true;
}

// The frames to draw: the standing frame, or --frame / --frames.
std::vector<std::uint32_t> framesOf(const Options& o, const PlayerScene& player, std::uint32_t numFrames) {
    if (o.picture.standing) return {standingFrame(player.files().modelDir, numFrames)};
    std::vector<std::uint32_t> frames;
    for (std::uint32_t frame = o.firstFrame;; ++frame) {
        frames.push_back(frame);
        if (frame == o.lastFrame) return frames;
    }
}

// The loaded player: the animation, or every frame in every body skin.
bool drawPlayer(const Options& o, PlayerScene& player, Shot& shot, RunLogs& logs, std::string& error) {
    const std::uint32_t frames = shot.scene().numSteps();
    if (o.lastFrame >= frames) {
        error = "frame " + std::to_string(o.lastFrame) + " is past the body's " + std::to_string(frames) +
                " frames (0 to " + std::to_string(frames - 1) + ")";
        return false;
    }
    if (o.noMesh) player.body()->meshVisible = false;
    if (!o.anim.empty()) return renderAnimation(o, player.files().modelDir, shot, error);
    const std::vector<std::uint32_t> drawn = framesOf(o, player, frames);
    for (std::size_t skin = 0; skin < o.bodySkins.size(); ++skin) {
        if (skin > 0) {
            if (!logs.open(skin, error)) return false;
            player.changeBodySkin(o.bodySkins[skin]);
        }
        // Another skin may hang other accessories on the body.
        shot.aim(drawn);
        if (!drawAndSave(o, skin, drawn, shot, error)) return false;
    }
    return true;
}

bool run(const Options& o, GlSurface& surface, HWND window, RunLogs& logs, std::string& error) {
    if (!logs.open(0, error)) return false;
    // What the viewer's start-up makes, in its order; destroyed in the
    // reverse order, the scene (head skin, body skin, body) first. The
    // camera also sets the picture's projection; the backdrop, drawn
    // first, clears to the background.
    D3D renderer(window);
    PictureCamera camera(o.width, o.height);
    renderer.m_pCamera = &camera;
    Backdrop backdrop;
    renderer.addObject(&backdrop);
    ReferenceGrid grid(renderer.m_pDevice, 10, 0.0f);
    if (o.picture.grid) renderer.addObject(&grid);
    camera.placeAtStart();
    if (renderer.m_pDevice == nullptr) {
        error = "no OpenGL device (see log.htm)";
        return false;
    }
    if (o.camera) placeCamera(camera, *o.camera);
    if (drawsPosedScene(o)) return renderPosedScene(o, renderer, camera, backdrop, surface, error);

    PlayerFiles files{o.model, modelDirOf(o.baseDir, o.model), o.bodySkins.front(), o.headSkin};
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
    PlayerScene player(renderer.m_pDevice, std::move(files));
    if (!player.loadBody(o.firstFrame)) {
        error = oneLine(kBodyNotLoaded) + " (" + player.files().modelDir + ")";
        return false;
    }
    scene::DrawnPlayer scene(player);
    for (Renderable* object : scene.renderables()) renderer.addObject(object);
    player.dress();
    Shot shot(renderer, scene, surface, camera, backdrop, o);
    const bool done = drawPlayer(o, player, shot, logs, error);
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
