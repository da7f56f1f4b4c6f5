#include "render_job.h"

#include <cstring>

#include "app/app_main.h"
#include "app/app_state.h"
#include "app/camera.h"
#include "app/startup_dialog.h"
#include "model/mds.h"
#include "platform/sys/second_root.h"
#include "render/renderer.h"

namespace kr {

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// The options take the place of the start-up dialog's four answers.
void fillAnswers(const Options& o) {
    std::strncpy(BaseDir, o.baseDir.c_str(), kBaseDirLength - 1);
    std::strncpy(ModelName, o.model.c_str(), kModelNameLength - 1);
    std::strncpy(BodySkin, o.bodySkin.c_str(), kSkinNameLength - 1);
    std::strncpy(HeadSkin, o.headSkin.c_str(), kSkinNameLength - 1);
    composeModelDir();
    if (!o.gameDir.empty()) sys::setSecondRoot(ModelDir, o.gameDir);
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

bool drawAndSave(const Options& o, OffscreenSurface& surface, std::string& error) {
    for (std::uint32_t frame = o.firstFrame;; ++frame) {
        CurrentFrame = frame;
        pBody->setFrame(frame);
        pRenderer->render();
        const QImage picture = surface.image();
        const std::string path = outputPath(o, frame);
        if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG")) {
            error = "cannot write " + path;
            return false;
        }
        if (frame == o.lastFrame) return true;
    }
}

bool run(const Options& o, OffscreenSurface& surface, const OffscreenShell& shell, std::string& error) {
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
    return drawAndSave(o, surface, error);
}

}  // namespace

bool renderFrames(const Options& o, OffscreenSurface& surface, const OffscreenShell& shell, std::string& error) {
    const bool done = run(o, surface, shell, error);
    shutdownViewer();
    return done;
}

}  // namespace kr
