// The frame filler: six children, degrees of the compressed angles, and what
// it does for frame records outside the bytes.
#include <cstddef>

#include "tree_fixture.h"

namespace {

using testing_browser::Built;
using testing_browser::build;
using Strings = std::vector<std::string>;

browser::TreeNode frameNode(const Built& b, std::size_t k) { return b.at(b.at(b.root(), 9), k); }

TEST(Frames, FillerAddsSixChildrenAndSevenPerBone) {
    Built b;
    build(b, mg::writeMds(mg::sampleMds()).bytes);
    const auto f1 = frameNode(b, 1);
    browser::fillFrame(b.model, b.tree, f1, 1);
    EXPECT_EQ(b.labels(f1),
              (Strings{"bboxMin: -10.000000, -10.000000, 0.000000", "bboxMax: 10.000000, 10.000000, 60.000000",
                       "LocalOrigin: 0.000000, 0.000000, 0.000000", "Radius: 40.000000",
                       "ParentOffset: 0.000000, 0.000000, 25.000000", "CompressedBoneFrames (4)"}));
    const auto cbfs = b.at(f1, 5);
    EXPECT_EQ(b.labels(cbfs), (Strings{"CBF 0", "CBF 1", "CBF 2", "CBF 3"}));
    // Frame 1, bone 0: 2048 units = 11.25 degrees.
    EXPECT_EQ(b.labels(b.at(cbfs, 0)), (Strings{"Pitch: 11.250000", "Yaw: -11.250000", "Roll: 0.000000", "Zero: 0",
                                                "OffsetPitch: 16384", "OffsetYaw: -16384"}));
    for (const auto& n : b.tree.nodes())
        if (n.label.rfind("Frame ", 0) != 0) {
            EXPECT_EQ(n.frameNumber, -1) << n.label;
        }
    // Other frames stay closed; the progress bar is left alone.
    EXPECT_TRUE(b.tree.node(frameNode(b, 0)).children.empty());
    EXPECT_EQ(b.tree.progress.size(), 5u);
}

TEST(Frames, AnglesInDegrees) {
    mg::MdsModel m;
    m.bones = {{"a"}, {"b"}};
    mg::MdsFrameDesc f;
    f.boneFrames = {{16384, -1, static_cast<std::int16_t>(0xC000), -7, static_cast<std::int16_t>(0x8000), 32767},
                    {0x4000, 1, 0, 0, 0, 0}};
    m.frames = {f};
    Built b;
    build(b, mg::writeMds(m).bytes);
    const auto f0 = frameNode(b, 0);
    browser::fillFrame(b.model, b.tree, f0, 0);
    const auto cbfs = b.at(f0, 5);
    EXPECT_EQ(b.tree.node(cbfs).label, "CompressedBoneFrames (2)");
    EXPECT_EQ(b.labels(b.at(cbfs, 0)), (Strings{"Pitch: 90.000000", "Yaw: -0.005493", "Roll: -90.000000", "Zero: -7",
                                                "OffsetPitch: -32768", "OffsetYaw: 32767"}));
    EXPECT_EQ(b.labels(b.at(cbfs, 1))[0], "Pitch: 90.000000");
    EXPECT_EQ(b.labels(b.at(cbfs, 1))[1], "Yaw: 0.005493");
}

TEST(Frames, ModelWithoutBonesHasEmptyBoneList) {
    mg::MdsModel m;
    m.frames.resize(2);
    m.frames[1].radius = 2.5f;
    Built b;
    build(b, mg::writeMds(m).bytes);
    const auto f1 = frameNode(b, 1);
    browser::fillFrame(b.model, b.tree, f1, 1);
    EXPECT_EQ(b.labels(f1)[3], "Radius: 2.500000");  // frames are 52 bytes apart
    EXPECT_EQ(b.labels(f1)[5], "CompressedBoneFrames (0)");
    EXPECT_TRUE(b.tree.node(b.at(f1, 5)).children.empty());
}

TEST(Frames, RecordOutsideTheBytesGivesTheExceptionLabel) {
    // Frames stored last and cut inside frame 2's bone records.
    auto m = mg::sampleMds();
    m.order = {mg::MdsSection::Bones, mg::MdsSection::Surfaces, mg::MdsSection::Tags, mg::MdsSection::Frames};
    auto bytes = mg::writeMds(m).bytes;
    bytes.resize(bytes.size() - 20);
    Built b;
    build(b, bytes);
    ASSERT_TRUE(b.result);
    const auto f2 = frameNode(b, 2);
    browser::fillFrame(b.model, b.tree, f2, 2);
    const auto labels = b.labels(f2);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[5], "CompressedBoneFrames (4)");
    EXPECT_EQ(labels[6], browser::kLabelException);
    EXPECT_EQ(b.tree.node(b.at(f2, 5)).children.size(), 2u);  // bones 0, 1 fit; bone 2 is cut
    // Frame 1 is whole.
    browser::fillFrame(b.model, b.tree, frameNode(b, 1), 1);
    EXPECT_EQ(b.labels(frameNode(b, 1)).size(), 6u);

    // The fixed part outside: only the label. A frame number not below
    // NumFrames: the same.
    auto far = mg::writeMds(mg::sampleMds()).bytes;
    mg::put<std::int32_t>(far, offsetof(formats::MdsHeader, OffsetFrames), -1000);
    Built c;
    build(c, far);
    browser::fillFrame(c.model, c.tree, frameNode(c, 0), 0);
    EXPECT_EQ(c.labels(frameNode(c, 0)), Strings{browser::kLabelException});
    browser::fillFrame(c.model, c.tree, frameNode(c, 1), 3);
    EXPECT_EQ(c.labels(frameNode(c, 1)), Strings{browser::kLabelException});

    // An unresolved model: nothing is added.
    browser::MdsFile empty;
    browser::TextTree t("x");
    browser::fillFrame(empty, t, t.root(), 0);
    EXPECT_TRUE(t.node(t.root()).children.empty());
}

}  // namespace
