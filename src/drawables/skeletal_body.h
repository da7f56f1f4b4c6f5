// A skeletal body: the weighted mesh of an MDS file with its own skeleton,
// or of an MDM file with one or more MDX skeletons (the files of an
// animation group), posed the games' way with the legs and the torso each
// at a frame (or between two) of their own skeleton file and the torso
// turned about its parent bone (formats::evaluateSplitPose), drawn through
// a SkinnedMesh; its tags (MDS: the tag's bone; MDM: the tag on its bone)
// and its bones at the shown pose.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawables/orientation.h"
#include "drawables/skinned_mesh.h"
#include "formats/mdm_index.h"
#include "formats/mds_index.h"
#include "formats/mdx_index.h"
#include "platform/sys/whole_file.h"

namespace drawables {

// One part's frame: skeleton file `skeleton` (0 for an MDS body's own),
// `frame` moved `lerp` of the way to `next`.
struct PartFrame {
    std::size_t skeleton = 0;
    std::uint32_t frame = 0, next = 0;
    float lerp = 0.0f;
};

// Level of detail: a factor (1 draws every vertex), or the distance the
// engine would compute one from (formats::lodFactor with its defaults).
struct LodChoice {
    bool byDistance = false;
    float value = 1.0f;
};

class SkeletalBody {
public:
    explicit SkeletalBody(IDirect3DDevice8* device) : device_(device) {}
    SkeletalBody(const SkeletalBody&) = delete;
    SkeletalBody& operator=(const SkeletalBody&) = delete;

    // An MDS file (mesh and skeleton) or an MDM mesh; false with one line.
    bool loadMesh(const std::string& path, std::string& error);
    // An MDX skeleton for an MDM mesh; its number, or -1 with one line.
    int addSkeleton(const std::string& path, std::string& error);

    bool isMds() const { return mds_ != nullptr; }
    std::size_t numSkeletons() const { return isMds() ? 1 : skeletons_.size(); }
    std::uint32_t numFrames(std::size_t skeleton) const;
    const std::string& skeletonPath(std::size_t skeleton) const;

    // Poses bones and mesh: the legs' frame for bones of torso weight 0, the
    // torso's for 1, between them by weight; then the torso turned by
    // `torsoAxis` (rows forward, left, up). Frames must lie below numFrames.
    void pose(const PartFrame& legs, const PartFrame& torso, const float (&torsoAxis)[3][3]);
    // Applied from the next pose on.
    void setLod(const LodChoice& lod) { lod_ = lod; }
    // The factor of the last pose.
    float lodFactor() const { return appliedLod_; }
    // The radius of the legs frame last posed (for the engine's level of detail).
    float frameRadius() const { return radius_; }
    float lodScale() const;
    float lodBias() const;

    const std::vector<formats::BonePose3>& bones() const { return bones_; }
    // A tag at the shown pose; false when there is none of that name.
    bool tag(const std::string& name, Orientation& out) const;
    // A bone as the viewer hangs models on it (origin, the turn's rows);
    // false for a bone without a pose.
    bool bone(std::uint32_t index, Orientation& out) const;

    SkinnedMesh& mesh() { return *mesh_; }
    const SkinnedMesh& mesh() const { return *mesh_; }

private:
    struct Skeleton {
        std::string path;
        sys::Block bytes;
        formats::MdxIndex index;
    };
    const formats::SkeletonIndex& skeletonIndex(std::size_t k) const;
    formats::ByteView skeletonBytes(std::size_t k) const;

    IDirect3DDevice8* device_;
    std::string meshPath_;
    sys::Block meshBytes_;
    std::unique_ptr<formats::MdsIndex> mds_;
    std::unique_ptr<formats::MdmIndex> mdm_;
    std::vector<std::unique_ptr<Skeleton>> skeletons_;
    std::unique_ptr<SkinnedMesh> mesh_;
    std::vector<formats::BonePose3> bones_;
    float radius_ = 0.0f;
    LodChoice lod_;
    float appliedLod_ = 1.0f;
};

}  // namespace drawables
