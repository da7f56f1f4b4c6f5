#include "export/load_character.h"

#include <algorithm>

#include "export/load_model.h"
#include "export/textures.h"
#include "game/game_path.h"

namespace exporter {

namespace {

// The skeleton the asset's body stands on: the first MDX read.
const game::Animations::Mdx* skeletonOf(const game::Character& c) {
    for (const game::Animations::Mdx& m : c.animations.mdx)
        if (m.mdx.read) return &m;
    return nullptr;
}

class CharacterLoader {
public:
    CharacterLoader(const game::Character& c, const game::SearchPath& search, Asset& asset)
        : c_(c), search_(search), asset_(asset), textures_(asset) {}

    bool load(std::string& error) {
        const game::Animations::Mdx* skeleton = skeletonOf(c_);
        if (!c_.mesh.read || skeleton == nullptr) {
            error = c_.file.named + (c_.mesh.read ? ": no skeleton of the animation group can be read"
                                                  : ": the character's mesh cannot be read");
            return false;
        }
        auto mesh = readModelFile(c_.mesh.at.path, c_.mesh.named, error);
        auto mdx = mesh ? readModelFile(skeleton->mdx.at.path, skeleton->mdx.named, error) : nullptr;
        if (!mdx || !addMdm(asset_, std::move(mesh), c_.mesh.named, std::move(mdx), skeleton->mdx.named, error))
            return false;
        asset_.name = c_.file.named.substr(c_.file.named.find_last_of('/') + 1);
        if (const std::size_t dot = asset_.name.find('.'); dot != std::string::npos) asset_.name.resize(dot);
        for (SkinnedSurface& s : asset_.skinned) s.material = material(c_.bodySkin, s.name);

        int head = -1;
        for (const game::Part& part : game::partsOf(c_)) {
            std::string why;
            auto file = readModelFile(part.model->at.path, part.model->named, why);
            if (!file || !addFrameModel(asset_, *file, part.model->named, why)) {
                asset_.warnings.push_back(std::string("no ") + part.key + ": " + why);
                continue;
            }
            const int index = static_cast<int>(asset_.models.size() - 1);
            FrameModel& model = asset_.models.back();
            model.name = part.key;
            if (part.on == game::Parent::Body)
                model.mount.tag = tagOnBody(part.tag);
            else if (head >= 0)
                mountOnModel(model.mount, head, part.tag);
            if (model.mount.tag < 0 && model.mount.model < 0)
                asset_.warnings.push_back(std::string(part.key) + ": no " + part.tag + " to hang it on; left at the root");
            for (FrameSurface& s : model.surfaces) s.material = material(*part.skin, s.name);
            if (part.model == &c_.head) head = index;
        }
        return true;
    }

private:
    int tagOnBody(const char* name) const {
        for (std::size_t t = 0; t < asset_.tags.size(); ++t)
            if (asset_.tags[t].name == name) return static_cast<int>(t);
        return -1;
    }
    void mountOnModel(Mount& mount, int model, const char* tag) const {
        const std::vector<FrameTag>& tags = asset_.models[static_cast<std::size_t>(model)].tags;
        for (std::size_t t = 0; t < tags.size(); ++t)
            if (tags[t].name == tag) {
                mount.model = model;
                mount.modelTag = static_cast<int>(t);
            }
    }

    int material(const game::SkinRef& skin, const std::string& surface) {
        const game::SkinSurface* s = skin.read ? skin.skin.surface(game::lowerAscii(surface)) : nullptr;
        if (s == nullptr) {
            if (skin.read) asset_.warnings.push_back("no entry for the surface '" + surface + "' in " + skin.named);
            return textures_.plainMaterial(surface);
        }
        // The file the game takes, without its extension: Textures tries .jpg, then .tga.
        const game::Located at = game::findTexture(search_, s->shader);
        std::string base = at.found() ? at.path : s->shader;
        if (const std::size_t dot = base.rfind('.'); dot != std::string::npos && base.find('/', dot) == std::string::npos)
            base.resize(dot);
        return textures_.material(s->shader, base, "", "the surface '" + surface + "' in " + skin.named);
    }

    const game::Character& c_;
    const game::SearchPath& search_;
    Asset& asset_;
    Textures textures_;
};

Clip clipOf(const game::AnimRow& r, const std::string& source) {
    Clip c;
    c.name = r.name;
    c.firstFrame = static_cast<std::uint32_t>(std::max(r.first, 0));
    c.numFrames = static_cast<std::uint32_t>(std::max(r.numFrames, 0));
    c.loopFrames = r.loopFrames < 0 ? c.numFrames : std::min(static_cast<std::uint32_t>(r.loopFrames), c.numFrames);
    c.fps = r.fps;
    c.reversed = r.reversed;
    c.source = source;
    return c;
}

}  // namespace

bool loadCharacter(const game::Character& character, const game::SearchPath& search, Asset& asset,
                   std::string& error) {
    return CharacterLoader(character, search, asset).load(error);
}

bool addCharacterClips(const game::Character& c, const std::vector<std::string>& names, Asset& asset,
                       std::string& error, bool anySkeleton) {
    const game::Animations::Mdx* skeleton = skeletonOf(c);
    std::vector<std::pair<const game::Animations::Mdx*, int>> loaded;  // further MDX files as row skeletons
    // The row's skeleton (Row::skeleton), or -1 with why it cannot be one.
    const auto skeletonFor = [&](const game::Animations::Mdx& m, const std::string& place, std::string& why) {
        if (&m == skeleton) return 0;
        if (!anySkeleton || !m.mdx.read) {
            why = place + " plays on " + m.mdx.named + ", not on " +
                  (skeleton ? skeleton->mdx.named : std::string("the skeleton"));
            return -1;
        }
        for (const auto& [mdx, k] : loaded)
            if (mdx == &m) return k;
        auto file = readModelFile(m.mdx.at.path, m.mdx.named, why);
        const int k = file ? addRowSkeleton(asset, std::move(file), m.mdx.named, why) : -1;
        if (k < 0) why = place + ": " + why;
        if (k > 0) loaded.emplace_back(&m, k);
        return k;
    };
    // Why the row cannot be a clip of its skeleton; "" when it can.
    const auto refusal = [&](const game::Animations::Mdx& m, const game::AnimRow& r, const std::string& where,
                             int& k) {
        const std::string place = "animation '" + r.name + "' (" + where + ")";
        std::string why;
        k = skeletonFor(m, place, why);
        if (k < 0) return why;
        const std::uint32_t frames = asset.skeletonOf(k).numFrames;
        if (r.first < 0 || r.numFrames <= 0 || static_cast<std::uint32_t>(r.first) + static_cast<std::uint32_t>(r.numFrames) > frames)
            return place + " lies past the skeleton's " + std::to_string(frames) + " frames";
        return std::string();
    };
    std::vector<Clip> clips;
    for (const game::Animations::Mdx& m : c.animations.mdx)
        for (const game::AnimRow& r : m.rows) {
            const std::string where = c.animations.files[r.file].name + ":" + std::to_string(r.line);
            const bool named = names.empty() || std::find(names.begin(), names.end(), r.name) != names.end();
            if (!named) continue;
            int k = 0;
            if (const std::string why = refusal(m, r, where, k); !why.empty()) {
                if (!names.empty()) {
                    error = why;
                    return false;
                }
                asset.warnings.push_back(why + ": left out");
                continue;
            }
            clips.push_back(clipOf(r, where));
            clips.back().skeleton = k;
        }
    for (const std::string& name : names)
        if (std::none_of(clips.begin(), clips.end(), [&](const Clip& x) { return x.name == name; })) {
            error = "no animation '" + name + "' in " + c.animations.group.named;
            return false;
        }
    // Named: in the order given.
    if (!names.empty())
        std::stable_sort(clips.begin(), clips.end(), [&](const Clip& a, const Clip& b) {
            return std::find(names.begin(), names.end(), a.name) < std::find(names.begin(), names.end(), b.name);
        });
    asset.clips.insert(asset.clips.end(), clips.begin(), clips.end());
    return true;
}

}  // namespace exporter
