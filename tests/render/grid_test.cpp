// The reference grid against the recording device: the vertices it builds
// and uploads, its one draw call, and its failure paths.
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "recording_device.h"
#include "scoped_log.h"
#include "render/reference_grid.h"

namespace {

constexpr std::uint32_t kGrey = 0xFF808080;

std::vector<LineVertex> uploaded(const rec::VertexBuffer& vb) {
    std::vector<LineVertex> out(vb.data.size() / sizeof(LineVertex));
    std::memcpy(out.data(), vb.data.data(), out.size() * sizeof(LineVertex));
    return out;
}

void expectVertex(const LineVertex& v, float x, float y, float z, std::uint32_t colour) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_EQ(v.colour, colour);
}

// The six axis segments from `first` on, each half in its own colour.
void expectAxes(const std::vector<LineVertex>& v, std::size_t first) {
    expectVertex(v[first + 0], -1000, 0, 0, 0xFF000080);
    expectVertex(v[first + 1], 0, 0, 0, 0xFF000080);
    expectVertex(v[first + 2], 0, 0, 0, 0xFF0000FF);
    expectVertex(v[first + 3], 1000, 0, 0, 0xFF0000FF);
    expectVertex(v[first + 4], 0, -1000, 0, 0xFF008000);
    expectVertex(v[first + 5], 0, 0, 0, 0xFF008000);
    expectVertex(v[first + 6], 0, 0, 0, 0xFF00FF00);
    expectVertex(v[first + 7], 0, 1000, 0, 0xFF00FF00);
    expectVertex(v[first + 8], 0, 0, -1000, 0xFF800000);
    expectVertex(v[first + 9], 0, 0, 0, 0xFF800000);
    expectVertex(v[first + 10], 0, 0, 0, 0xFFFF0000);
    expectVertex(v[first + 11], 0, 0, 1000, 0xFFFF0000);
}

// Checks that the first 8n vertices are the grey lines of a grid of
// half-size n from -extent to +extent: 2n lines parallel to z at every
// whole x except 0, and 2n parallel to x at every whole z except 0.
void expectGreyLines(const std::vector<LineVertex>& v, int n, float extent) {
    std::multiset<float> alongZ;  // x of lines parallel to z
    std::multiset<float> alongX;  // z of lines parallel to x
    for (int line = 0; line < 4 * n; ++line) {
        const LineVertex& a = v[2 * line];
        const LineVertex& b = v[2 * line + 1];
        EXPECT_EQ(a.colour, kGrey);
        EXPECT_EQ(b.colour, kGrey);
        EXPECT_EQ(a.y, 0.0f);
        EXPECT_EQ(b.y, 0.0f);
        if (a.x == b.x) {
            EXPECT_FLOAT_EQ(a.z, -extent) << "line " << line;
            EXPECT_FLOAT_EQ(b.z, extent) << "line " << line;
            alongZ.insert(a.x);
        } else {
            EXPECT_EQ(a.z, b.z) << "line " << line;
            EXPECT_FLOAT_EQ(a.x, -extent) << "line " << line;
            EXPECT_FLOAT_EQ(b.x, extent) << "line " << line;
            alongX.insert(a.z);
        }
    }
    std::multiset<float> expected;
    for (int k = 1; k <= n; ++k) {
        expected.insert(static_cast<float>(k));
        expected.insert(static_cast<float>(-k));
    }
    EXPECT_EQ(alongZ, expected);
    EXPECT_EQ(alongX, expected);
}

TEST(ReferenceGrid, DefaultGridBuildsAndUploadsNinetyTwoVertices) {
    rec::RecordingDevice device;
    ReferenceGrid grid(&device, 10, 0.0f);

    ASSERT_EQ(grid.vertexCount(), 92u);
    ASSERT_EQ(device.vertexBuffers().size(), 1u);
    EXPECT_EQ(device.calls.front(), "CreateVertexBuffer(1472, 0, 0x42, 1)");
    const rec::VertexBuffer& vb = *device.vertexBuffers()[0];
    EXPECT_EQ(vb.pool, D3DPOOL_MANAGED);
    EXPECT_FALSE(vb.locked);

    const std::vector<LineVertex> v = uploaded(vb);
    ASSERT_EQ(v.size(), 92u);
    expectVertex(v[0], -10, 0, -10, kGrey);
    expectVertex(v[1], -10, 0, 10, kGrey);
    expectVertex(v[20], 1, 0, -10, kGrey);
    expectVertex(v[40], -10, 0, -10, kGrey);  // first line parallel to x, at z = -10
    expectVertex(v[79], 10, 0, 10, kGrey);    // last one, at z = 10
    expectGreyLines(v, 10, 10.0f);
    expectAxes(v, 80);
    EXPECT_EQ(0, std::memcmp(v.data(), grid.vertices().data(), 92 * sizeof(LineVertex)));
}

TEST(ReferenceGrid, OverhangExtendsEveryGreyLine) {
    rec::RecordingDevice device;
    ReferenceGrid grid(&device, 10, 0.5f);
    const std::vector<LineVertex> v = uploaded(*device.vertexBuffers()[0]);
    ASSERT_EQ(v.size(), 92u);
    expectVertex(v[0], -10, 0, -10.5f, kGrey);
    expectGreyLines(v, 10, 10.5f);
    expectAxes(v, 80);  // the axes keep their length
}

TEST(ReferenceGrid, HalfSizeZeroIsJustTheAxes) {
    rec::RecordingDevice device;
    ReferenceGrid grid(&device, 0, 0.0f);
    ASSERT_EQ(grid.vertexCount(), 12u);
    const std::vector<LineVertex> v = uploaded(*device.vertexBuffers()[0]);
    ASSERT_EQ(v.size(), 12u);
    expectAxes(v, 0);

    device.clearRecord();
    grid.draw(&device);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].count, 6u);
}

TEST(ReferenceGrid, DrawSetsItsOwnStateAndDrawsOneLineList) {
    rec::RecordingDevice device;
    ReferenceGrid grid(&device, 10, 0.0f);
    // Leave a non-identity world and lighting on, as a previous drawable might.
    D3DMATRIX world{};
    world.m[3][0] = 5.0f;
    device.SetTransform(D3DTS_WORLD, &world);
    device.SetRenderState(D3DRS_LIGHTING, TRUE);
    device.clearRecord();

    grid.draw(&device);
    const std::vector<std::string> expected = {
        "SetRenderState(137, 0)", "SetTransform(256)", "SetStreamSource(0, vb#1, 16)",
        "SetVertexShader(0x42)",  "DrawPrimitive(2, 0, 46)",
    };
    EXPECT_EQ(device.calls, expected);
    ASSERT_EQ(device.draws.size(), 1u);
    const rec::Draw& d = device.draws[0];
    EXPECT_EQ(d.lighting, static_cast<DWORD>(FALSE));
    EXPECT_EQ(d.stream, device.vertexBuffers()[0]);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(d.world.m[r][c], r == c ? 1.0f : 0.0f);
}

TEST(ReferenceGrid, DestructionReleasesTheBuffer) {
    rec::RecordingDevice device;
    { ReferenceGrid grid(&device, 10, 0.0f); }
    EXPECT_EQ(device.liveResources(), 0);
    EXPECT_EQ(device.callsStartingWith("Release(vb#1)").size(), 1u);
}

TEST(ReferenceGrid, FailedBufferCreationThrowsThePlainString) {
    rec::RecordingDevice device;
    device.createVertexBuffer.always = true;
    try {
        ReferenceGrid grid(&device, 10, 0.0f);
        FAIL() << "no exception";
    } catch (const char* payload) {
        EXPECT_STREQ(payload, "failed creating flexible vertex buffer");
    }
    EXPECT_EQ(device.liveResources(), 0);
}

TEST(ReferenceGrid, FailedLockIsSilentAndLeavesTheBufferAsCreated) {
    testing_support::ScopedLog log;
    const std::string before = log.text();
    rec::RecordingDevice device;
    device.lockVertexBuffer.always = true;

    ReferenceGrid grid(&device, 10, 0.0f);
    EXPECT_EQ(log.text(), before);
    const rec::VertexBuffer& vb = *device.vertexBuffers()[0];
    const std::vector<BYTE> asCreated(vb.data.size(), vb.data.front());
    EXPECT_EQ(vb.data, asCreated);
    EXPECT_NE(0, std::memcmp(vb.data.data(), grid.vertices().data(), vb.data.size()));
    EXPECT_TRUE(device.callsStartingWith("VB.Unlock").empty());
    // It still draws what the buffer holds.
    grid.draw(&device);
    EXPECT_EQ(device.draws.size(), 1u);
}

TEST(ReferenceGrid, WithoutADeviceItNeitherThrowsNorDraws) {
    ReferenceGrid grid(nullptr, 10, 0.0f);
    EXPECT_EQ(grid.vertexCount(), 92u);
    grid.draw(nullptr);
    rec::RecordingDevice device;
    grid.draw(&device);  // no buffer of its own: nothing to draw
    EXPECT_TRUE(device.calls.empty());
}

}  // namespace
