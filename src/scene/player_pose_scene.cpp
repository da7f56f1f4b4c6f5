#include "scene/player_pose_scene.h"

#include "drawables/skeletal_body.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "scene/drawn_player.h"
#include "scene/rtcw_rows.h"

namespace scene {

namespace {

class Figure : public Renderable {
public:
    Figure(drawables::SkeletalBody& body, MDS& viewerBody, bool meshVisible)
        : body_(body), viewerBody_(viewerBody), meshVisible_(meshVisible) {}
    void draw(IDirect3DDevice8* device) override {
        if (meshVisible_) body_.mesh().draw(device);
        forEachHung([device](MDC& model, const D3DXMATRIX& world) {
            model.world = world;
            model.draw(device);
        });
    }
    // The mesh (while shown) and the models hung on its bones.
    void addBounds(Box& box) const {
        if (meshVisible_) body_.mesh().addBounds(box);
        forEachHung([&box](const MDC& model, const D3DXMATRIX& world) { addPlaced(box, model, world); });
    }

private:
    // Each model the viewer's body holds, with where it hangs on the pose.
    template <class Visit>
    void forEachHung(Visit visit) const {
        for (int slot = MDS::BeltLeft; slot < MDS::SlotCount; ++slot) {
            MDC* model = viewerBody_.attachment(static_cast<MDS::Slot>(slot));
            drawables::Orientation at;
            if (model && body_.bone(MDS::kSlotBone[slot], at)) visit(*model, drawables::worldMatrix(at));
        }
    }
    drawables::SkeletalBody& body_;
    MDS& viewerBody_;
    bool meshVisible_;
};

class PlayerPoseScene : public PosedScene {
public:
    PlayerPoseScene(IDirect3DDevice8* device, PlayerFiles files, bool meshVisible)
        : player_(device, std::move(files)), body_(device), meshVisible_(meshVisible) {}

    bool load(const PoseRequest& request, std::string& error) {
        if (!player_.loadBody(0)) {
            std::string text = kBodyNotLoaded;
            for (char& c : text) c = c == '\n' ? ' ' : c;
            error = text + " (" + player_.files().modelDir + ")";
            return false;
        }
        player_.dress();
        const std::string& dir = player_.files().modelDir;
        if (!body_.loadMesh(dir + "\\body.mds", error)) return false;
        if (!pose_.prepare(body_, request, wolfanimRows(dir), error)) return false;
        if (pose_.steps().count() == 0) {
            error = dir + "\\body.mds has no frames";
            return false;
        }
        body_.setLod(request.lod);
        body_.mesh().shareTextures(player_.body()->textures());
        figure_ = std::make_unique<Figure>(body_, *player_.body(), meshVisible_);
        return true;
    }
    std::vector<Renderable*> renderables() override { return {figure_.get()}; }
    void setStep(std::uint32_t step) override { pose_.apply(body_, step); }
    Box bounds() const override {
        Box box;
        figure_->addBounds(box);
        return box;
    }
    const Steps& steps() const override { return pose_.steps(); }
    std::vector<MeshLod> lod() const override {
        return {{player_.files().modelDir + "\\body.mds", body_.lodFactor(), body_.mesh().lod()}};
    }

private:
    PlayerScene player_;
    drawables::SkeletalBody body_;
    BodyPose pose_;
    bool meshVisible_;
    std::unique_ptr<Figure> figure_;
};

}  // namespace

std::unique_ptr<PosedScene> makePlayerPoseScene(IDirect3DDevice8* device, PlayerFiles files,
                                                const PoseRequest& pose, bool meshVisible, std::string& error) {
    auto scene = std::make_unique<PlayerPoseScene>(device, std::move(files), meshVisible);
    if (!scene->load(pose, error)) return nullptr;
    return scene;
}

}  // namespace scene
