// Frame selection and skeleton evaluation: one frame's compressed bone
// records become one pose per bone in drawing axes, and the skeleton line
// buffer is rebuilt from the poses.
#include <bit>
#include <cstring>
#include <string>

#include "log/log.h"
#include "model/mds.h"

namespace {

// The float32 nearest to pi / 32768: radians per stored angle unit.
constexpr float kAngleUnit = std::bit_cast<float>(0x38C90FDBu);

float radians(std::int16_t value) { return static_cast<float>(value) * kAngleUnit; }

constexpr D3DCOLOR kLineStart = 0xFFFF0000u;     // red
constexpr D3DCOLOR kLineEnd = 0xFF00FF00u;       // green
constexpr D3DCOLOR kRightArmEnd = 0xFF0000FFu;   // blue
constexpr D3DCOLOR kHeadEnd = 0xFFFFFF00u;       // yellow

D3DCOLOR lineEndColor(const formats::MdsBone& bone) {
    const std::string name = formats::nameOf(bone.Name);
    if (name == "tag_armright") return kRightArmEnd;
    if (name == "tag_head") return kHeadEnd;
    return kLineEnd;
}

// A parent must come earlier in the list; any other ParentIndex (a later
// bone, the bone itself, outside the list) makes the bone a root.
bool hasParent(const formats::MdsBone& bone, std::uint32_t index) {
    return bone.ParentIndex >= 0 && static_cast<std::uint32_t>(bone.ParentIndex) < index;
}

}  // namespace

int MDS::setFrame(std::uint32_t frame) {
    if (!loaded_) return -1;
    if (frame >= static_cast<std::uint32_t>(header_.NumFrames)) return -2;
    evaluateSkeleton(frame);
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) skinSurface(s);
    return 1;
}

int MDS::evaluateSkeleton(std::uint32_t frame) {
    // setFrame has tested both; kept so that no direct call reads outside.
    if (!loaded_ || frame >= static_cast<std::uint32_t>(header_.NumFrames)) return -1;
    const formats::ByteView bytes = this->bytes();
    const auto numBones = static_cast<std::uint32_t>(header_.NumBones);
    // The pose array is reused: every entry is overwritten below.
    poses_.resize(numBones);

    const auto record = bytes.read<formats::MdsFrame>(positions_.frame(frame));
    const D3DXVECTOR3 rootOrigin(-record.ParentOffset[1], record.ParentOffset[2], record.ParentOffset[0]);

    for (std::uint32_t i = 0; i < numBones; ++i) {
        const auto angles = bytes.read<formats::CompressedBoneFrame>(positions_.boneFrame(frame, i));
        const auto bone = bytes.read<formats::MdsBone>(positions_.bone(i));
        BonePose& pose = poses_[i];

        D3DXMATRIX a, b;
        D3DXMatrixRotationY(&a, radians(angles.Yaw));
        D3DXMatrixRotationX(&b, -radians(angles.Pitch));
        D3DXMatrixMultiply(&pose.rotation, &a, &b);
        D3DXMatrixRotationZ(&b, radians(angles.Roll));
        D3DXMatrixMultiply(&pose.rotation, &pose.rotation, &b);

        D3DXMatrixRotationX(&a, radians(angles.OffsetPitch));
        D3DXMatrixRotationY(&b, -radians(angles.OffsetYaw));
        D3DXMatrixMultiply(&pose.offsetRotation, &a, &b);

        const D3DXVECTOR3 along(0.0f, 0.0f, bone.ParentDist);
        D3DXVECTOR3 d;
        D3DXVec3TransformCoord(&d, &along, &pose.offsetRotation);
        const D3DXVECTOR3& from = hasParent(bone, i) ? poses_[static_cast<std::size_t>(bone.ParentIndex)].position : rootOrigin;
        pose.position = D3DXVECTOR3(d.x + from.x, d.y + from.y, d.z + from.z);

        D3DXMatrixTranslation(&a, pose.position.x, pose.position.y, pose.position.z);
        D3DXMatrixMultiply(&pose.skinMatrix, &pose.rotation, &a);
    }
    return buildSkeletonLines() ? 1 : -1;
}

// One segment per bone: from the parent's position (the origin for a root)
// to the bone's own.
bool MDS::buildSkeletonLines() {
    if (skeletonLines_) {
        skeletonLines_->Release();
        skeletonLines_ = nullptr;
    }
    const auto numBones = static_cast<std::uint32_t>(poses_.size());
    const UINT size = numBones * 2u * kModelVertexStride;
    IDirect3DVertexBuffer8* vb = nullptr;
    if (!device_ || FAILED(device_->CreateVertexBuffer(size, 0, kModelVertexFvf, D3DPOOL_MANAGED, &vb)) || !vb) {
        pLog->printError("CreateVertexBuffer failed!");
        return false;
    }
    BYTE* data = nullptr;
    if (FAILED(vb->Lock(0, size, &data, 0)) || !data) {
        pLog->printError("Lock failed!");
        vb->Release();
        return false;
    }
    const formats::ByteView bytes = this->bytes();
    for (std::uint32_t i = 0; i < numBones; ++i) {
        const auto bone = bytes.read<formats::MdsBone>(positions_.bone(i));
        const D3DXVECTOR3 start = hasParent(bone, i) ? poses_[static_cast<std::size_t>(bone.ParentIndex)].position : D3DXVECTOR3();
        const D3DXVECTOR3& end = poses_[i].position;
        const ModelVertex segment[2] = {
            {start.x, start.y, start.z, kLineStart, 0.0f, 0.0f},
            {end.x, end.y, end.z, lineEndColor(bone), 0.0f, 0.0f},
        };
        std::memcpy(data + sizeof segment * i, segment, sizeof segment);
    }
    if (FAILED(vb->Unlock())) pLog->printError("Unlock failed - buffer still locked");
    skeletonLines_ = vb;
    return true;
}
