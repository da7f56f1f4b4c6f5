// A player as the viewer draws it: the body with the surface textures of
// its skin, the accessories, the head and the hat, built from values on a
// device in the order the viewer assembles them after OK in its start-up
// dialog, and owned as one object. Failures are log lines, written by the
// loaders; only whether the body loaded is returned.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/d3d8/d3d8.h"

class MDS;
class Skin;

// The viewer's message box text (and korvane-render's error) for a body.mds
// that cannot be loaded.
inline constexpr const char* kBodyNotLoaded =
    "Error: couldn't load body.mds\nCheck if the BaseDir or ModelName is correct.";

// The base folder, a backslash and the model name, with the letters A to Z
// lower-cased: the start-up dialog's ModelDir.
std::string modelDirOf(const std::string& baseDir, const std::string& modelName);

struct PlayerFiles {
    std::string modelName;  // as typed; the parts keep a pointer to the scene's copy
    std::string modelDir;   // every path starts with it (modelDirOf)
    std::string bodySkin;   // skin file names relative to modelDir
    std::string headSkin;
};

class PlayerScene {
public:
    // Loads nothing yet; the device is not owned and outlives the scene.
    PlayerScene(IDirect3DDevice8* device, PlayerFiles files);
    // Destroys the head skin, the body skin and the body, in this order.
    ~PlayerScene();
    PlayerScene(const PlayerScene&) = delete;
    PlayerScene& operator=(const PlayerScene&) = delete;

    // Once: makes the body from "<modelDir>\body.mds" and poses it at
    // `frame`. False when it cannot be loaded; the unloaded body is kept.
    bool loadBody(std::uint32_t frame);
    // A loaded body only: the body skin's surface textures and accessories,
    // then the head skin's head and hat.
    void dress();
    // A loaded body only: another body skin's surface textures, belts and
    // back; the head and the hat stay.
    void changeBodySkin(const std::string& name);

    MDS* body() const { return body_.get(); }
    Skin* bodySkin() const { return bodySkin_.get(); }
    Skin* headSkin() const { return headSkin_.get(); }
    const PlayerFiles& files() const { return files_; }

private:
    bool bodyLoaded() const;
    std::unique_ptr<Skin> loadSkin(const std::string& name) const;

    IDirect3DDevice8* device_;
    PlayerFiles files_;
    std::unique_ptr<MDS> body_;
    std::unique_ptr<Skin> bodySkin_;
    std::unique_ptr<Skin> headSkin_;
};
