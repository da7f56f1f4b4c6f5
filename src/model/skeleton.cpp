// Frame selection and skeleton evaluation: one frame's compressed bone
// records become one pose per bone (formats/families/skeleton.h, in the file's axes),
// turned into drawing axes, and the skeleton line buffer is rebuilt from the
// poses.
#include <cstring>
#include <string>

#include "formats/families/skeleton.h"
#include "log/log.h"
#include "model/mds.h"

namespace {

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

// A turn of the file's axes as a rotation matrix of the drawing axes.
D3DXMATRIX drawingMatrix(const float (&turn)[3][3]) {
    float r[3][3];
    formats::drawingTurn(turn, r);
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) m(a, b) = r[a][b];
    return m;
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
    for (std::uint32_t s = 0; s < index_.surfaces.size(); ++s) skinSurface(s);
    return 1;
}

int MDS::evaluateSkeleton(std::uint32_t frame) {
    // setFrame has tested both; kept so that no direct call reads outside.
    if (!loaded_ || frame >= static_cast<std::uint32_t>(header_.NumFrames)) return -1;
    std::vector<formats::BonePose3> file;
    formats::evaluatePose(index_, bytes(), frame, file);
    // The pose array is reused: every entry is overwritten below.
    poses_.resize(file.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        BonePose& pose = poses_[i];
        const formats::BonePose3& p = file[i];
        pose.rotation = drawingMatrix(p.turn);
        pose.offsetRotation = drawingMatrix(p.offsetTurn);
        float at3[3];
        formats::drawingPoint(p.origin, at3);
        pose.position = D3DXVECTOR3(at3[0], at3[1], at3[2]);
        D3DXMATRIX at;
        D3DXMatrixTranslation(&at, pose.position.x, pose.position.y, pose.position.z);
        D3DXMatrixMultiply(&pose.skinMatrix, &pose.rotation, &at);
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
        const auto bone = bytes.read<formats::MdsBone>(index_.bone(i));
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
