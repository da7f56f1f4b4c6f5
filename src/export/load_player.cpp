#include "export/load_player.h"

#include <memory>

#include "anim/frame_sequence.h"
#include "export/load_model.h"
#include "export/textures.h"
#include "platform/sys/game_root.h"
#include "platform/sys/sys.h"
#include "skin/names.h"
#include "skin/skin_text.h"

namespace exporter {

namespace {

// A path as messages show it: forward slashes.
std::string shownPath(std::string path) {
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
}

// A skin read whole and parsed with the viewer's rule; null (and a
// warning) when it cannot be read.
std::unique_ptr<skin::ParsedSkin> readSkin(const std::string& path, const std::string& modelName, Asset& asset) {
    sys::WholeFile file = sys::readWholeFile(path.c_str(), 16u * 1024u * 1024u);
    if (file.failed != sys::ReadStep::Done) {
        asset.warnings.push_back("cannot read the skin " + shownPath(path));
        return nullptr;
    }
    return std::make_unique<skin::ParsedSkin>(file.bytes.data(), file.bytes.size(), modelName.c_str(),
                                              skin::ValueBlanks::Kept);
}

// The file `path` unless it is missing and the entry's game path below the
// game folder opens.
std::string attachmentPath(const std::string& path, const skin::Entry* entry, const char* extension) {
    return entry ? sys::viewerOrGamePath(path, entry->gamePath, extension) : path;
}

class PlayerLoader {
public:
    PlayerLoader(const PlayerInput& in, Asset& asset) : in_(in), asset_(asset), textures_(asset) {}

    bool load(std::string& error) {
        const std::string bodyPath = in_.modelDir + "\\body.mds";
        std::shared_ptr<sys::Block> body = readModelFile(bodyPath, shownPath(bodyPath), error);
        if (!body || !addMds(asset_, std::move(body), shownPath(bodyPath), error)) {
            error = "couldn't load body.mds: " + error;
            return false;
        }
        asset_.name = in_.modelName;
        const auto bodySkin = readSkin(dir() + in_.bodySkin, in_.modelName, asset_);
        for (SkinnedSurface& s : asset_.skinned) s.material = fromSkin(bodySkin.get(), dir() + in_.bodySkin, s.name);
        static constexpr struct {
            const char* key;
            std::int32_t bone;
        } kAccessories[] = {{"md3_beltl", kBeltLeftBone}, {"md3_beltr", kBeltRightBone}, {"md3_back", kBackBone}};
        for (const auto& accessory : kAccessories) {
            const skin::Entry* entry = bodySkin ? bodySkin->find(accessory.key) : nullptr;
            if (!entry) continue;
            const std::string path = attachmentPath(dir() + entry->value + ".mdc", entry, ".mdc");
            if (attach(path, accessory.bone, accessory.key)) shaderTextures(asset_.models.back());
        }
        loadHead();
        return true;
    }

private:
    std::string dir() const { return in_.modelDir + "\\"; }

    int fromSkin(const skin::ParsedSkin* skin, const std::string& skinPath, const std::string& surface) {
        const skin::Entry* entry = skin ? skin->find(surface.c_str()) : nullptr;
        if (!entry) {
            if (skin) asset_.warnings.push_back("no entry for the surface '" + surface + "' in " + shownPath(skinPath));
            return textures_.plainMaterial(surface);
        }
        return textures_.material(entry->value, dir() + entry->value, entry->gamePath,
                                  "the surface '" + surface + "' in " + shownPath(skinPath));
    }

    void shaderTextures(FrameModel& model) {
        for (FrameSurface& s : model.surfaces) {
            const std::string name = ::relativeTextureName(in_.modelName.c_str(), s.shader.c_str());
            s.material = textures_.material(s.shader, dir() + name, ::shaderGamePath(s.shader.c_str()),
                                            "the shader '" + s.shader + "' of " + model.name);
        }
    }

    // The MDC model at `path` hung on `bone` (at the scene's root when the
    // body has no such bone, where the viewer leaves it); false with a
    // warning when it cannot be loaded.
    bool attach(const std::string& path, std::int32_t bone, const std::string& key) {
        std::string error;
        std::shared_ptr<sys::Block> file = readModelFile(path, shownPath(path), error);
        if (!file || !addFrameModel(asset_, *file, shownPath(path), error)) {
            asset_.warnings.push_back("no attachment for '" + key + "': " + error);
            return false;
        }
        FrameModel& model = asset_.models.back();
        if (model.name.empty()) model.name = key;
        if (bone < static_cast<std::int32_t>(asset_.skeleton->size())) {
            model.mount.bone = bone;
            model.mount.inverseTurn = true;
        }
        return true;
    }

    void loadHead() {
        const std::string headSkinPath = dir() + in_.headSkin;
        const auto headSkin = readSkin(headSkinPath, in_.modelName, asset_);
        const skin::Entry* part = headSkin ? headSkin->find("md3_part") : nullptr;
        const std::string head = attachmentPath(dir() + (part ? part->value : "head") + ".mdc", part, ".mdc");
        if (attach(head, kHeadBone, "md3_part"))
            for (FrameSurface& s : asset_.models.back().surfaces)
                s.material = fromSkin(headSkin.get(), headSkinPath, s.name);

        const skin::Entry* hat = headSkin ? headSkin->find("md3_hat") : nullptr;
        if (!hat) return;
        const std::string hatSkinPath = attachmentPath(dir() + hat->value + ".skin", hat, ".skin");
        if (sys::fileIdentity(hatSkinPath.c_str()).empty()) {
            // No skin of its own: the hat's model lies where the skin would.
            if (attach(attachmentPath(dir() + hat->value + ".mdc", hat, ".mdc"), kHatBone, "md3_hat"))
                shaderTextures(asset_.models.back());
            return;
        }
        const auto hatSkin = readSkin(hatSkinPath, in_.modelName, asset_);
        const skin::Entry* hatPart = hatSkin ? hatSkin->find("md3_part") : nullptr;
        if (!hatPart) return;  // a hat skin that names no model gives no hat
        if (attach(dir() + "acc\\" + hatPart->value + ".mdc", kHatBone, "md3_hat"))
            for (FrameSurface& s : asset_.models.back().surfaces)
                s.material = fromSkin(hatSkin.get(), hatSkinPath, s.name);
    }

    const PlayerInput& in_;
    Asset& asset_;
    Textures textures_;
};

std::string place(const anim::Animation& a, const std::string& shown) {
    return "animation '" + a.name + "' (" + shown + ":" + std::to_string(a.line) + ")";
}

// Empty when the row's frames lie inside the body's; else why not.
std::string outside(const anim::Animation& a, const std::string& shown, std::uint32_t frames) {
    if (a.numFrames == 0) return place(a, shown) + " has no frames";
    const anim::Span span = anim::spanOf(a);
    if (span.low >= 0 && span.high < static_cast<std::int64_t>(frames)) return {};
    return place(a, shown) + " uses frames " + std::to_string(span.low) + " to " + std::to_string(span.high) +
           ", past the body's " + std::to_string(frames) + " frames (0 to " +
           std::to_string(static_cast<std::int64_t>(frames) - 1) + ")";
}

Clip clipOf(const anim::Animation& a, const std::string& shown) {
    Clip c;
    c.name = a.name;
    c.firstFrame = a.firstFrame;
    c.numFrames = a.numFrames;
    c.loopFrames = a.loopFrames;
    c.fps = a.fps;
    c.source = shown + ":" + std::to_string(a.line);
    return c;
}

}  // namespace

bool loadPlayer(const PlayerInput& input, Asset& asset, std::string& error) {
    return PlayerLoader(input, asset).load(error);
}

bool addConfigClips(const PlayerInput& input, const std::vector<std::string>& names, Asset& asset,
                    std::string& error) {
    const std::string path = input.modelDir + "\\wolfanim.cfg";
    const std::string shown = shownPath(path);
    anim::Config config;
    if (!anim::loadConfig(path.c_str(), shown, config, error)) return false;
    const std::uint32_t frames = asset.numFrames();
    if (names.empty()) {
        for (const anim::Animation& a : config.animations) {
            if (const std::string why = outside(a, shown, frames); !why.empty()) {
                asset.warnings.push_back(why + ": left out");
                continue;
            }
            asset.clips.push_back(clipOf(a, shown));
        }
        return true;
    }
    for (const std::string& name : names) {
        const anim::Animation* a = config.find(name);
        if (a == nullptr) {
            error = "no animation '" + name + "' in " + shown;
            return false;
        }
        if (const std::string why = outside(*a, shown, frames); !why.empty()) {
            error = why;
            return false;
        }
        asset.clips.push_back(clipOf(*a, shown));
    }
    return true;
}

}  // namespace exporter
