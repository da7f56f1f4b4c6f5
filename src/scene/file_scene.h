// One model file drawn alone, whatever its format (told by its first
// bytes): an MD3 or MDC model at its frames, an MDS body or an MDM mesh
// (posed by the MDX skeletons given) at its frames, an animation, or legs
// and torso apart, with level of detail. Textures come from the skin
// given, else from the surfaces' own shader names, looked for beside the
// file (the viewer's way, relative to the file's folder) and then below the
// game folder, when one is set (platform/sys/game_root.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "formats/identify.h"
#include "platform/d3d8/d3d8.h"
#include "scene/body_pose.h"
#include "scene/posed_scene.h"

namespace scene {

struct FileRequest {
    std::string path;
    std::string skin;                    // a .skin naming the surfaces' textures
    std::vector<std::string> skeletons;  // MDX files for an MDM mesh; the first is its own
    PoseRequest pose;
};

// Whether the request suits the file, told by its first bytes: Unreadable
// when it cannot be read or is no model file; Misfit for an MDX file alone,
// an MDM mesh without a skeleton, --skeleton for any other format, or an
// animation or legs/torso for an MD3 or MDC model (frames only). `format`
// receives the file's format; `error` one line.
enum class FileFit { Fits, Unreadable, Misfit };
FileFit checkFileRequest(const FileRequest& request, formats::Format& format, std::string& error);

// The scene, or null with one line in `error`: checkFileRequest first, so
// nothing is loaded for a request the file does not suit; an animation
// for an MDS body with no wolfanim.cfg row of that name is refused before
// any texture is loaded.
std::unique_ptr<PosedScene> makeFileScene(IDirect3DDevice8* device, const FileRequest& request, std::string& error);

// The folder part of a path (without its last separator; "." when none)
// and the folder's own name: the directory and model name textures are
// looked for with, as the viewer composes them.
std::string folderOf(const std::string& path);
std::string folderName(const std::string& folder);

}  // namespace scene
