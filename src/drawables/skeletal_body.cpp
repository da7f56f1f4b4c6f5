#include "drawables/skeletal_body.h"

#include <algorithm>

#include "drawables/model_file.h"
#include "formats/families/split_pose.h"

namespace drawables {

namespace {

std::string refusal(const std::string& path, const std::optional<formats::Finding>& finding, const char* format) {
    return path + ": damaged: " + (finding ? finding->message : std::string("not an ") + format + " file");
}

}  // namespace

bool SkeletalBody::loadMesh(const std::string& path, std::string& error) {
    formats::Format format = formats::Format::Unknown;
    if (!readModelFile(path, format, meshBytes_, error)) return false;
    if (format != formats::Format::Mds && format != formats::Format::Mdm) {
        error = path + ": an MDS or MDM mesh was expected, not an " + formats::formatInfo(format).name + " file";
        return false;
    }
    meshPath_ = path;
    const formats::ByteView bytes(meshBytes_.data(), meshBytes_.size());
    if (format == formats::Format::Mds) {
        mds_ = std::make_unique<formats::MdsIndex>(formats::indexMds(bytes, formats::Reader::Draw));
        if (!mds_->ok() || !mds_->readable) {
            error = refusal(path, mds_->refusal, "MDS");
            mds_.reset();
            return false;
        }
        mesh_ = std::make_unique<SkinnedMesh>(device_, bytes, *mds_, formats::LodRounding::Truncate);
    } else {
        mdm_ = std::make_unique<formats::MdmIndex>(formats::indexMdm(bytes, formats::Reader::Draw));
        if (!mdm_->ok() || !mdm_->readable) {
            error = refusal(path, mdm_->refusal, "MDM");
            mdm_.reset();
            return false;
        }
        mesh_ = std::make_unique<SkinnedMesh>(device_, bytes, *mdm_, formats::LodRounding::Round);
    }
    return true;
}

int SkeletalBody::addSkeleton(const std::string& path, std::string& error) {
    auto s = std::make_unique<Skeleton>();
    formats::Format format = formats::Format::Mdx;
    if (!readModelFile(path, format, s->bytes, error)) return -1;
    s->index = formats::indexMdx(formats::ByteView(s->bytes.data(), s->bytes.size()), formats::Reader::Draw);
    if (!s->index.ok() || !s->index.readable) {
        error = refusal(path, s->index.refusal, "MDX");
        return -1;
    }
    s->path = path;
    skeletons_.push_back(std::move(s));
    return static_cast<int>(skeletons_.size() - 1);
}

const formats::SkeletonIndex& SkeletalBody::skeletonIndex(std::size_t k) const {
    if (mds_) return *mds_;
    return skeletons_[k]->index;
}

formats::ByteView SkeletalBody::skeletonBytes(std::size_t k) const {
    if (mds_) return formats::ByteView(meshBytes_.data(), meshBytes_.size());
    return formats::ByteView(skeletons_[k]->bytes.data(), skeletons_[k]->bytes.size());
}

std::uint32_t SkeletalBody::numFrames(std::size_t k) const {
    if (k >= numSkeletons()) return 0;
    return static_cast<std::uint32_t>(std::max<std::int64_t>(skeletonIndex(k).frames.count, 0));
}

const std::string& SkeletalBody::skeletonPath(std::size_t k) const { return mds_ ? meshPath_ : skeletons_[k]->path; }

float SkeletalBody::lodScale() const { return mds_ ? mds_->header.LodScale : mdm_ ? mdm_->header.LodScale : 1.0f; }
float SkeletalBody::lodBias() const { return mds_ ? mds_->header.LodBias : mdm_ ? mdm_->header.LodBias : 0.0f; }

void SkeletalBody::pose(const PartFrame& legs, const PartFrame& torso, const float (&torsoAxis)[3][3]) {
    const auto inside = [this](const PartFrame& p) {
        return p.skeleton < numSkeletons() && p.frame < numFrames(p.skeleton) &&
               (p.lerp <= 0.0f || p.next < numFrames(p.skeleton));
    };
    if (!mesh_ || !inside(legs) || !inside(torso)) return;
    const auto part = [this](const PartFrame& p) {
        formats::IndexedFrame f;
        f.index = &skeletonIndex(p.skeleton);
        f.bytes = skeletonBytes(p.skeleton);
        f.frame = p.frame;
        f.next = p.next;
        f.lerp = p.lerp;
        return f;
    };
    formats::TorsoTurn turn;
    turn.torsoParent = mds_ ? mds_->header.TorsoParent : skeletons_[legs.skeleton]->index.header.TorsoParent;
    std::copy(&torsoAxis[0][0], &torsoAxis[0][0] + 9, &turn.axis[0][0]);
    const formats::IndexedFrame l = part(legs);
    formats::evaluateSplitPose(skeletonIndex(legs.skeleton), skeletonBytes(legs.skeleton), l, part(torso), turn,
                               isMds(), bones_);
    radius_ = l.bytes.read<formats::MdsFrame>(l.index->frame(legs.frame)).Radius;
    const float factor =
        lod_.byDistance ? formats::lodFactor(radius_, lod_.value, lodScale(), lodBias()) : lod_.value;
    if (factor != appliedLod_) mesh_->setLod(factor);
    appliedLod_ = factor;
    mesh_->pose(bones_);
}

bool SkeletalBody::bone(std::uint32_t index, Orientation& out) const {
    if (index >= bones_.size()) return false;
    const formats::BonePose3& b = bones_[index];
    std::copy(b.origin, b.origin + 3, out.origin);
    std::copy(&b.turn[0][0], &b.turn[0][0] + 9, &out.axis[0][0]);
    return true;
}

bool SkeletalBody::tag(const std::string& name, Orientation& out) const {
    const formats::ByteView bytes(meshBytes_.data(), meshBytes_.size());
    if (mds_) {
        if (!mds_->tags.inside) return false;
        for (std::int64_t t = 0; t < mds_->tags.count; ++t) {
            const auto tag = bytes.read<formats::MdsTag>(mds_->tag(t));
            if (formats::nameOf(tag.Name) == name && tag.BoneIndex >= 0)
                return bone(static_cast<std::uint32_t>(tag.BoneIndex), out);
        }
        return false;
    }
    if (!mdm_) return false;
    for (const formats::MdmTagIndex& t : mdm_->tags) {
        if (t.name != name || !bytes.has(t.at, sizeof(formats::MdmTag))) continue;
        const auto tag = bytes.read<formats::MdmTag>(t.at);
        if (tag.BoneIndex < 0 || static_cast<std::size_t>(tag.BoneIndex) >= bones_.size()) return false;
        float axis[3][3];
        std::copy(tag.Axis, tag.Axis + 9, &axis[0][0]);
        out = onBone(bones_[static_cast<std::size_t>(tag.BoneIndex)], axis, tag.Offset);
        return true;
    }
    return false;
}

}  // namespace drawables
