// The four check labels and the exception label: what each failing model
// shows under the root, and that nodes added before a failure stay.
#include <cstddef>

#include "tree_fixture.h"

namespace {

using testing_browser::Built;
using testing_browser::build;
using Strings = std::vector<std::string>;

// A tree whose root holds exactly the one label, with no progress call.
void expectOnly(const Built& b, const char* label) {
    EXPECT_FALSE(b.result);
    EXPECT_EQ(b.labels(b.root()), Strings{label});
    EXPECT_TRUE(b.tree.progress.empty());
}

TEST(Checks, EachFailingCheckShowsItsLabel) {
    {
        Built b;  // nothing read
        b.result = browser::toTreeView(b.model, b.root(), b.tree);
        expectOnly(b, browser::kLabelNotLoaded);
    }
    {
        Built b;
        build(b, mg::Bytes{'p', 'l', 'a', 'i', 'n', ' ', 't', 'e', 'x', 't', '\n'});
        expectOnly(b, browser::kLabelWrongId);
    }
    {
        Built b;  // too short to hold the ident
        build(b, mg::Bytes{'M', 'D', 'S'});
        expectOnly(b, browser::kLabelWrongId);
    }
    {
        Built b;
        build(b, mg::damagedMds(mg::MdsDamage::WrongIdent));
        expectOnly(b, browser::kLabelWrongId);
    }
    {
        Built b;  // the ident but no version field
        build(b, mg::Bytes{'M', 'D', 'S', 'W', 4, 0});
        expectOnly(b, browser::kLabelWrongVersion);
    }
    {
        Built b;
        build(b, mg::damagedMds(mg::MdsDamage::Version3));
        expectOnly(b, browser::kLabelWrongVersion);
    }
    {
        Built b;  // right ident and version, shorter than the header
        auto bytes = mg::writeMds(mg::sampleMds()).bytes;
        bytes.resize(119);
        build(b, bytes);
        expectOnly(b, browser::kLabelNotResolved);
    }
    for (auto damage : {mg::MdsDamage::SurfaceEndOutside, mg::MdsDamage::NegativeCount}) {
        Built b;
        build(b, mg::damagedMds(damage));
        expectOnly(b, browser::kLabelNotResolved);
    }
    {
        Built b;  // valid bytes, resolve never called
        const auto bytes = mg::writeMds(mg::sampleMds()).bytes;
        b.model.adopt(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        b.result = browser::toTreeView(b.model, b.root(), b.tree);
        expectOnly(b, browser::kLabelNotResolved);
    }
    EXPECT_STREQ(browser::kLabelException,
                 "An exception occured while preparing the Tree View, probablydue to a wrong Offset in the MDS - "
                 "Exception in toTreeView.");
}

TEST(Exception, WeightsPastTheEndKeepEarlierNodes) {
    Built b;
    build(b, mg::damagedMds(mg::MdsDamage::WeightsPastEnd));
    EXPECT_FALSE(b.result);
    const auto top = b.labels(b.root());
    ASSERT_EQ(top.size(), 10u);
    EXPECT_EQ(top[0], "Id: 1465074765");
    EXPECT_EQ(top[8], "Surfaces (2)");
    EXPECT_EQ(top[9], browser::kLabelException);  // and no frames node
    EXPECT_TRUE(b.tree.progress.empty());
    // Tags, bones and the first surface are complete.
    EXPECT_EQ(b.tree.node(b.at(b.root(), 6)).children.size(), 2u);
    EXPECT_EQ(b.tree.node(b.at(b.root(), 7)).children.size(), 4u);
    const auto surfaces = b.at(b.root(), 8);
    EXPECT_EQ(b.labels(b.at(surfaces, 0)).back(), "BoneRefs (4)");
    EXPECT_EQ(b.tree.node(b.at(b.at(surfaces, 0), 8)).children.size(), 4u);
    // The second surface ends inside its last vertex's weights.
    const auto s1 = b.at(surfaces, 1);
    EXPECT_EQ(b.labels(s1).back(), "Vertices (4)");
    const auto last = b.at(b.at(s1, 5), 3);
    EXPECT_EQ(b.labels(last).back(), "Weights (1000)");
    const auto& weights = b.tree.node(b.at(last, 3)).children;
    EXPECT_GE(weights.size(), 1u);
    EXPECT_LT(weights.size(), 1000u);
}

TEST(Exception, ListsOutsideTheBytesEndTheBuild) {
    const auto img = mg::writeMds(mg::sampleMds());
    using formats::MdsHeader;
    using formats::MdsSurface;
    struct Case {
        std::int64_t field;
        std::int32_t value;
        std::size_t rootChildren;  // before the exception label
    };
    const std::int32_t far = 1 << 28;
    const Case cases[] = {
        {offsetof(MdsHeader, OffsetBones), far, 5},  // TorsoParent's name is already a bone read
        {offsetof(MdsHeader, OffsetTags), -72, 7},
        {offsetof(MdsHeader, NumTags), 0x7FFFFFFF, 7},
        {img.surfaces[0].header + static_cast<std::int64_t>(offsetof(MdsSurface, OffsetTriangles)), far, 9},
        {img.surfaces[1].header + static_cast<std::int64_t>(offsetof(MdsSurface, NumBoneRefs)), 1000, 9},
        {img.surfaces[1].header + static_cast<std::int64_t>(offsetof(MdsSurface, OffsetCollapseMap)), -far, 9},
    };
    for (const auto& c : cases) {
        auto bytes = img.bytes;
        mg::put(bytes, c.field, c.value);
        Built b;
        build(b, bytes);
        EXPECT_FALSE(b.result) << c.field;
        const auto top = b.labels(b.root());
        ASSERT_EQ(top.size(), c.rootChildren + 1) << c.field;
        EXPECT_EQ(top.back(), browser::kLabelException) << c.field;
        EXPECT_TRUE(b.tree.progress.empty());
    }
}

}  // namespace
