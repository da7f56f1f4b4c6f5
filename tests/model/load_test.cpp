// Loading the body model: the log sections byte for byte, every failure of
// the file read, the buffers and their first content, buffer failures, and
// that everything made is released with the model.
#include "model_fixture.h"

namespace model_test {
namespace {

using LoadTest = ModelTest;

mg::MdsModel threeSurfaces() {
    mg::MdsSurfaceDesc a = plainSurface("a_body", 3);
    mg::MdsSurfaceDesc b = plainSurface("b_legs", 4);
    b.triangles = {{{0, 1, 2}}, {{1, 2, 3}}};
    mg::MdsSurfaceDesc c = plainSurface("c_arms", 5);
    c.triangles = {{{0, 1, 2}}, {{2, 3, 4}}, {{4, 3, 0}}};
    // Stored after the tags, with a gap inside: only offsets lead to them.
    c.gapAfterHeader = 12;
    mg::MdsModel m = oneBoneModel({a, b, c});
    m.name = "three";
    m.frames.resize(2);
    m.order = {mg::MdsSection::Tags, mg::MdsSection::Surfaces, mg::MdsSection::Bones, mg::MdsSection::Frames};
    return m;
}

TEST_F(LoadTest, GoodFileWritesEverySectionInOrder) {
    const std::string path = write(threeSurfaces());
    MDS mds(&device, "test");
    ASSERT_EQ(mds.loadFromFile(path.c_str()), 1);
    EXPECT_TRUE(mds.loaded());
    const std::string expected = okLine("MDS::loadFromFile - File '" + path + "' read") +
                                 "MDS: three\n"
                                 "<h2>Surfaces</h2>\n<ul>\n"
                                 "<li>Surface #0 'a_body'</li>\n"
                                 "<li>Surface #1 'b_legs'</li>\n"
                                 "<li>Surface #2 'c_arms'</li>\n"
                                 "</ul>\n"
                                 "<h2>Triangles</h2>\n<ul>\n"
                                 "<li>Surface #0: 1 Tris</li>\n"
                                 "<li>Surface #1: 2 Tris</li>\n"
                                 "<li>Surface #2: 3 Tris</li>\n"
                                 "</ul>\n"
                                 "<h2>Vertices</h2>\n<ul>\n"
                                 "<li>Surface #0: 3 Verts</li>\n"
                                 "<li>Surface #1: 4 Verts</li>\n"
                                 "<li>Surface #2: 5 Verts</li>\n"
                                 "</ul>\n"
                                 "<h2>Frames</h2>\n<ul>\n"
                                 "</ul>\n"
                                 "<h2>Bones</h2>\n"
                                 "<h2>Index Buffers</h2>\n<ul>\n"
                                 "<li>IB #0: \nIB created ... 1 tris</li>\n"
                                 "<li>IB #1: \nIB created ... 2 tris</li>\n"
                                 "<li>IB #2: \nIB created ... 3 tris</li>\n"
                                 "</ul>\n"
                                 "<h2>Vertex Buffers</h2>\n<ul>\n"
                                 "<li>VB #0: \nVB created ... 3 verts</li>\n"
                                 "<li>VB #1: \nVB created ... 4 verts</li>\n"
                                 "<li>VB #2: \nVB created ... 5 verts</li>\n"
                                 "</ul>\n";
    EXPECT_EQ(log.body(), expected);
    // Buffers: managed pool, no usage, 16-bit indices, the model vertex format.
    EXPECT_EQ(device.callsStartingWith("Create"),
              (std::vector<std::string>{"CreateIndexBuffer(6, 0, 101, 1)", "CreateIndexBuffer(12, 0, 101, 1)",
                                        "CreateIndexBuffer(18, 0, 101, 1)", "CreateVertexBuffer(72, 0, 0x142, 1)",
                                        "CreateVertexBuffer(96, 0, 0x142, 1)",
                                        "CreateVertexBuffer(120, 0, 0x142, 1)"}));
}

TEST_F(LoadTest, BuffersHoldTrianglesAndFirstWeightOffsets) {
    mg::MdsModel m = threeSurfaces();
    m.surfaces[1].vertices[2] = vertex(0.25f, 0.75f, {weight(0, 0.5f, -4.0f, 5.5f, 6.0f), weight(0, 0.5f, 9, 9, 9)});
    m.surfaces[1].vertices[3] = vertex(0.5f, 1.0f, {});
    // Indices are kept in stored order and reduced to 16 bits, also one that
    // names no vertex of the surface.
    m.surfaces[1].triangles = {{{1, 2, 3}}, {{0x10003, 2, 7}}};
    auto mds = load(m);
    ASSERT_TRUE(mds->loaded());

    const rec::IndexBuffer* ib = recorded(mds->indexBuffer(1));
    ASSERT_NE(ib, nullptr);
    EXPECT_EQ(ib->indices(), (std::vector<WORD>{1, 2, 3, 3, 2, 7}));
    EXPECT_FALSE(ib->locked);

    const rec::VertexBuffer* vb = recorded(mds->vertexBuffer(1));
    ASSERT_NE(vb, nullptr);
    const ModelVertex v2 = vertexAt(vb, 2);
    EXPECT_EQ(v2.x, -4.0f);  // as stored, not yet in drawing axes
    EXPECT_EQ(v2.y, 5.5f);
    EXPECT_EQ(v2.z, 6.0f);
    EXPECT_EQ(v2.color, 0xFF32FF00u);
    EXPECT_EQ(v2.u, 0.25f);
    EXPECT_EQ(v2.v, 0.75f);
    const ModelVertex v3 = vertexAt(vb, 3);  // no weights: the origin
    EXPECT_EQ(v3.x, 0.0f);
    EXPECT_EQ(v3.y, 0.0f);
    EXPECT_EQ(v3.z, 0.0f);
    EXPECT_EQ(v3.u, 0.5f);
    EXPECT_EQ(vertexAt(recorded(mds->vertexBuffer(0)), 0).color, 0xFF00FF00u);
}

TEST_F(LoadTest, SurfaceColourRedWrapsAt256) {
    std::vector<mg::MdsSurfaceDesc> surfaces;
    for (int s = 0; s < 7; ++s) surfaces.push_back(plainSurface("s" + std::to_string(s)));
    auto mds = load(oneBoneModel(surfaces));
    EXPECT_EQ(vertexAt(recorded(mds->vertexBuffer(5)), 0).color, 0xFFFAFF00u);
    EXPECT_EQ(vertexAt(recorded(mds->vertexBuffer(6)), 0).color, 0xFF2CFF00u);
    // Skinning writes the same colours again.
    ASSERT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(vertexAt(recorded(mds->vertexBuffer(5)), 2).color, 0xFFFAFF00u);
    EXPECT_EQ(vertexAt(recorded(mds->vertexBuffer(6)), 2).color, 0xFF2CFF00u);
}

TEST_F(LoadTest, NoSurfacesWritesEmptyLists) {
    auto mds = load(oneBoneModel({}));
    EXPECT_NE(log.body().find("<h2>Surfaces</h2>\n<ul>\n</ul>\n<h2>Triangles</h2>\n<ul>\n</ul>\n"), std::string::npos);
    EXPECT_NE(log.body().find("<h2>Vertex Buffers</h2>\n<ul>\n</ul>\n"), std::string::npos);
    EXPECT_EQ(mds->numSurfaces(), 0u);
}

TEST_F(LoadTest, ZeroTrianglesLeavesTheSurfaceWithoutIndexBuffer) {
    mg::MdsSurfaceDesc s = plainSurface("empty");
    s.triangles.clear();
    auto mds = load(oneBoneModel({s}));
    EXPECT_NE(log.body().find("<li>IB #0: \n" + errorLine("CreateIndexBuffer failed!</li>") + "</ul>\n"),
              std::string::npos);
    EXPECT_EQ(mds->indexBuffer(0), nullptr);
    EXPECT_NE(mds->vertexBuffer(0), nullptr);
}

TEST_F(LoadTest, NoDeviceLoadsWithoutBuffersInsteadOfCrashing) {
    // The renderer goes on without a device when creation failed; the body
    // then gets no buffers and draws nothing, but neither load nor a frame
    // change may touch the missing device.
    MDS mds(nullptr, "test");
    const std::string path = write(oneBoneModel({plainSurface("a")}));
    EXPECT_EQ(mds.loadFromFile(path.c_str()), 1);
    EXPECT_NE(log.body().find(errorLine("CreateIndexBuffer failed!</li>")), std::string::npos);
    EXPECT_NE(log.body().find(errorLine("CreateVertexBuffer failed!</li>")), std::string::npos);
    EXPECT_EQ(mds.setFrame(0), 1);
    mds.draw(&device);
    EXPECT_TRUE(device.callsStartingWith("DrawIndexedPrimitive").empty());
}

// ---- file read failures ---------------------------------------------------

struct ReadFailure {
    const char* name;
    sys::Step step;
    std::vector<std::string> errors;
};

class ReadFailureTest : public ModelTest, public ::testing::WithParamInterface<ReadFailure> {};

TEST_P(ReadFailureTest, LogsItsLineAndHoldsNothing) {
    const std::string path = write(threeSurfaces());
    {
        MDS mds(&device, "test");
        sys::Faults faults;
        faults.failOnCall[static_cast<int>(GetParam().step)] = 1;
        faults.shortReadBytes = 50;
        sys::setSysFaults(faults);
        EXPECT_EQ(mds.loadFromFile(path.c_str()), -1);
        sys::clearSysFaults();
        EXPECT_FALSE(mds.loaded());
        EXPECT_EQ(mds.setFrame(0), -1);
        std::string expected;
        for (const auto& e : GetParam().errors) expected += errorLine(e);
        EXPECT_EQ(log.body(), expected);
    }
    EXPECT_TRUE(device.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReadFailureTest,
    ::testing::Values(ReadFailure{"Open", sys::Step::Open, {"CreateFile - Invalid Handle Value"}},
                      ReadFailure{"Size", sys::Step::Size, {"GetFileSize - Invalid File Size"}},
                      ReadFailure{"Allocate", sys::Step::Allocate, {"VirtualAlloc returned NULL"}},
                      ReadFailure{"Read", sys::Step::Read, {"ReadFile didn't read requested Number of bytes"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadTest, MissingFileLogsCreateFileOnly) {
    MDS mds(&device, "test");
    EXPECT_EQ(mds.loadFromFile(dir.file("nothing/body.mds").c_str()), -1);
    EXPECT_EQ(log.body(), errorLine("CreateFile - Invalid Handle Value"));
}

TEST_F(LoadTest, ShortReadWhoseBlockCannotBeFreedReportsBoth) {
    const std::string path = write(threeSurfaces());
    MDS mds(&device, "test");
    sys::Faults faults;
    faults.failOnCall[static_cast<int>(sys::Step::Read)] = 1;
    faults.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
    sys::setSysFaults(faults);
    EXPECT_EQ(mds.loadFromFile(path.c_str()), -1);
    EXPECT_EQ(log.body(),
              errorLine("ReadFile didn't read requested Number of bytes") + errorLine("VirtualFree failed"));
    // The block that stayed behind is given back by the next load, which
    // then succeeds.
    EXPECT_EQ(mds.loadFromFile(path.c_str()), 1);
    EXPECT_EQ(sys::sysCallCount(sys::Step::Release), 2u);
}

TEST_F(LoadTest, ReloadWhoseOldBlockCannotBeFreedFails) {
    const std::string path = write(threeSurfaces());
    MDS mds(&device, "test");
    ASSERT_EQ(mds.loadFromFile(path.c_str()), 1);
    sys::Faults faults;
    faults.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
    sys::setSysFaults(faults);
    const std::size_t before = log.body().size();
    EXPECT_EQ(mds.loadFromFile(path.c_str()), -1);
    EXPECT_EQ(log.body().substr(before), errorLine("VirtualFree failed"));
    EXPECT_EQ(sys::sysCallCount(sys::Step::Open), 0u);
}

TEST_F(LoadTest, DestructorReportsBlockThatCannotBeFreed) {
    const std::string path = write(threeSurfaces());
    auto mds = std::make_unique<MDS>(&device, "test");
    ASSERT_EQ(mds->loadFromFile(path.c_str()), 1);
    sys::Faults faults;
    faults.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
    sys::setSysFaults(faults);
    const std::size_t before = log.body().size();
    mds.reset();
    EXPECT_EQ(log.body().substr(before), errorLine("VirtualFree failed"));
}

TEST_F(LoadTest, WrongIdentFailsAfterTheOkLineWithoutSections) {
    mg::MdsModel m = threeSurfaces();
    m.ident = {'M', 'D', 'S', 'X'};
    const std::string path = write(m);
    sys::clearSysFaults();  // counts from here
    {
        MDS mds(&device, "test");
        EXPECT_EQ(mds.loadFromFile(path.c_str()), -1);
        EXPECT_EQ(log.body(), okLine("MDS::loadFromFile - File '" + path + "' read"));
        EXPECT_TRUE(device.calls.empty());
        // The refused bytes stay held until the model goes.
        EXPECT_EQ(mds.fileSize(), mg::writeMds(m).bytes.size());
        EXPECT_EQ(sys::sysCallCount(sys::Step::Release), 0u);
    }
    EXPECT_EQ(sys::sysCallCount(sys::Step::Release), 1u);
}

TEST_F(LoadTest, OtherVersionsAreAccepted) {
    mg::MdsModel m = threeSurfaces();
    m.version = 3;
    load(m, 1);
}

TEST_F(LoadTest, ReloadReplacesEverything) {
    MDS mds(&device, "test");
    ASSERT_EQ(mds.loadFromFile(write(threeSurfaces()).c_str()), 1);
    ASSERT_EQ(mds.setFrame(1), 1);
    ASSERT_EQ(mds.loadFromFile(write(oneBoneModel({plainSurface("only")}), "other.mds").c_str()), 1);
    EXPECT_EQ(mds.numSurfaces(), 1u);
    EXPECT_TRUE(mds.poses().empty());
    EXPECT_EQ(mds.skeletonLines(), nullptr);
    // The first load's six buffers and the line buffer are gone.
    EXPECT_EQ(device.liveResources(), 2);
}

// ---- buffer failures -------------------------------------------------------

TEST_F(LoadTest, IndexBufferFailuresAreLoggedPerSurface) {
    device.createIndexBuffer.onCall = 1;
    device.lockIndexBuffer.onCall = 1;  // the first lock is surface 1's
    device.unlockIndexBuffer.onCall = 1;
    auto mds = load(threeSurfaces());
    EXPECT_NE(log.body().find("<h2>Index Buffers</h2>\n<ul>\n"
                              "<li>IB #0: \n" +
                              errorLine("CreateIndexBuffer failed!</li>") +
                              "<li>IB #1: \nIB created ... 2 tris</li>\n" + errorLine("Lock failed!") +
                              "<li>IB #2: \nIB created ... 3 tris</li>\n" +
                              errorLine("Unlock failed - buffer still locked") + "</ul>\n"),
              std::string::npos);
    EXPECT_EQ(mds->indexBuffer(0), nullptr);
    EXPECT_EQ(mds->indexBuffer(1), nullptr);  // released after the failed lock
    EXPECT_NE(mds->indexBuffer(2), nullptr);  // kept although still locked
    EXPECT_EQ(device.indexBuffers().at(0)->refs, 0);
}

TEST_F(LoadTest, VertexBufferFailuresAreLoggedPerSurface) {
    device.createVertexBuffer.onCall = 2;
    device.lockVertexBuffer.onCall = 2;
    device.unlockVertexBuffer.onCall = 1;
    auto mds = load(threeSurfaces());
    EXPECT_NE(log.body().find("<h2>Vertex Buffers</h2>\n<ul>\n"
                              "<li>VB #0: \nVB created ... 3 verts</li>\n" +
                              errorLine("Unlock failed - buffer still locked") + "<li>VB #1: \n" +
                              errorLine("CreateVertexBuffer failed!</li>") +
                              "<li>VB #2: \nVB created ... 5 verts</li>\n" + errorLine("Lock failed!") + "</ul>\n"),
              std::string::npos);
    EXPECT_NE(mds->vertexBuffer(0), nullptr);
    EXPECT_EQ(mds->vertexBuffer(1), nullptr);
    EXPECT_EQ(mds->vertexBuffer(2), nullptr);
    // Surfaces without a vertex buffer are left alone by skinning and drawing.
    device.clearRecord();
    EXPECT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(mds->skinSurface(1), 1);
    mds->draw(&device);
    EXPECT_EQ(device.draws.size(), 2u);  // surface 0 and the skeleton
}

// ---- release ---------------------------------------------------------------

TEST_F(LoadTest, DestructionReleasesEverythingInOrder) {
    {
        auto mds = load(threeSurfaces());
        ASSERT_EQ(mds->setFrame(0), 1);
        device.clearRecord();
    }
    EXPECT_EQ(device.liveResources(), 0);
    // Buffers were made ib#1..3, vb#4..6, then the line buffer vb#7.
    EXPECT_EQ(device.callsStartingWith("Release"),
              (std::vector<std::string>{"Release(vb#7)", "Release(vb#4)", "Release(vb#5)", "Release(vb#6)",
                                        "Release(ib#1)", "Release(ib#2)", "Release(ib#3)"}));
}

TEST_F(LoadTest, BuffersKeptByAFailedReloadAreReleasedWithTheModel) {
    const std::string path = write(threeSurfaces());
    {
        MDS mds(&device, "test");
        ASSERT_EQ(mds.loadFromFile(path.c_str()), 1);
        ASSERT_EQ(mds.setFrame(0), 1);
        sys::Faults faults;
        faults.failOnCall[static_cast<int>(sys::Step::Read)] = 1;
        sys::setSysFaults(faults);
        EXPECT_EQ(mds.loadFromFile(path.c_str()), -1);
        EXPECT_EQ(mds.setFrame(0), -1);
        device.clearRecord();
        mds.draw(&device);
        EXPECT_TRUE(device.calls.empty());
    }
    EXPECT_EQ(device.liveResources(), 0);
}

}  // namespace
}  // namespace model_test
