// Files that claim huge counts (surfaces, bones, frames, vertices, weights,
// skin entries) through every reader: the viewer's MDS and MDC models on the
// recording device, the browser's read + resolve + toTreeView + fillFrame,
// and the skin parser. A claim the bytes cannot hold must be refused without
// a large allocation; a large but real file may load. The time and the
// largest single allocation of each case are printed (never asserted on time).
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "browser/mds_file.h"
#include "browser/store_tree.h"
#include "check/check.h"
#include "browser/tree_builder.h"
#include "heap_meter.h"
#include "log/log.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"
#include "plain_device.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace {

using faults::Measure;
using faults::measure;

constexpr std::int32_t kHuge = 0x7FFFFFFF;
constexpr std::int32_t kMillions = 50'000'000;

class TreeCounter : public browser::TreeSink {
public:
    long nodes = 0;
    browser::TreeNode appendChild(browser::TreeNode, const char*, int, bool) override { return node(); }
    browser::TreeNode appendLast(browser::TreeNode, const char*) override { return node(); }
    void progressRange(int, int) override {}
    void progressPos(int) override {}

private:
    browser::TreeNode node() { return reinterpret_cast<browser::TreeNode>(++nodes); }
};

class Limits : public ::testing::Test {
protected:
    // Runs the viewer's and the browser's readers on the file and prints a row.
    // Returns whether the viewer's model loaded.
    bool throughMdsReaders(const std::string& label, const mg::Bytes& bytes) {
        const std::string path = dir.file(label + ".mds");
        dir.write(label + ".mds", bytes.data(), bytes.size());
        bool loaded = false;
        std::uint32_t frames = 0;
        const Measure viewer = measure([&] {
            faults::PlainDevice device;
            {
                MDS mds(&device, "limits");
                loaded = mds.loadFromFile(path.c_str()) > 0;
                if (loaded) {
                    frames = mds.numFrames();
                    mds.setFrame(0);
                    if (frames > 1) mds.setFrame(frames - 1);
                    mds.draw(&device);
                }
            }
            EXPECT_EQ(device.live, 0) << label;
        });
        bool treeBuilt = false;
        long nodes = 0;
        const Measure tree = measure([&] {
            browser::MdsFile file;
            if (!file.read(path.c_str())) return;
            file.resolve();
            TreeCounter sink;
            treeBuilt = browser::toTreeView(file, nullptr, sink);
            browser::fillFrame(file, sink, nullptr, 0);
            if (frames > 1) browser::fillFrame(file, sink, nullptr, static_cast<int>(frames) - 1);
            nodes = sink.nodes;
        });
        row("MDS " + label, bytes.size(), loaded ? "loaded" : "refused", viewer);
        row("  tree", bytes.size(), (treeBuilt ? "built, " : "stopped, ") + std::to_string(nodes) + " nodes", tree);
        // A refusal, or a load, never asks for much more than the file holds.
        EXPECT_LT(viewer.largest, 64 * bytes.size() + (1u << 20)) << label;
        EXPECT_LT(tree.largest, 64 * bytes.size() + (1u << 20)) << label;
        // Nor does it ask for more than 16 times the file in all.
        EXPECT_LT(viewer.total, 16 * bytes.size() + (64u << 20)) << label;
        EXPECT_LT(tree.total, 16 * bytes.size() + (64u << 20)) << label;
        return loaded;
    }

    bool throughMdcReader(const std::string& label, const mg::Bytes& bytes) {
        const std::string path = dir.file(label + ".mdc");
        dir.write(label + ".mdc", bytes.data(), bytes.size());
        bool loaded = false;
        const Measure m = measure([&] {
            faults::PlainDevice device;
            {
                MDC mdc(&device);
                loaded = mdc.loadFromFile(path.c_str()) > 0;
                if (loaded) {
                    mdc.setFrame(0);
                    mdc.draw(&device);
                }
            }
            EXPECT_EQ(device.live, 0) << label;
        });
        row("MDC " + label, bytes.size(), loaded ? "loaded" : "refused", m);
        EXPECT_LT(m.largest, 64 * bytes.size() + (1u << 20)) << label;
        EXPECT_LT(m.total, 16 * bytes.size() + (64u << 20)) << label;
        return loaded;
    }

    static void row(const std::string& label, std::size_t size, const std::string& result, const Measure& m) {
        faults::printRow(label, size, result, m);
    }

    static void TearDownTestSuite() { faults::printSlowest(); }

    testing_support::TempDir dir;
    testing_support::ScopedLog log;
};

mg::MdsImage sampleMdsImage() { return mg::writeMds(mg::sampleMds()); }

template <typename T>
void patch(mg::Bytes& bytes, std::int64_t at, T value) {
    mg::put<T>(bytes, at, value);
}

TEST_F(Limits, MdsHeaderCountsBeyondTheFileAreRefusedByTheReadersThatUseThem) {
    const struct {
        const char* label;
        std::size_t field;
    } fields[] = {{"NumFrames", offsetof(formats::MdsHeader, NumFrames)},
                  {"NumBones", offsetof(formats::MdsHeader, NumBones)},
                  {"NumSurfaces", offsetof(formats::MdsHeader, NumSurfaces)},
                  {"NumTags", offsetof(formats::MdsHeader, NumTags)}};
    for (const auto& f : fields) {
        for (const std::int32_t count : {kMillions, kHuge}) {
            mg::Bytes bytes = sampleMdsImage().bytes;
            patch<std::int32_t>(bytes, static_cast<std::int64_t>(f.field), count);
            // The viewer never reads tags: it may load a file whose tag count
            // is wrong; the browser shows tags and stops at them.
            const bool loaded = throughMdsReaders(std::string(f.label) + "=" + std::to_string(count), bytes);
            if (std::string(f.label) != "NumTags") {
                EXPECT_FALSE(loaded);
            }
        }
    }
}

TEST_F(Limits, MdsSurfaceAndVertexCountsBeyondTheFileAreRefused) {
    const struct {
        const char* label;
        std::size_t field;
    } fields[] = {{"NumVertices", offsetof(formats::MdsSurface, NumVertices)},
                  {"NumTriangles", offsetof(formats::MdsSurface, NumTriangles)},
                  {"NumBoneRefs", offsetof(formats::MdsSurface, NumBoneRefs)}};
    for (const auto& f : fields) {
        const mg::MdsImage image = sampleMdsImage();
        mg::Bytes bytes = image.bytes;
        patch<std::int32_t>(bytes, image.surfaces[0].header + static_cast<std::int64_t>(f.field), kHuge);
        throughMdsReaders(std::string("surface ") + f.label + "=max", bytes);
    }
    const mg::MdsImage image = sampleMdsImage();
    mg::Bytes bytes = image.bytes;
    patch<std::int32_t>(bytes, image.surfaces[0].vertex.back() + offsetof(formats::MdsVertex, NumWeights), kHuge);
    EXPECT_FALSE(throughMdsReaders("last vertex NumWeights=max", bytes));
}

// A surface whose end points at its own start makes every further surface
// of the chain the same record: millions of them in a file of a few
// hundred bytes.
TEST_F(Limits, MdsSurfaceChainThatLoopsOnItselfIsRefusedQuickly) {
    for (const std::int32_t count : {kMillions, kHuge}) {
        const mg::MdsImage image = sampleMdsImage();
        mg::Bytes bytes = image.bytes;
        patch<std::int32_t>(bytes, offsetof(formats::MdsHeader, NumSurfaces), count);
        patch<std::int32_t>(bytes, image.surfaces[0].header + offsetof(formats::MdsSurface, OffsetEnd), 0);
        throughMdsReaders("looping chain x" + std::to_string(count), bytes);
    }
}

// Lists shared by thousands of surfaces and chains that come back or run
// backwards: each record is valid, only the whole multiplies the work.
TEST_F(Limits, SharedListsAndChainsInAnyOrderStayInProportionToTheFile) {
    EXPECT_FALSE(throughMdsReaders("2900 surfaces sharing 80000 tris", mg::sharedListsMds(2900, 80000)));
    EXPECT_FALSE(throughMdsReaders("one header as 2^31-1 surfaces", mg::sharedHeaderMds(kHuge)));
    EXPECT_TRUE(throughMdsReaders("surfaces stored backwards", mg::backwardChainMds()));
    EXPECT_FALSE(throughMdcReader("8000 surfaces sharing 10000 tris", mg::sharedListsMdc(8000, 10000)));
}

// Large files whose counts are real: many frames, many surfaces.
TEST_F(Limits, LargeRealMdsFilesLoadInBoundedMemory) {
    EXPECT_TRUE(throughMdsReaders("20000 frames x 64 bones", mg::writeMds(mg::syntheticMds(1, 3, 1, 64, 20000)).bytes));
    EXPECT_TRUE(throughMdsReaders("20000 surfaces", mg::writeMds(mg::syntheticMds(20000, 3, 1, 1, 1)).bytes));
}

// The browser's tree as its tree view holds it (nodes and packed labels),
// for files whose bytes give many nodes and long labels: a body made of
// vertices, and files made so that few bytes print as long labels (a bone
// reference of 4 bytes naming a bone of 64 characters, floats printed with
// 39 digits). A body's tree may hold 8 bytes per byte of the file, the
// worst of these 14: with the file itself, Tessaly stays within 16.
namespace tree_shapes {

// 8 MB of vertices: 25 surfaces x 4000 vertices with 2 weights, 70 bones.
mg::Bytes vertexBody() { return mg::writeMds(mg::syntheticMds(25, 4000, 2, 70, 10)).bytes; }

// 2000 bones of 64-character names, 400,000 bone references naming them.
mg::Bytes longNames() {
    mg::MdsModel m = mg::syntheticMds(1, 0, 0, 0, 0);
    for (int b = 0; b < 2000; ++b) {
        std::string name = "bone " + std::to_string(b) + " ";
        name.resize(64, static_cast<char>('a' + b % 26));
        m.bones.push_back({name, b - 1, 0.5f, 3.0f, 0});
    }
    for (int r = 0; r < 400000; ++r) m.surfaces[0].boneRefs.push_back(r % 2000);
    return mg::writeMds(m).bytes;
}

// Every float of 50,000 vertices the largest there is, printed in 46 characters.
mg::Bytes hugeFloats() {
    constexpr float big = -3.40282347e38f;
    mg::MdsModel m = mg::syntheticMds(5, 10000, 1, 4, 1);
    for (auto& s : m.surfaces)
        for (auto& v : s.vertices) {
            v.normal = {big, big, big};
            v.texCoords = {big, big};
            for (auto& w : v.weights) w = formats::MdsWeight{w.BoneIndex, big, {big, big, big}};
        }
    return mg::writeMds(m).bytes;
}

// 5000 bones of unique 64-character names, read again as 5555 tags and as
// 100,000 bone references: every byte of the bones gives three kinds of
// nodes.
mg::Bytes overlaidNames() {
    constexpr int kBones = 20000;
    mg::MdsModel m = mg::syntheticMds(1, 0, 0, 0, 0);
    m.tags.clear();
    for (int b = 0; b < kBones; ++b) {
        std::string name = std::to_string(b * 7919 % 100000) + " ";
        while (name.size() < 64) name += static_cast<char>('a' + (name.size() * 7 + static_cast<std::size_t>(b)) % 26);
        m.bones.push_back({name, b - 1, 0.5f, 3.0f, 0});
    }
    mg::MdsImage image = mg::writeMds(m);
    const auto bones = static_cast<std::int32_t>(image.bones);
    // Half the bones' bytes again as tags and a quarter as bone references:
    // together within the walk's budget of twice the file.
    patch<std::int32_t>(image.bytes, offsetof(formats::MdsHeader, NumTags), kBones * 80 / 72 / 2);
    patch<std::int32_t>(image.bytes, offsetof(formats::MdsHeader, OffsetTags), bones);
    const std::int64_t surface = image.surfaces[0].header;
    patch<std::int32_t>(image.bytes, surface + offsetof(formats::MdsSurface, NumBoneRefs), kBones * 5);
    patch<std::int32_t>(image.bytes, surface + offsetof(formats::MdsSurface, OffsetBoneRefs),
                        bones - static_cast<std::int32_t>(surface));
    return image.bytes;
}

// Vertices without weights: 36 bytes give six nodes.
mg::Bytes bareVertices() { return mg::writeMds(mg::syntheticMds(8, 30000, 0, 2, 1)).bytes; }

}  // namespace tree_shapes

TEST_F(Limits, TessalyTreeHoldsFewBytesPerByteOfTheFile) {
    const struct {
        const char* label;
        mg::Bytes (*make)();
        std::size_t bytesPerFileByte;
    } shapes[] = {{"vertex body", tree_shapes::vertexBody, 8},
                  {"vertices without weights", tree_shapes::bareVertices, 8},
                  {"64-char names, 400000 refs", tree_shapes::longNames, 14},
                  {"floats of 46 characters", tree_shapes::hugeFloats, 14},
                  {"names as bones, tags and refs", tree_shapes::overlaidNames, 14}};
    for (const auto& shape : shapes) {
        const mg::Bytes bytes = shape.make();
        browser::MdsFile file;
        ASSERT_TRUE(file.adopt(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
        ASSERT_TRUE(file.resolve());
        browser::StoreTree tree("model.mds");
        bool built = false;
        const Measure m = measure([&] { built = browser::toTreeView(file, tree.root(), tree); });
        const shell::TreeStore& store = tree.store();
        row(std::string("tree held: ") + shape.label, bytes.size(),
            std::to_string(store.size()) + " nodes, " + std::to_string(store.bytesHeld() / store.size()) + " B each",
            m);
        std::printf("  %-34s %.2f bytes per byte of the file\n", "",
                    static_cast<double>(store.bytesHeld()) / static_cast<double>(bytes.size()));
        EXPECT_TRUE(built) << shape.label;
        EXPECT_LE(store.bytesHeld(), shape.bytesPerFileByte * bytes.size()) << shape.label;
    }
}

TEST_F(Limits, MdcCountsBeyondTheFileAreRefused) {
    const struct {
        const char* label;
        bool inSurface;
        std::size_t field;
    } fields[] = {{"NumFrames", false, offsetof(formats::MdcHeader, NumFrames)},
                  {"NumSurfaces", false, offsetof(formats::MdcHeader, NumSurfaces)},
                  {"surface NumVertices", true, offsetof(formats::MdcSurface, NumVertices)},
                  {"surface NumTriangles", true, offsetof(formats::MdcSurface, NumTriangles)},
                  {"surface NumBaseFrames", true, offsetof(formats::MdcSurface, NumBaseFrames)},
                  {"surface NumCompFrames", true, offsetof(formats::MdcSurface, NumCompFrames)}};
    for (const auto& f : fields) {
        for (const std::int32_t count : {kMillions, kHuge}) {
            const mg::MdcImage image = mg::writeMdc(mg::sampleMdc());
            mg::Bytes bytes = image.bytes;
            patch<std::int32_t>(
                bytes, (f.inSurface ? image.surfaces[0].header : 0) + static_cast<std::int64_t>(f.field), count);
            throughMdcReader(std::string(f.label) + "=" + std::to_string(count), bytes);
        }
    }
    for (const std::int32_t count : {kMillions, kHuge}) {
        const mg::MdcImage image = mg::writeMdc(mg::sampleMdc());
        mg::Bytes bytes = image.bytes;
        patch<std::int32_t>(bytes, offsetof(formats::MdcHeader, NumSurfaces), count);
        patch<std::int32_t>(bytes, image.surfaces[0].header + offsetof(formats::MdcSurface, OffsetEnd), 0);
        throughMdcReader("looping chain x" + std::to_string(count), bytes);
    }
}

// Skins: a million short entries, and one line of eight million bytes.
TEST_F(Limits, HugeSkinFilesParseInBoundedTime) {
    std::string many;
    many.reserve(1'000'000 * 12);
    for (int i = 0; i < 1'000'000; ++i) many += "s" + std::to_string(i) + ",t\n";
    std::string oneLine(8'000'000, 'x');
    oneLine += ",y";
    for (const auto& [label, text] : {std::pair<std::string, const std::string*>{"1M entries", &many},
                                      std::pair<std::string, const std::string*>{"one 8 MB line", &oneLine}}) {
        dir.write(label + ".skin", text->data(), text->size());
        const std::string path = dir.file(label + ".skin");
        int result = 0;
        const Measure m = measure([&] {
            Skin skin("limits");
            result = skin.load(path.c_str());
            skin.lookup("s999999");
            skin.lookup("missing");
        });
        row("skin " + label, text->size(), result > 0 ? "parsed" : "refused", m);
        EXPECT_LT(m.largest, 64 * text->size());
    }
}

// A body of many surfaces and a skin of 100,000 lines that names each of
// them near its end: the viewer's lookups and the checker's cost surfaces x
// entries until both were indexed (4x the surfaces, 4x the time).
TEST_F(Limits, ALongSkinOverManySurfacesStaysInProportion) {
    const mg::Bytes body = mg::manySurfacesMds(4000);
    const std::string text = mg::longSkin(100000);
    dir.write("synthetic/body.mds", body.data(), body.size());
    dir.write("synthetic/body_default.skin", text.data(), text.size());
    const std::size_t input = body.size() + text.size();
    int textured = -1;
    const Measure viewer = measure([&] {
        faults::PlainDevice device;
        {
            MDS mds(&device, "synthetic");
            ASSERT_GT(mds.loadFromFile(dir.file("synthetic/body.mds").c_str()), 0);
            Skin skin("synthetic");
            ASSERT_EQ(skin.load(dir.file("synthetic/body_default.skin").c_str()), 1);
            textured = mds.applySkin(dir.file("synthetic").c_str(), &skin);
        }
        EXPECT_EQ(device.live, 0);
    });
    row("body 4000 surfaces + skin 100000 lines", input, textured == 1 ? "applied" : "failed", viewer);
    EXPECT_LT(viewer.total, 16 * input + (64u << 20));

    std::size_t findings = 0;
    const Measure checker = measure([&] {
        check::Report report;
        check::checkPath(dir.file("synthetic"), check::Options{}, report);
        findings = report.findings().size();
    });
    row("  korvane-check", input, std::to_string(findings) + " findings", checker);
    EXPECT_LT(checker.total, 16 * input + (64u << 20));
    EXPECT_LT(findings, 200u);  // capped per list
}

}  // namespace
