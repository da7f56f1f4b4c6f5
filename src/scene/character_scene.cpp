#include "scene/character_scene.h"

#include <optional>

#include "drawables/md3_model.h"
#include "drawables/skeletal_body.h"
#include "game/game_path.h"
#include "skin/texture_cache.h"
#include "skin/texture_loader.h"

namespace scene {

namespace {

anim::Playback playbackOf(const game::AnimRow& r) {
    anim::Playback p;
    p.firstFrame = static_cast<std::uint32_t>(std::max(r.first, 0));
    p.numFrames = static_cast<std::uint32_t>(std::max(r.numFrames, 0));
    p.loopFrames = r.loopFrames < 0 ? p.numFrames : std::min(static_cast<std::uint32_t>(r.loopFrames), p.numFrames);
    p.reversed = r.reversed;
    p.frameMilliseconds = static_cast<std::uint32_t>(std::clamp(1000.0 / r.fps, 1.0, 60000.0));
    return p;
}

class CharacterScene : public PosedScene {
public:
    CharacterScene(IDirect3DDevice8* device, const game::Character& c, const game::SearchPath& search,
                   std::vector<std::string>& warnings)
        : c_(c), search_(search), warnings_(warnings), cache_(device), body_(device), device_(device) {}
    ~CharacterScene() override { skin::releaseTextures(held_); }

    bool load(const PoseRequest& request, std::string& error) {
        if (!c_.mesh.read) {
            error = c_.file.named + ": the character's mesh " +
                    (c_.mesh.named.empty() ? std::string("is not given") : "'" + c_.mesh.named + "' cannot be read");
            return false;
        }
        if (!body_.loadMesh(c_.mesh.at.path, error)) return false;
        for (const game::Animations::Mdx& m : c_.animations.mdx)
            if (m.mdx.read && body_.addSkeleton(m.mdx.at.path, error) < 0) return false;
        if (body_.numSkeletons() == 0) {
            error = c_.file.named + ": no skeleton of the animation group can be read to pose the mesh with";
            return false;
        }
        if (!pose_.prepare(body_, request, characterRows(c_), error)) return false;
        if (pose_.steps().count() == 0) {
            error = body_.skeletonPath(0) + ": the skeleton has no frames to pose the mesh with";
            return false;
        }
        body_.setLod(request.lod);
        std::vector<std::string> names;
        for (const drawables::SurfaceLod& s : body_.mesh().lod()) names.push_back(s.name);
        body_.mesh().shareTextures(textures(c_.bodySkin, names));

        for (const game::Part& part : game::partsOf(c_)) {
            auto model = std::make_unique<drawables::Md3Model>(device_);
            std::string why;
            if (!model->load(part.model->at.path, why)) {
                warnings_.push_back(std::string(part.key) + ": " + why);
                continue;
            }
            model->shareTextures(textures(*part.skin, model->skinKeys()));
            if (part.model == &c_.head) head_ = model.get();
            parts_.push_back({part, std::move(model)});
        }
        return request.headAnim < 0 || prepareHeadAnim(request.headAnim, error);
    }

    std::vector<Renderable*> renderables() override {
        std::vector<Renderable*> out{&body_.mesh()};
        for (const Placed& p : parts_) out.push_back(p.model.get());
        return out;
    }
    void setStep(std::uint32_t step) override {
        pose_.apply(body_, step);
        if (headAnim_) {
            // In time with the body's animation; with no animation, a frame
            // of the row for each frame of the body.
            const Steps& steps = pose_.steps();
            const std::uint64_t ms = headAnim_->frameMilliseconds;
            const std::uint64_t index = steps.timed() ? std::uint64_t{step} * steps.milliseconds() / ms : step;
            head_->setFrame(static_cast<std::uint32_t>(anim::frameAtStep(*headAnim_, index)));
        }
        const drawables::Md3Model* head = nullptr;
        for (Placed& p : parts_) {
            drawables::Orientation tag;
            bool found = false;
            if (p.part.on == game::Parent::Body) {
                found = body_.tag(p.part.tag, tag);
            } else if (head != nullptr && head->tag(p.part.tag, tag)) {
                tag = drawables::attach(head->placement, tag);
                found = true;
            }
            if (!found && !p.missingTagSaid) {
                warnings_.push_back(std::string(p.part.key) + ": no " + p.part.tag + " on the " +
                                    (p.part.on == game::Parent::Body ? "body" : "head") + " to hang it on");
                p.missingTagSaid = true;
            }
            p.model->placement = found ? tag : drawables::Orientation{};
            if (p.part.model == &c_.head) head = p.model.get();
        }
    }
    Box bounds() const override {
        Box box;
        body_.mesh().addBounds(box);
        for (const Placed& p : parts_) p.model->addBounds(box);
        return box;
    }
    const Steps& steps() const override { return pose_.steps(); }
    std::vector<MeshLod> lod() const override { return {{c_.mesh.named, body_.lodFactor(), body_.mesh().lod()}}; }

private:
    // The hud head row `n` played on the head: its frames must lie inside
    // the head model's.
    bool prepareHeadAnim(int n, std::string& error) {
        const std::string named = c_.hudHeadAnims.named.empty() ? c_.file.named : c_.hudHeadAnims.named;
        if (static_cast<std::size_t>(n) >= c_.hudHeadRows.size()) {
            error = named + ": no hud head animation " + std::to_string(n) +
                    (c_.hudHeadRows.empty() ? std::string(" (the character has none)")
                                            : " (rows 0 to " + std::to_string(c_.hudHeadRows.size() - 1) + ")");
            return false;
        }
        if (head_ == nullptr) {
            error = c_.file.named + ": --head-anim needs the character's hud head, which is not drawn";
            return false;
        }
        const game::HudHeadRow& r = c_.hudHeadRows[static_cast<std::size_t>(n)];
        anim::Playback p;
        p.firstFrame = static_cast<std::uint32_t>(std::max(r.first, 0));
        p.numFrames = static_cast<std::uint32_t>(std::max(r.numFrames, 0));
        p.loopFrames = static_cast<std::uint32_t>(std::clamp(r.loopFrames, 0, r.numFrames > 0 ? r.numFrames : 0));
        p.frameMilliseconds = static_cast<std::uint32_t>(std::clamp(1000.0 / r.fps, 1.0, 60000.0));
        const anim::Span span = p.numFrames > 0 ? anim::spanOf(p) : anim::Span{};
        if (p.numFrames == 0 || r.first < 0 || span.low < 0 || span.high >= head_->numFrames()) {
            error = named + ":" + std::to_string(r.line) + ": hud head animation " + std::to_string(n) + " (frames " +
                    std::to_string(r.first) + " to " + std::to_string(r.first + r.numFrames - 1) +
                    ") lies past the head's " + std::to_string(head_->numFrames()) + " frames";
            return false;
        }
        headAnim_ = p;
        return true;
    }

    struct Placed {
        game::Part part;
        std::unique_ptr<drawables::Md3Model> model;
        bool missingTagSaid = false;
    };

    // One texture per surface name from the skin; the references stay held
    // by the scene until it goes.
    std::vector<IDirect3DTexture8*> textures(const game::SkinRef& skin, const std::vector<std::string>& names) {
        std::vector<IDirect3DTexture8*> out(names.size(), nullptr);
        if (!skin.read) return out;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const game::SkinSurface* s = skin.skin.surface(game::lowerAscii(names[i]));
            if (s == nullptr) continue;
            const game::Located at = game::findTexture(search_, s->shader);
            if (at.found()) out[i] = cache_.acquire(at.path);
            if (out[i] == nullptr)
                warnings_.push_back(skin.named + ": no image for the surface '" + names[i] + "' ('" + s->shader + "')");
            else
                held_.push_back(out[i]);
        }
        return out;
    }

    const game::Character& c_;
    const game::SearchPath& search_;
    std::vector<std::string>& warnings_;
    skin::TextureCache cache_;
    std::vector<IDirect3DTexture8*> held_;
    drawables::SkeletalBody body_;
    BodyPose pose_;
    std::vector<Placed> parts_;
    drawables::Md3Model* head_ = nullptr;  // among parts_
    std::optional<anim::Playback> headAnim_;
    IDirect3DDevice8* device_;
};

}  // namespace

FindRow characterRows(const game::Character& c) {
    return [&c](const std::string& name, Row& row, std::string& error) {
        const std::string key = game::lowerAscii(name);
        std::size_t skeleton = 0;
        for (const game::Animations::Mdx& m : c.animations.mdx) {
            if (!m.mdx.read) continue;
            for (const game::AnimRow& r : m.rows) {
                if (r.name != key) continue;
                row.playback = playbackOf(r);
                row.skeleton = skeleton;
                row.where = c.animations.files[r.file].name + ":" + std::to_string(r.line);
                return true;
            }
            ++skeleton;
        }
        error = "no animation '" + name + "' in " + c.animations.group.named + " (--list-anims lists them)";
        return false;
    };
}

std::unique_ptr<PosedScene> makeCharacterScene(IDirect3DDevice8* device, const game::Character& character,
                                               const game::SearchPath& search, const PoseRequest& pose,
                                               std::vector<std::string>& warnings, std::string& error) {
    auto scene = std::make_unique<CharacterScene>(device, character, search, warnings);
    if (!scene->load(pose, error)) return nullptr;
    return scene;
}

}  // namespace scene
