// The tree of valid files: order, labels and their number formats, lazily
// closed frame nodes and the progress calls.
#include <cmath>
#include <limits>

#include "tree_fixture.h"

namespace {

using testing_browser::Built;
using testing_browser::build;
using Strings = std::vector<std::string>;
using Call = browser::TextTree::ProgressCall;

TEST(Tree, SampleModelTopLevelAndHeader) {
    Built b;
    build(b, mg::writeMds(mg::sampleMds()).bytes);
    ASSERT_TRUE(b.result);
    EXPECT_EQ(b.labels(b.root()), (Strings{"Id: 1465074765", "Version: 4", "Name: sample", "LodScale: 1.000000",
                                           "LodBias: 0.500000", "TorsoParent: 1 (spine)", "Tags (2)", "Bones (4)",
                                           "Surfaces (2)", "Frames (3)"}));
    // Header fields have no children; nothing is opened.
    for (std::size_t i = 0; i < 6; ++i) EXPECT_TRUE(b.tree.node(b.at(b.root(), i)).children.empty());

    const auto tags = b.at(b.root(), 6);
    EXPECT_EQ(b.labels(tags), (Strings{"Tag 0: tag_head", "Tag 1: tag_weapon"}));
    EXPECT_EQ(b.labels(b.at(tags, 1)), (Strings{"BoneIndex: 3 (arm)", "TorsoWeight: 0.000000"}));

    const auto bones = b.at(b.root(), 7);
    EXPECT_EQ(b.labels(bones), (Strings{"Bone 0: root", "Bone 1: spine", "Bone 2: head", "Bone 3: arm"}));
    EXPECT_EQ(b.labels(b.at(bones, 0)),
              (Strings{"ParentIndex: none", "Flags: 0", "ParentDist: 0.000000", "TorsoWeight: 0.000000"}));
    EXPECT_EQ(b.labels(b.at(bones, 3)),
              (Strings{"ParentIndex: 1 (spine)", "Flags: 2147483648", "ParentDist: 6.000000", "TorsoWeight: 0.250000"}));
    // Every node except the frame nodes has frame number -1 and no mark.
    for (const auto& n : b.tree.nodes())
        if (n.label.rfind("Frame ", 0) != 0) {
            EXPECT_EQ(n.frameNumber, -1) << n.label;
            EXPECT_FALSE(n.hasChildren) << n.label;
        }
}

TEST(Tree, SurfaceWithEveryList) {
    auto m = mg::sampleMds();
    m.surfaces[1].minLod = -3;
    m.surfaces[1].triangles[1] = {{0, -1, 3}};
    m.surfaces[1].collapseMap[2] = -2;
    const auto img = mg::writeMds(m);
    Built b;
    build(b, img.bytes);
    ASSERT_TRUE(b.result);
    const auto surfaces = b.at(b.root(), 8);
    EXPECT_EQ(b.labels(surfaces), (Strings{"Surface 0 (body)", "Surface 1 (legs)"}));
    const auto s1 = b.at(surfaces, 1);
    EXPECT_EQ(b.labels(s1), (Strings{"Id: 7", "Shader: models/players/sample/legs", "ShaderIndex: 1", "MinLod: -3",
                                     "OffsetHeader: " + std::to_string(-img.surfaces[1].header), "Vertices (4)",
                                     "Triangles (2)", "CollapseMap (4)", "BoneRefs (4)"}));
    const auto vertices = b.at(s1, 5);
    EXPECT_EQ(b.labels(vertices), (Strings{"Vertex 0", "Vertex 1", "Vertex 2", "Vertex 3"}));
    EXPECT_EQ(b.labels(b.at(vertices, 1)), (Strings{"Normal: 0.000000, 0.000000, 1.000000", "TexCoords: 1.000000, 0.000000",
                                                    "FixedParent: 0", "Weights (2)"}));
    const auto weights = b.at(b.at(vertices, 1), 3);
    EXPECT_EQ(b.labels(weights), (Strings{"Weight 0", "Weight 1"}));
    EXPECT_EQ(b.labels(b.at(weights, 1)),
              (Strings{"BoneIndex: 2 (head)", "Weight: 0.500000", "xyz: 0.000000, -1.000000, 0.000000"}));
    // A vertex without weights, then the one after it read from right behind.
    EXPECT_EQ(b.labels(b.at(b.at(vertices, 2), 3)), Strings{});
    EXPECT_EQ(b.labels(b.at(b.at(b.at(vertices, 3), 3), 0)),
              (Strings{"BoneIndex: 3 (arm)", "Weight: 1.000000", "xyz: -2.000000, 0.000000, 4.500000"}));
    EXPECT_EQ(b.labels(b.at(s1, 6)), (Strings{"Triangle 0: 0, 1, 2", "Triangle 1: 0, 4294967295, 3"}));
    EXPECT_EQ(b.labels(b.at(s1, 7)), (Strings{"0: 0", "1: 0", "2: 4294967294", "3: 2"}));
    EXPECT_EQ(b.labels(b.at(s1, 8)), (Strings{"0: 0 (root)", "1: 1 (spine)", "2: 2 (head)", "3: 3 (arm)"}));
}

TEST(Tree, FrameNodesAreClosedAndProgressMoves) {
    Built b;
    build(b, mg::writeMds(mg::sampleMds()).bytes);
    const auto frames = b.at(b.root(), 9);
    EXPECT_EQ(b.labels(frames), (Strings{"Frame 0", "Frame 1", "Frame 2"}));
    for (int k = 0; k < 3; ++k) {
        const auto& n = b.tree.node(b.at(frames, static_cast<std::size_t>(k)));
        EXPECT_EQ(n.frameNumber, k);
        EXPECT_TRUE(n.hasChildren);
        EXPECT_TRUE(n.children.empty());
    }
    EXPECT_EQ(b.tree.progress, (std::vector<Call>{{true, 0, 2}, {false, 0, 0}, {false, 0, 0}, {false, 1, 0},
                                                  {false, 2, 0}}));
}

TEST(Tree, EmptyListsAndNoFrames) {
    mg::MdsModel m;
    m.name = "";
    m.torsoParent = -1;
    Built b;
    build(b, mg::writeMds(m).bytes);
    ASSERT_TRUE(b.result);
    EXPECT_EQ(b.labels(b.root()), (Strings{"Id: 1465074765", "Version: 4", "Name: ", "LodScale: 1.000000",
                                           "LodBias: 0.000000", "TorsoParent: -1 (invalid bone)", "Tags (0)",
                                           "Bones (0)", "Surfaces (0)", "Frames (0)"}));
    for (std::size_t i = 6; i < 10; ++i) EXPECT_TRUE(b.tree.node(b.at(b.root(), i)).children.empty());
    EXPECT_EQ(b.tree.progress, (std::vector<Call>{{true, 0, -1}, {false, 0, 0}}));

    // A surface with no vertices, triangles or bone references.
    m.surfaces.resize(1);
    m.surfaces[0].name = "empty";
    Built c;
    build(c, mg::writeMds(m).bytes);
    ASSERT_TRUE(c.result);
    const auto s = c.at(c.at(c.root(), 8), 0);
    EXPECT_EQ(c.labels(s), (Strings{"Id: 0", "Shader: ", "ShaderIndex: 0", "MinLod: 0", "OffsetHeader: -120",
                                    "Vertices (0)", "Triangles (0)", "CollapseMap (0)", "BoneRefs (0)"}));
}

TEST(Tree, OutOfRangeBoneIndicesReadNothingOutsideTheList) {
    Built b;
    build(b, mg::damagedMds(mg::MdsDamage::BadBoneIndices));
    ASSERT_TRUE(b.result);
    EXPECT_EQ(b.labels(b.root())[5], "TorsoParent: 4 (invalid bone)");
    EXPECT_EQ(b.labels(b.at(b.at(b.root(), 6), 0))[0], "BoneIndex: -5 (invalid bone)");
    EXPECT_EQ(b.labels(b.at(b.at(b.root(), 7), 2))[0], "ParentIndex: 99 (invalid bone)");
    const auto s0 = b.at(b.at(b.root(), 8), 0);
    EXPECT_EQ(b.labels(b.at(b.at(b.at(b.at(s0, 5), 0), 3), 0))[0], "BoneIndex: 4 (invalid bone)");
    EXPECT_EQ(b.labels(b.at(s0, 8))[1], "1: 4294967295 (invalid bone)");
}

TEST(Tree, SixtyFourCharacterNames) {
    Built b;
    build(b, mg::damagedMds(mg::MdsDamage::UnterminatedNames));
    ASSERT_TRUE(b.result);
    const std::string n(64, 'N');
    EXPECT_EQ(b.labels(b.root())[2], "Name: " + n);
    EXPECT_EQ(b.labels(b.root())[5], "TorsoParent: 1 (" + n + ")");
    EXPECT_EQ(b.labels(b.at(b.root(), 7))[0], "Bone 0: " + n);
    EXPECT_EQ(b.labels(b.at(b.root(), 6))[1], "Tag 1: " + n);
    const auto s0 = b.at(b.at(b.root(), 8), 0);
    EXPECT_EQ(b.tree.node(s0).label, "Surface 0 (" + n + ")");
    EXPECT_EQ(b.labels(s0)[1], "Shader: " + n);
}

TEST(Tree, NonFiniteFloatsPrintAsPrintfDoes) {
    auto m = mg::sampleMds();
    m.lodScale = std::numeric_limits<float>::infinity();
    m.lodBias = -std::numeric_limits<float>::infinity();
    m.tags[0].torsoWeight = std::numeric_limits<float>::quiet_NaN();
    m.bones[0].parentDist = std::numeric_limits<float>::max();
    Built b;
    build(b, mg::writeMds(m).bytes);
    ASSERT_TRUE(b.result);
    EXPECT_EQ(b.labels(b.root())[3], "LodScale: inf");
    EXPECT_EQ(b.labels(b.root())[4], "LodBias: -inf");
    EXPECT_EQ(b.labels(b.at(b.at(b.root(), 6), 0))[1], "TorsoWeight: nan");
    EXPECT_EQ(b.labels(b.at(b.at(b.root(), 7), 0))[2], "ParentDist: 340282346638528859811704183484516925440.000000");
}

}  // namespace
