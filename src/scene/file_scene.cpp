#include "scene/file_scene.h"

#include "drawables/md3_model.h"
#include "drawables/model_file.h"
#include "drawables/skeletal_body.h"
#include "formats/mdc_index.h"
#include "model/mdc.h"
#include "scene/rtcw_rows.h"
#include "skin/skin.h"
#include "skin/texture_cache.h"

namespace scene {

namespace {

// What every single-file scene holds: the textures of its load and its skin.
struct Textures {
    Textures(IDirect3DDevice8* device, const FileRequest& r)
        : dir(folderOf(r.path)), name(folderName(dir)), cache(device), skin(name.c_str()) {
        hasSkin = !r.skin.empty();
        if (hasSkin) skin.load(r.skin.c_str());
    }
    std::string dir, name;
    skin::TextureCache cache;
    Skin skin;
    bool hasSkin = false;
};

class Md3Scene : public PosedScene {
public:
    Md3Scene(IDirect3DDevice8* device, const FileRequest& r) : textures_(device, r), model_(device) {}
    bool load(const FileRequest& r, std::string& error) {
        if (!model_.load(r.path, error)) return false;
        if (textures_.hasSkin)
            model_.skinTextures(textures_.cache, textures_.dir.c_str(), &textures_.skin);
        else
            model_.shaderTextures(textures_.cache, textures_.name.c_str(), textures_.dir.c_str());
        steps_ = Steps::frames(model_.numFrames());
        return true;
    }
    std::vector<Renderable*> renderables() override { return {&model_}; }
    void setStep(std::uint32_t step) override { model_.setFrame(steps_.legs(step).frame); }
    Box bounds() const override {
        Box box;
        model_.addBounds(box);
        return box;
    }
    const Steps& steps() const override { return steps_; }

private:
    Textures textures_;
    drawables::Md3Model model_;
    Steps steps_;
};

// The viewer's MDC model, as the viewer draws it (base frames, its fifth
// surface hidden).
class MdcScene : public PosedScene {
public:
    MdcScene(IDirect3DDevice8* device, const FileRequest& r) : textures_(device, r), model_(device) {}
    bool load(const FileRequest& r, std::string& error) {
        if (model_.loadFromFile(r.path.c_str()) < 0) {
            error = r.path + ": the MDC model cannot be loaded (log.htm says why)";
            return false;
        }
        index_ = formats::indexMdc(model_.bytes(), formats::Reader::Draw);
        if (textures_.hasSkin)
            model_.applySkin(textures_.dir.c_str(), &textures_.skin, &textures_.cache);
        else
            model_.loadShaderTextures(textures_.name.c_str(), textures_.dir.c_str(), &textures_.cache);
        steps_ = Steps::frames(index_.numFrames());
        return true;
    }
    std::vector<Renderable*> renderables() override { return {&model_}; }
    void setStep(std::uint32_t step) override {
        frame_ = step;
        model_.setFrame(step);
    }
    Box bounds() const override {
        Box box;
        const formats::ByteView bytes = model_.bytes();
        for (const formats::MdcSurfaceIndex& s : index_.surfaces) {
            if (!s.frameBaseFrames.inside || frame_ >= s.frameBaseFrames.count) continue;
            const std::uint16_t base = formats::mdcBaseFrame(bytes, s, frame_);
            for (std::int64_t k = 0; k < s.numVertices(); ++k) {
                const std::int64_t at = s.baseVertex(base, k);
                if (!bytes.has(at, sizeof(formats::MdcBaseVertex))) break;
                const auto v = bytes.read<formats::MdcBaseVertex>(at);
                box.add(v.x * formats::kMdcVertexScale, v.y * formats::kMdcVertexScale, v.z * formats::kMdcVertexScale);
            }
        }
        return box;
    }
    const Steps& steps() const override { return steps_; }

private:
    Textures textures_;
    MDC model_;
    formats::MdcIndex index_;
    std::uint32_t frame_ = 0;
    Steps steps_;
};

class SkeletalScene : public PosedScene {
public:
    SkeletalScene(IDirect3DDevice8* device, const FileRequest& r) : textures_(device, r), body_(device) {}
    bool load(const FileRequest& r, std::string& error) {
        if (!body_.loadMesh(r.path, error)) return false;
        for (const std::string& skeleton : r.skeletons)
            if (body_.addSkeleton(skeleton, error) < 0) return false;
        const FindRow rows = body_.isMds() ? wolfanimRows(textures_.dir) : FindRow(noRows);
        if (!pose_.prepare(body_, r.pose, rows, error)) return false;
        if (pose_.steps().count() == 0) {
            error = body_.skeletonPath(0) + ": the skeleton has no frames to pose the mesh with";
            return false;
        }
        body_.setLod(r.pose.lod);
        if (textures_.hasSkin)
            body_.mesh().skinTextures(textures_.cache, textures_.dir.c_str(), &textures_.skin);
        else
            body_.mesh().shaderTextures(textures_.cache, textures_.name.c_str(), textures_.dir.c_str());
        name_ = r.path;
        return true;
    }
    std::vector<Renderable*> renderables() override { return {&body_.mesh()}; }
    void setStep(std::uint32_t step) override { pose_.apply(body_, step); }
    Box bounds() const override {
        Box box;
        body_.mesh().addBounds(box);
        return box;
    }
    const Steps& steps() const override { return pose_.steps(); }
    std::vector<MeshLod> lod() const override { return {{name_, body_.lodFactor(), body_.mesh().lod()}}; }

private:
    static bool noRows(const std::string& name, Row&, std::string& error) {
        error = "animation '" + name + "': a mesh alone has no animation rows (draw its character with --char)";
        return false;
    }
    Textures textures_;
    drawables::SkeletalBody body_;
    BodyPose pose_;
    std::string name_;
};

template <class Scene>
std::unique_ptr<PosedScene> made(IDirect3DDevice8* device, const FileRequest& r, std::string& error) {
    auto scene = std::make_unique<Scene>(device, r);
    if (!scene->load(r, error)) return nullptr;
    return scene;
}

bool posesWithRows(const PoseRequest& p) { return !p.anim.empty() || !p.legs.empty(); }

}  // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string folderName(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && (f.back() == '/' || f.back() == '\\')) f.pop_back();
    const std::size_t slash = f.find_last_of("/\\");
    return slash == std::string::npos ? f : f.substr(slash + 1);
}

FileFit checkFileRequest(const FileRequest& r, formats::Format& format, std::string& error) {
    format = formats::Format::Unknown;
    {
        sys::Block bytes;
        if (!drawables::readModelFile(r.path, format, bytes, error)) return FileFit::Unreadable;
    }
    const bool frameModel = format == formats::Format::Md3 || format == formats::Format::Mdc;
    if (frameModel && posesWithRows(r.pose)) {
        error = r.path + ": --anim, --legs and --torso pose skeletal bodies; an " +
                formats::formatInfo(format).name + " model has frames only (--frame, --frames)";
        return FileFit::Misfit;
    }
    if (format == formats::Format::Mdm && r.skeletons.empty()) {
        error = r.path + ": an MDM mesh holds no skeleton: give its MDX file with --skeleton (or draw its character with --char)";
        return FileFit::Misfit;
    }
    if (format == formats::Format::Mdx) {
        error = r.path + ": an MDX file is a skeleton without a mesh: draw an MDM mesh with --skeleton " + r.path +
                ", or a character with --char";
        return FileFit::Misfit;
    }
    if (format != formats::Format::Mdm && !r.skeletons.empty()) {
        error = r.path + ": --skeleton poses an MDM mesh; an " + formats::formatInfo(format).name +
                " model holds its own frames";
        return FileFit::Misfit;
    }
    return FileFit::Fits;
}

std::unique_ptr<PosedScene> makeFileScene(IDirect3DDevice8* device, const FileRequest& r, std::string& error) {
    formats::Format format = formats::Format::Unknown;
    if (checkFileRequest(r, format, error) != FileFit::Fits) return nullptr;
    switch (format) {
        case formats::Format::Md3: return made<Md3Scene>(device, r, error);
        case formats::Format::Mdc: return made<MdcScene>(device, r, error);
        case formats::Format::Mds:
        case formats::Format::Mdm: return made<SkeletalScene>(device, r, error);
        case formats::Format::Mdx:
        case formats::Format::Unknown: break;
    }
    error = r.path + ": not a model file";
    return nullptr;
}

}  // namespace scene
