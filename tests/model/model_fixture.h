// Shared helpers of the body-model tests: models written by the fixture
// library into a temporary folder, loaded on a recording device with a log
// on a temporary file.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/mds.h"
#include "modelgen/mds_writer.h"
#include "platform/sys/faults.h"
#include "recording_device.h"
#include "scoped_log.h"

// Comparisons and printing for the math records (global, so that the test
// macros find them next to the types).
inline bool operator==(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline D3DXVECTOR3 operator-(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline bool operator==(const D3DMATRIX& a, const D3DMATRIX& b) { return std::memcmp(a.m, b.m, sizeof a.m) == 0; }
inline void PrintTo(const D3DXVECTOR3& v, std::ostream* os) { *os << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }
inline void PrintTo(const D3DXMATRIX& m, std::ostream* os) {
    for (int r = 0; r < 4; ++r)
        *os << "(" << m.m[r][0] << ", " << m.m[r][1] << ", " << m.m[r][2] << ", " << m.m[r][3] << ")";
}

namespace model_test {

inline formats::MdsWeight weight(std::int32_t bone, float w, float x, float y, float z) {
    return formats::MdsWeight{bone, w, {x, y, z}};
}

inline mg::MdsVertexDesc vertex(float u, float v, std::vector<formats::MdsWeight> weights) {
    mg::MdsVertexDesc d;
    d.texCoords = {u, v};
    d.weights = std::move(weights);
    return d;
}

inline formats::CompressedBoneFrame angles(std::int16_t pitch, std::int16_t yaw, std::int16_t roll,
                                       std::int16_t offsetPitch = 0, std::int16_t offsetYaw = 0) {
    return formats::CompressedBoneFrame{pitch, yaw, roll, 0, offsetPitch, offsetYaw};
}

// One surface of `n` single-weight vertices on bone 0 and one triangle.
inline mg::MdsSurfaceDesc plainSurface(const std::string& name, int n = 3) {
    mg::MdsSurfaceDesc s;
    s.name = name;
    for (int i = 0; i < n; ++i)
        s.vertices.push_back(vertex(0.1f * static_cast<float>(i), 0.5f, {weight(0, 1.0f, 1.0f, 2.0f, 3.0f)}));
    s.triangles = {{{0, 1, 2}}};
    return s;
}

// A model with one root bone, one frame of zero angles and the given surfaces.
inline mg::MdsModel oneBoneModel(std::vector<mg::MdsSurfaceDesc> surfaces) {
    mg::MdsModel m;
    m.name = "test";
    m.bones = {{"root", -1, 0.0f, 0.0f, 0}};
    m.frames.resize(1);
    m.surfaces = std::move(surfaces);
    return m;
}

// Reads vertex i of a recorded vertex buffer.
inline ModelVertex vertexAt(const rec::VertexBuffer* vb, std::size_t i) {
    ModelVertex v{};
    std::memcpy(&v, vb->data.data() + i * sizeof(ModelVertex), sizeof v);
    return v;
}

inline rec::VertexBuffer* recorded(IDirect3DVertexBuffer8* vb) { return dynamic_cast<rec::VertexBuffer*>(vb); }
inline rec::IndexBuffer* recorded(IDirect3DIndexBuffer8* ib) { return dynamic_cast<rec::IndexBuffer*>(ib); }

// Every test gets a log, a folder, a recording device and clean sys faults.
class ModelTest : public ::testing::Test {
protected:
    ~ModelTest() override { sys::clearSysFaults(); }

    std::string write(const mg::Bytes& bytes, const std::string& name = "body.mds") {
        dir.write(name, bytes.data(), bytes.size());
        return dir.file(name);
    }
    std::string write(const mg::MdsModel& model, const std::string& name = "body.mds") {
        return write(mg::writeMds(model).bytes, name);
    }

    // A fresh body on the recording device, loaded from the model.
    std::unique_ptr<MDS> load(const mg::MdsModel& model, int expected = 1) {
        auto mds = std::make_unique<MDS>(&device, "test");
        const std::string path = write(model);
        EXPECT_EQ(mds->loadFromFile(path.c_str()), expected);
        return mds;
    }

    const BonePose& pose(const MDS& mds, std::size_t i) { return mds.poses().at(i); }

    testing_support::ScopedLog log;
    testing_support::TempDir dir;
    rec::RecordingDevice device;
};

constexpr const char* kErrorOpen = "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ";
constexpr const char* kOkOpen = "<p style=\"color: green; background-color: transparent;\"><b>OK:</b> ";

inline std::string errorLine(const std::string& text) { return kErrorOpen + text + "</p>\n"; }
inline std::string okLine(const std::string& text) { return kOkOpen + text + "</p>\n"; }

}  // namespace model_test
