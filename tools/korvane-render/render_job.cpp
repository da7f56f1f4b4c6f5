#include "render_job.h"

#include <cstring>

#include "anim_job.h"
#include "app/app_main.h"
#include "app/app_state.h"
#include "app/camera.h"
#include "app/startup_dialog.h"
#include "model/mds.h"
#include "picture.h"
#include "platform/sys/game_root.h"
#include "render/renderer.h"
#include "skin/skin.h"

namespace kr {

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// The options take the place of the start-up dialog's four answers.
void fillAnswers(const Options& o) {
    std::strncpy(BaseDir, o.baseDir.c_str(), kBaseDirLength - 1);
    std::strncpy(ModelName, o.model.c_str(), kModelNameLength - 1);
    std::strncpy(BodySkin, o.bodySkins.front().c_str(), kSkinNameLength - 1);
    std::strncpy(HeadSkin, o.headSkin.c_str(), kSkinNameLength - 1);
    composeModelDir();
    if (!o.gameDir.empty()) sys::setGameRoot(o.gameDir);
}

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

// The body's skin replaced as assembleModel applies it: surface textures
// and the belt and back accessories; the head and hat stay.
void changeBodySkin(const std::string& name) {
    std::memset(BodySkin, 0, sizeof BodySkin);
    std::strncpy(BodySkin, name.c_str(), kSkinNameLength - 1);
    delete pBodySkin;
    pBodySkin = new Skin(ModelName);
    const std::string path = std::string(ModelDir) + "\\" + BodySkin;
    pBodySkin->load(path.c_str());
    pBody->applySkin(ModelDir, pBodySkin);
    pBody->loadAccessories(ModelDir, pBodySkin);
}

bool drawAndSave(const Options& o, std::size_t skin, GlSurface& surface, std::string& error) {
    for (std::uint32_t frame = o.firstFrame;; ++frame) {
        CurrentFrame = frame;
        pBody->setFrame(frame);
        pRenderer->render();
        error = savePicture(surface, o.width, o.height, outputPath(o, frame, skin));
        if (!error.empty()) return false;
        if (frame == o.lastFrame) return true;
    }
}

bool run(const Options& o, GlSurface& surface, const OffscreenShell& shell, RunLogs& logs, std::string& error) {
    if (!logs.open(0, error)) return false;
    CurrentFrame = o.firstFrame;
    startViewer(shell::SW_SHOWNORMAL);
    if (pRenderer == nullptr || pRenderer->m_pDevice == nullptr) {
        error = "no OpenGL device (see log.htm)";
        return false;
    }
    if (o.camera) placeCamera(*pCamera, *o.camera);

    fillAnswers(o);
    assembleModel();
    if (pBody == nullptr || !pBody->loaded()) {
        error = shell.lastMessage().empty() ? std::string("couldn't load body.mds") : oneLine(shell.lastMessage());
        error += " (" + std::string(ModelDir) + ")";
        return false;
    }
    if (o.lastFrame >= pBody->numFrames()) {
        error = "frame " + std::to_string(o.lastFrame) + " is past the body's " + std::to_string(pBody->numFrames()) +
                " frames (0 to " + std::to_string(pBody->numFrames() - 1) + ")";
        return false;
    }
    if (o.noMesh) pBody->meshVisible = false;
    if (!o.anim.empty()) return renderAnimation(o, surface, error);
    for (std::size_t skin = 0; skin < o.bodySkins.size(); ++skin) {
        if (skin > 0) {
            if (!logs.open(skin, error)) return false;
            changeBodySkin(o.bodySkins[skin]);
        }
        if (!drawAndSave(o, skin, surface, error)) return false;
    }
    return true;
}

}  // namespace

bool renderFrames(const Options& o, GlSurface& surface, const OffscreenShell& shell, RunLogs& logs,
                  std::string& error) {
    const bool done = run(o, surface, shell, logs, error);
    shutdownViewer();
    logs.close();
    return done;
}

}  // namespace kr
