// The MDC model object: loading and its log sections, the buffers of frame
// 0, every failure of a load, drawing with and without textures, and
// releasing everything it made.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/mdc.h"
#include "modelgen/bytes.h"
#include "modelgen/samples.h"
#include "platform/sys/faults.h"
#include "player_fixture.h"
#include "recording_device.h"
#include "scoped_log.h"

namespace {

using testing_support::ScopedLog;
using testing_support::TempDir;

const std::string kOk = "<p style=\"color: green; background-color: transparent;\"><b>OK:</b> ";
const std::string kError = "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ";

ModelVertex vertexAt(const rec::VertexBuffer& vb, std::size_t k) {
    ModelVertex v{};
    std::memcpy(&v, vb.data.data() + k * sizeof(ModelVertex), sizeof v);
    return v;
}

// One surface of 10 vertices and 12 triangles; base frame b holds vertex k at
// (b, k, -k) in file units, and the frame table is `table`.
mg::MdcModel tenVertexModel(std::vector<std::uint16_t> table) {
    mg::MdcModel m;
    m.name = "ten";
    m.numFrames = static_cast<std::int32_t>(table.size());
    mg::MdcSurfaceDesc s;
    s.name = "h_head";
    s.shader = "models/players/x/head.tga";
    for (int t = 0; t < 12; ++t) s.triangles.push_back({{t % 10, (t + 1) % 10, (t + 2) % 10}});
    for (int k = 0; k < 10; ++k)
        s.texCoords.push_back({0.1f * static_cast<float>(k), 1.0f - 0.1f * static_cast<float>(k)});
    for (int b = 0; b < 5; ++b) {
        std::vector<formats::MdcBaseVertex> frame;
        for (int k = 0; k < 10; ++k)
            frame.push_back(mg::baseVertex(static_cast<std::int16_t>(64 * b), static_cast<std::int16_t>(64 * k),
                                           static_cast<std::int16_t>(-64 * k)));
        s.baseFrames.push_back(frame);
    }
    s.frameBaseFrames = std::move(table);
    m.surfaces.push_back(s);
    return m;
}

std::string writeModel(const TempDir& dir, const mg::MdcModel& model, const std::string& name = "m.mdc") {
    EXPECT_TRUE(mg::writeFile(dir.file(name), mg::writeMdc(model).bytes));
    return dir.file(name);
}

TEST(MdcLoad, OneSurfaceWritesSeventeenLines) {
    TempDir dir;
    const std::string path = writeModel(dir, tenVertexModel({0}));
    rec::RecordingDevice dev;
    ScopedLog log;
    MDC model(&dev);
    EXPECT_EQ(model.loadFromFile(path.c_str()), 1);
    EXPECT_TRUE(model.loaded());
    const std::vector<std::string> expected = {
        kOk + "MDC::loadFromFile - File '" + path + "' read</p>",
        "<h1>MDC: ten</h1>",
        "<h2>MDC Surfaces</h2>",
        "<ul>",
        "<li>Surface #0 'h_head'</li>",
        "</ul>",
        "<h2>MDC Index Buffers</h2>",
        "<ul>",
        "<li>IB #0: ",
        "IB created ... 12 tris</li>",
        "</ul>",
        "<h2>MDC Vertex Buffers</h2>",
        "<ul>",
        "<li>VB #0: ",
        "VB created ... 10 verts</li>",
        "</ul>",
    };
    EXPECT_EQ(pt::lines(log.body()), expected);
}

TEST(MdcLoad, BuffersHoldFrameZero) {
    TempDir dir;
    // Frame 0 uses base frame 3: vertex records 30 to 39.
    const std::string path = writeModel(dir, tenVertexModel({3, 1}));
    rec::RecordingDevice dev;
    MDC model(&dev);
    ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
    ASSERT_EQ(dev.indexBuffers().size(), 1u);
    ASSERT_EQ(dev.vertexBuffers().size(), 1u);
    const rec::IndexBuffer& ib = *dev.indexBuffers()[0];
    EXPECT_EQ(ib.format, D3DFMT_INDEX16);
    EXPECT_EQ(ib.pool, D3DPOOL_MANAGED);
    ASSERT_EQ(ib.indices().size(), 36u);
    for (int t = 0; t < 12; ++t)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(ib.indices()[3 * t + c], (t + c) % 10);
    const rec::VertexBuffer& vb = *dev.vertexBuffers()[0];
    EXPECT_EQ(vb.fvf, 0x142u);
    EXPECT_EQ(vb.pool, D3DPOOL_MANAGED);
    ASSERT_EQ(vb.data.size(), 240u);
    for (int k = 0; k < 10; ++k) {
        const ModelVertex v = vertexAt(vb, static_cast<std::size_t>(k));
        // File (3, k, -k) in drawing axes (-y, z, x).
        EXPECT_FLOAT_EQ(v.x, -static_cast<float>(k));
        EXPECT_FLOAT_EQ(v.y, -static_cast<float>(k));
        EXPECT_FLOAT_EQ(v.z, 3.0f);
        EXPECT_EQ(v.color, 0xFF00FF00u);
        EXPECT_FLOAT_EQ(v.u, 0.1f * static_cast<float>(k));
        EXPECT_FLOAT_EQ(v.v, 1.0f - 0.1f * static_cast<float>(k));
    }
    EXPECT_FALSE(vb.locked);

    // setFrame picks another base frame; NumFrames is out of range and
    // changes nothing.
    EXPECT_EQ(model.setFrame(1), 1);
    EXPECT_FLOAT_EQ(vertexAt(vb, 9).z, 1.0f);
    const auto data = vb.data;
    EXPECT_EQ(model.setFrame(2), -2);
    EXPECT_EQ(model.setFrame(0xFFFFFFFFu), -2);
    EXPECT_EQ(vb.data, data);
    MDC unloaded(&dev);
    EXPECT_EQ(unloaded.setFrame(0), -1);
}

TEST(MdcLoad, BaseVertexScaleAndGappedSurfaces) {
    mg::MdcModel m = mg::sampleMdc();  // base frame 1: (0,0,64), (64,-128,32), (-32768,0,0)
    m.surfaces[0].frameBaseFrames = {1, 0, 0};
    m.surfaces[1].frameBaseFrames = {1, 0, 0};
    m.gapBeforeSurfaces = 12;
    m.surfaces[0].gapAfterHeader = 20;
    m.surfaces[0].gapAfter = 44;
    TempDir dir;
    const std::string path = writeModel(dir, m);
    rec::RecordingDevice dev;
    MDC model(&dev);
    ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
    ASSERT_EQ(model.numSurfaces(), 2u);
    for (std::uint32_t s = 0; s < 2; ++s) {
        const rec::VertexBuffer& vb = *static_cast<rec::VertexBuffer*>(model.vertexBuffer(s));
        const ModelVertex a = vertexAt(vb, 1), b = vertexAt(vb, 2);
        EXPECT_FLOAT_EQ(a.x, 2.0f);
        EXPECT_FLOAT_EQ(a.y, 0.5f);
        EXPECT_FLOAT_EQ(a.z, 1.0f);
        EXPECT_FLOAT_EQ(b.x, 0.0f);
        EXPECT_FLOAT_EQ(b.y, 0.0f);
        EXPECT_FLOAT_EQ(b.z, -512.0f);
        EXPECT_EQ(a.color, s == 0 ? 0xFF00FF00u : 0xFF32FF00u);
    }
}

TEST(MdcLoad, TriangleIndicesKeepTheirLowBitsAndStayInsideTheSurface) {
    mg::MdcModel m = pt::quadMdc("q", {{"a", ""}});
    m.surfaces[0].triangles = {{{0x10002, 3, 4}}, {{-1, 1, 0x7FFF}}};
    TempDir dir;
    rec::RecordingDevice dev;
    MDC model(&dev);
    ASSERT_EQ(model.loadFromFile(writeModel(dir, m).c_str()), 1);
    // 0x10002 -> 2; 4, 0xFFFF and 0x7FFF name no vertex of the quad -> 0.
    EXPECT_EQ(dev.indexBuffers()[0]->indices(), (std::vector<WORD>{2, 3, 0, 0, 1, 0}));

    // Triangles without any vertex: loaded, never drawn.
    mg::MdcModel none = pt::quadMdc("none", {{"a", ""}, {"b", ""}});
    none.surfaces[1].texCoords.clear();
    none.surfaces[1].baseFrames = {{}};
    MDC empty(&dev);
    ASSERT_EQ(empty.loadFromFile(writeModel(dir, none, "none.mdc").c_str()), 1);
    dev.clearRecord();
    empty.draw(&dev);
    ASSERT_EQ(dev.draws.size(), 1u);
    EXPECT_EQ(dev.draws[0].stream, empty.vertexBuffer(0));
}

TEST(MdcLoad, FileFailures) {
    TempDir dir;
    rec::RecordingDevice dev;
    {
        ScopedLog log;
        MDC model(&dev);
        EXPECT_EQ(model.loadFromFile(dir.file("missing.mdc").c_str()), -1);
        EXPECT_EQ(log.body(), kError + "CreateFile - Invalid Handle Value</p>\n");
        model.draw(&dev);
        EXPECT_TRUE(dev.calls.empty());
    }
    dir.write("empty.mdc", "");
    {
        ScopedLog log;
        MDC model(&dev);
        EXPECT_EQ(model.loadFromFile(dir.file("empty.mdc").c_str()), -1);
        EXPECT_EQ(log.body(), kError + "VirtualAlloc returned NULL</p>\n");
    }
    const std::string path = writeModel(dir, mg::sampleMdc());
    const struct {
        sys::Step step;
        std::string lines;
    } faults[] = {
        {sys::Step::Size, kError + "GetFileSize - Invalid File Size</p>\n"},
        {sys::Step::Allocate, kError + "VirtualAlloc returned NULL</p>\n"},
        {sys::Step::Read, kError + "ReadFile didn't read requested Number of bytes</p>\n"},
    };
    for (const auto& f : faults) {
        ScopedLog log;
        sys::Faults set;
        set.failAlways[static_cast<int>(f.step)] = true;
        sys::setSysFaults(set);
        MDC model(&dev);
        EXPECT_EQ(model.loadFromFile(path.c_str()), -1);
        sys::clearSysFaults();
        EXPECT_FALSE(model.loaded());
        EXPECT_EQ(log.body(), f.lines);
    }
    {
        // A short read whose block cannot be given back either.
        ScopedLog log;
        sys::Faults set;
        set.failAlways[static_cast<int>(sys::Step::Read)] = true;
        set.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
        sys::setSysFaults(set);
        MDC model(&dev);
        EXPECT_EQ(model.loadFromFile(path.c_str()), -1);
        sys::clearSysFaults();
        EXPECT_EQ(log.body(), kError + "ReadFile didn't read requested Number of bytes</p>\n" + kError +
                                  "VirtualFree failed</p>\n");
    }
    EXPECT_EQ(dev.liveResources(), 0);
}

TEST(MdcLoad, WrongIdentAndDamagedFilesAreRefusedWhole) {
    TempDir dir;
    rec::RecordingDevice dev;
    mg::MdcModel wrong = mg::sampleMdc();
    wrong.ident = {'I', 'D', 'P', '3'};
    {
        ScopedLog log;
        MDC model(&dev);
        const std::string path = writeModel(dir, wrong, "wrong.mdc");
        EXPECT_EQ(model.loadFromFile(path.c_str()), -1);
        EXPECT_EQ(log.body(), kOk + "MDC::loadFromFile - File '" + path + "' read</p>\n");
        EXPECT_FALSE(model.loaded());
    }
    // One surface of two runs past the end: nothing of the file is used.
    mg::MdcImage img = mg::writeMdc(mg::sampleMdc());
    mg::put<std::int32_t>(img.bytes, img.surfaces[1].header + offsetof(formats::MdcSurface, NumTriangles), 100000);
    ASSERT_TRUE(mg::writeFile(dir.file("damaged.mdc"), img.bytes));
    {
        ScopedLog log;
        MDC model(&dev);
        const std::string path = dir.file("damaged.mdc");
        EXPECT_EQ(model.loadFromFile(path.c_str()), -1);
        // The damaged line says where: the record, the field and its offset.
        EXPECT_EQ(log.body().rfind(kOk + "MDC::loadFromFile - File '" + path + "' read</p>\n" + kError +
                                       "MDC::loadFromFile - File '" + path + "' is damaged: surface 1 &quot;h_hat&quot; .OffsetTriangles @0x1ec: 100000 triangles",
                                   0),
                  0u)
            << log.body();
        EXPECT_FALSE(model.loaded());
        EXPECT_EQ(model.loadShaderTextures("m", dir.path().c_str()), -1);
    }
    EXPECT_TRUE(dev.resources.empty());
}

TEST(MdcLoad, BufferFailuresSkipOnlyThatSurface) {
    TempDir dir;
    const std::string path =
        writeModel(dir, pt::quadMdc("q", {{"s0", ""}, {"s1", ""}, {"s2", ""}}));
    struct Case {
        const char* what;
        rec::FailSwitch rec::RecordingDevice::*which;
        std::string line;
        bool ibMissing, vbMissing;
    } cases[] = {
        {"create ib", &rec::RecordingDevice::createIndexBuffer, kError + "CreateIndexBuffer failed!</li></p>", true,
         false},
        {"lock ib", &rec::RecordingDevice::lockIndexBuffer, kError + "Lock failed!</p>", true, false},
        {"create vb", &rec::RecordingDevice::createVertexBuffer, kError + "CreateVertexBuffer failed!</li></p>", false,
         true},
        {"lock vb", &rec::RecordingDevice::lockVertexBuffer, kError + "Lock failed!</p>", false, true},
        {"unlock vb", &rec::RecordingDevice::unlockVertexBuffer, kError + "Unlock failed - buffer still locked</p>",
         false, false},
    };
    for (const Case& c : cases) {
        rec::RecordingDevice dev;
        (dev.*c.which).onCall = 2;  // surface 1
        ScopedLog log;
        {
            MDC model(&dev);
            ASSERT_EQ(model.loadFromFile(path.c_str()), 1) << c.what;
            EXPECT_TRUE(log.contains(c.line + "\n")) << c.what;
            EXPECT_EQ(model.indexBuffer(1) == nullptr, c.ibMissing) << c.what;
            EXPECT_EQ(model.vertexBuffer(1) == nullptr, c.vbMissing) << c.what;
            dev.clearRecord();
            model.draw(&dev);
            // Surfaces 0 and 2 are drawn; 1 only when it kept both buffers.
            EXPECT_EQ(dev.draws.size(), c.ibMissing || c.vbMissing ? 2u : 3u) << c.what;
            // Surface 2 keeps its colour whatever happened to surface 1.
            const auto* vb2 = static_cast<rec::VertexBuffer*>(model.vertexBuffer(2));
            EXPECT_EQ(vertexAt(*vb2, 0).color, 0xFF64FF00u);
        }
        EXPECT_EQ(dev.liveResources(), 0) << c.what;
    }
}

TEST(MdcLoad, WithoutADeviceNothingIsCreated) {
    TempDir dir;
    const std::string path = writeModel(dir, pt::quadMdc("q", {{"a", "a.tga"}}));
    dir.write("a.tga", pt::tga(2, 2, 1, 1, 1));
    ScopedLog log;
    MDC model(nullptr);
    EXPECT_EQ(model.loadFromFile(path.c_str()), 1);
    EXPECT_EQ(model.indexBuffer(0), nullptr);
    EXPECT_EQ(model.vertexBuffer(0), nullptr);
    EXPECT_TRUE(log.contains("<li>IB #0: \n" + kError + "CreateIndexBuffer failed!</li></p>\n"));
    EXPECT_TRUE(log.contains("<li>VB #0: \n" + kError + "CreateVertexBuffer failed!</li></p>\n"));
    EXPECT_EQ(model.loadShaderTextures("q", dir.path().c_str()), 1);
    EXPECT_EQ(model.textures().at(0), nullptr);
    rec::RecordingDevice dev;
    model.draw(&dev);
    EXPECT_TRUE(dev.draws.empty());
}

TEST(MdcDraw, SixSurfacesDrawAllButTheFifth) {
    std::vector<std::pair<std::string, std::string>> names;
    for (int s = 0; s < 7; ++s) names.push_back({"s" + std::to_string(s), ""});
    TempDir dir;
    const std::string path = writeModel(dir, pt::quadMdc("seven", names));
    rec::RecordingDevice dev;
    ScopedLog log;
    MDC model(&dev);
    ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
    EXPECT_TRUE(log.contains("<li>Surface #4 's4'</li>\n"));
    EXPECT_TRUE(log.contains("<li>IB #4: \nIB created ... 2 tris</li>\n"));
    EXPECT_TRUE(log.contains("<li>VB #4: \nVB created ... 4 verts</li>\n"));

    D3DXMatrixTranslation(&model.world, 1.0f, 2.0f, 3.0f);
    dev.clearRecord();
    model.draw(&dev);
    ASSERT_EQ(dev.draws.size(), 6u);
    const std::uint32_t drawn[] = {0, 1, 2, 3, 5, 6};
    const D3DCOLOR colors[] = {0xFF00FF00u, 0xFF32FF00u, 0xFF64FF00u, 0xFF96FF00u, 0xFFFAFF00u, 0xFF2CFF00u};
    for (int i = 0; i < 6; ++i) {
        const rec::Draw& d = dev.draws[i];
        EXPECT_TRUE(d.indexed);
        EXPECT_EQ(d.type, D3DPT_TRIANGLELIST);
        EXPECT_EQ(d.minIndex, 0u);
        EXPECT_EQ(d.numVertices, 4u);
        EXPECT_EQ(d.first, 0u);
        EXPECT_EQ(d.count, 2u);
        EXPECT_EQ(d.stream, model.vertexBuffer(drawn[i]));
        EXPECT_EQ(d.indices, model.indexBuffer(drawn[i]));
        EXPECT_EQ(d.stride, 24u);
        EXPECT_EQ(d.fvf, 0x142u);
        EXPECT_EQ(d.cull, static_cast<DWORD>(D3DCULL_NONE));
        EXPECT_EQ(d.lighting, static_cast<DWORD>(FALSE));
        EXPECT_EQ(d.world.m[3][1], 2.0f);
        // No textures list: the surface colours show.
        EXPECT_EQ(d.colorOp, static_cast<DWORD>(D3DTOP_SELECTARG2));
        EXPECT_EQ(d.colorArg2, static_cast<DWORD>(D3DTA_DIFFUSE));
        EXPECT_EQ(d.texture, nullptr);
        EXPECT_EQ(vertexAt(*d.stream, 3).color, colors[i]);
    }
    EXPECT_EQ(dev.calls.back(), "SetTexture(0, null)");
}

TEST(MdcDraw, TexturesShowUntinted) {
    TempDir dir;
    dir.write("a.tga", pt::tga(2, 2, 1, 2, 3));
    const std::string path = writeModel(dir, pt::quadMdc("two", {{"a", "a.tga"}, {"b", "missing.tga"}}));
    rec::RecordingDevice dev;
    MDC model(&dev);
    ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
    ASSERT_EQ(model.loadShaderTextures("x", dir.path().c_str()), 1);
    dev.clearRecord();
    model.draw(&dev);
    ASSERT_EQ(dev.draws.size(), 2u);
    EXPECT_EQ(dev.draws[0].texture, model.textures()[0]);
    EXPECT_NE(dev.draws[0].texture, nullptr);
    EXPECT_EQ(dev.draws[1].texture, nullptr);  // the list exists, this entry is empty
    for (const rec::Draw& d : dev.draws) {
        EXPECT_EQ(d.colorOp, static_cast<DWORD>(D3DTOP_SELECTARG1));
        EXPECT_EQ(d.colorArg1, static_cast<DWORD>(D3DTA_TEXTURE));
        EXPECT_EQ(d.colorArg2, static_cast<DWORD>(D3DTA_DIFFUSE));
    }
    EXPECT_EQ(dev.calls.back(), "SetTexture(0, null)");
}

TEST(MdcLifetime, DestructionAndReloadReleaseEverything) {
    TempDir dir;
    dir.write("a.jpg", pt::jpeg(8, 8, 1, 2, 3));
    const std::string path = writeModel(dir, pt::quadMdc("two", {{"a", "a"}, {"b", "a"}}));
    rec::RecordingDevice dev;
    {
        MDC model(&dev);
        ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
        ASSERT_EQ(model.loadShaderTextures("x", dir.path().c_str()), 1);
        EXPECT_EQ(dev.liveResources(), 5);  // both surfaces hold the one texture of a.jpg
        // A second load drops the first model's buffers and textures.
        ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
        EXPECT_EQ(dev.liveResources(), 4);
        EXPECT_FALSE(model.hasTextures());
        ASSERT_EQ(model.loadShaderTextures("x", dir.path().c_str()), 1);
    }
    EXPECT_EQ(dev.liveResources(), 0);
    {
        ScopedLog log;
        sys::Faults set;
        set.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
        {
            MDC model(&dev);
            ASSERT_EQ(model.loadFromFile(path.c_str()), 1);
            sys::setSysFaults(set);
            // The old image cannot be given back: the model stays as it was.
            EXPECT_EQ(model.loadFromFile(path.c_str()), -1);
            EXPECT_TRUE(model.loaded());
            EXPECT_NE(model.vertexBuffer(0), nullptr);
        }
        sys::clearSysFaults();
        EXPECT_EQ(log.body().find(kError + "VirtualFree failed</p>\n"), log.body().rfind(kError + "VirtualFree"));
        EXPECT_TRUE(log.contains(kError + "VirtualFree failed</p>\n"));
    }
}

}  // namespace
