// Files whose records leave the bytes: every truncation of a good file and a
// set of damaged counts and offsets fail the load without reading outside,
// and values that only index the bone list never read outside the poses.
#include <algorithm>

#include "model_fixture.h"
#include "modelgen/samples.h"

namespace model_test {
namespace {

using BoundsTest = ModelTest;

// Loads, and when that works evaluates every frame and draws: everything
// the model reads from the file.
int loadAndUse(MDS& mds, const std::string& path, rec::RecordingDevice& device) {
    const int result = mds.loadFromFile(path.c_str());
    if (result == 1) {
        for (std::uint32_t f = 0; f < mds.numFrames(); ++f) EXPECT_EQ(mds.setFrame(f), 1);
        mds.draw(&device);
    }
    return result;
}

TEST_F(BoundsTest, EveryTruncationFailsUntilTheLastRecordTheViewerReads) {
    const mg::MdsImage img = mg::writeMds(mg::sampleMds());
    // The viewer reads frames, bones and each surface's vertices and
    // triangles; the last surface's collapse map, bone references and the
    // tags (written last) may be missing.
    std::int64_t needed = 0;
    for (const auto& s : img.surfaces) needed = std::max(needed, s.collapseMap);
    ASSERT_GT(needed, img.frames);
    ASSERT_GT(needed, img.bones);
    ASSERT_LT(needed, static_cast<std::int64_t>(img.bytes.size()));
    for (std::size_t cut = 0; cut <= img.bytes.size(); ++cut) {
        const mg::Bytes bytes(img.bytes.begin(), img.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const std::string path = write(bytes);
        MDS mds(&device, "test");
        EXPECT_EQ(loadAndUse(mds, path, device), static_cast<std::int64_t>(cut) >= needed ? 1 : -1) << cut;
    }
}

TEST_F(BoundsTest, DamagedCountsAndOffsetsFailTheLoad) {
    const mg::MdsImage img = mg::writeMds(mg::sampleMds());
    const std::int64_t s0 = img.surfaces[0].header;
    auto off = [](std::size_t o) { return static_cast<std::int64_t>(o); };
    struct Damage {
        const char* what;
        std::int64_t at;
        std::int32_t value;
    };
    const Damage damages[] = {
        {"NumFrames", off(offsetof(formats::MdsHeader, NumFrames)), 1000},
        {"NumFrames huge", off(offsetof(formats::MdsHeader, NumFrames)), 0x7FFFFFFF},
        {"NumBones", off(offsetof(formats::MdsHeader, NumBones)), 0x7FFFFFFF},
        {"NumBones negative", off(offsetof(formats::MdsHeader, NumBones)), -1},
        {"OffsetFrames", off(offsetof(formats::MdsHeader, OffsetFrames)), -52},
        {"OffsetBones", off(offsetof(formats::MdsHeader, OffsetBones)), 0x7FFFFFF0},
        {"NumSurfaces", off(offsetof(formats::MdsHeader, NumSurfaces)), 3},
        {"OffsetSurfaces", off(offsetof(formats::MdsHeader, OffsetSurfaces)), -176},
        {"surface OffsetEnd backwards", s0 + off(offsetof(formats::MdsSurface, OffsetEnd)), -1000},
        {"NumVertices", s0 + off(offsetof(formats::MdsSurface, NumVertices)), 100000},
        {"NumVertices negative", s0 + off(offsetof(formats::MdsSurface, NumVertices)), -2},
        {"OffsetVertices", s0 + off(offsetof(formats::MdsSurface, OffsetVertices)), -10000},
        {"NumTriangles", s0 + off(offsetof(formats::MdsSurface, NumTriangles)), 0x15555556},
        {"OffsetTriangles", s0 + off(offsetof(formats::MdsSurface, OffsetTriangles)), 0x7FFFFFFF},
        {"NumWeights", img.surfaces[0].vertex[0] + off(offsetof(formats::MdsVertex, NumWeights)), 0x7FFFFFFF},
        {"NumWeights negative", img.surfaces[0].vertex[1] + off(offsetof(formats::MdsVertex, NumWeights)), -1},
    };
    for (const Damage& d : damages) {
        mg::Bytes bytes = img.bytes;
        mg::put(bytes, d.at, d.value);
        MDS mds(&device, "test");
        EXPECT_EQ(loadAndUse(mds, write(bytes), device), -1) << d.what;
    }
    {
        // A chain back to the same header is two surfaces of one record.
        mg::Bytes bytes = img.bytes;
        mg::put<std::int32_t>(bytes, s0 + off(offsetof(formats::MdsSurface, OffsetEnd)), 0);
        MDS mds(&device, "test");
        EXPECT_EQ(loadAndUse(mds, write(bytes), device), 1);
    }
    for (mg::MdsDamage d : {mg::MdsDamage::WrongIdent, mg::MdsDamage::Truncated, mg::MdsDamage::SurfaceEndOutside,
                            mg::MdsDamage::WeightsPastEnd}) {
        MDS mds(&device, "test");
        EXPECT_EQ(loadAndUse(mds, write(mg::damagedMds(d)), device), -1) << static_cast<int>(d);
    }
    EXPECT_EQ(device.liveResources(), 0);
}

TEST_F(BoundsTest, OutOfRangeBoneIndicesReadNoPoseOutside) {
    MDS mds(&device, "test");
    EXPECT_EQ(loadAndUse(mds, write(mg::damagedMds(mg::MdsDamage::BadBoneIndices)), device), 1);
}

TEST_F(BoundsTest, UnterminatedNamesStopAtTheirField) {
    MDS mds(&device, "test");
    EXPECT_EQ(loadAndUse(mds, write(mg::damagedMds(mg::MdsDamage::UnterminatedNames)), device), 1);
    const std::string n64(64, 'N');
    EXPECT_NE(log.body().find("\nMDS: " + n64 + "\n"), std::string::npos);
    EXPECT_NE(log.body().find("<li>Surface #1 '" + n64 + "'</li>\n"), std::string::npos);
}

TEST_F(BoundsTest, SurfaceTooLargeFor16BitIndicesGetsNoBuffers) {
    mg::MdsSurfaceDesc big;
    big.name = "big";
    big.vertices.resize(65536);
    big.triangles = {{{0, 1, 65535}}};
    auto mds = load(oneBoneModel({big, plainSurface("small")}));
    EXPECT_EQ(mds->indexBuffer(0), nullptr);
    EXPECT_EQ(mds->vertexBuffer(0), nullptr);
    EXPECT_NE(mds->vertexBuffer(1), nullptr);
    EXPECT_NE(log.body().find("<li>IB #0: \n" + errorLine("MDS::loadFromFile - Surface #0 has too many vertices</li>")),
              std::string::npos);
    EXPECT_NE(log.body().find("<li>VB #0: \n" + errorLine("MDS::loadFromFile - Surface #0 has too many vertices</li>")),
              std::string::npos);
    EXPECT_EQ(mds->setFrame(0), 1);
}

}  // namespace
}  // namespace model_test
