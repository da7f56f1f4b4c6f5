// The tree-view node store: places and rows of inserted children, lookups
// by row in any order, the per-node state, and labels that read back
// exactly whatever their text.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/shell/label_pack.h"
#include "platform/shell/tree_store.h"

namespace {

using shell::TreeStore;
using Id = TreeStore::Id;

std::vector<std::string> childLabels(const TreeStore& s, Id parent) {
    std::vector<std::string> out;
    for (int r = 0; r < s.childCount(parent); ++r) {
        const Id c = s.child(parent, r);
        EXPECT_EQ(s.row(c), r);
        EXPECT_EQ(s.parent(c), parent);
        out.push_back(s.label(c));
    }
    return out;
}

TEST(TreeStore, ChildrenGoWhereTheyAreInsertedAndKeepTheirRows) {
    TreeStore s;
    const Id root = s.insert(TreeStore::kTop, TreeStore::kLast, "model.mds", -1, false);
    const Id b = s.insert(root, TreeStore::kLast, "b", -1, false);
    const Id d = s.insert(root, b, "d", 7, true);
    const Id c = s.insert(root, b, "c", -1, false);                 // between b and d
    const Id a = s.insert(root, TreeStore::kFirst, "a", -1, false);  // before all
    const Id e = s.insert(root, root, "e", -1, false);              // not a child of root: at the end
    const Id top[] = {a, b, c, d, e};
    EXPECT_EQ(childLabels(s, root), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(s.row(d), 3);
    EXPECT_EQ(s.rowFor(root, b), 2);
    EXPECT_EQ(s.rowFor(root, TreeStore::kFirst), 0);
    EXPECT_EQ(s.rowFor(root, TreeStore::kLast), 5);

    EXPECT_EQ(s.param(d), 7);
    EXPECT_EQ(s.param(b), -1);
    EXPECT_TRUE(s.hasChildren(d));  // the mark, before any child
    EXPECT_FALSE(s.hasChildren(b));
    s.setExpanded(d, true);
    s.setExpanded(d, false);
    EXPECT_FALSE(s.expanded(d));
    EXPECT_TRUE(s.expandedOnce(d));

    // Rows read backwards, forwards and at random across two parents.
    std::vector<Id> kids;
    for (int i = 0; i < 1000; ++i) kids.push_back(s.insert(b, TreeStore::kLast, std::to_string(i), i, false));
    for (int r = 999; r >= 0; --r) ASSERT_EQ(s.child(b, r), kids[static_cast<std::size_t>(r)]);
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        const int r = static_cast<int>(rng() % 1000);
        ASSERT_EQ(s.child(b, r), kids[static_cast<std::size_t>(r)]);
        ASSERT_EQ(s.child(root, r % 5), top[static_cast<std::size_t>(r % 5)]);
    }
    EXPECT_EQ(s.child(b, 1000), 0u);
    EXPECT_EQ(s.child(b, -1), 0u);
    EXPECT_EQ(s.param(kids[999]), 999);

    // Labels of every length, over many chunks, read back in any order.
    std::vector<std::pair<Id, std::string>> labels;
    for (int i = 0; i < 60000; ++i) {
        std::string text = "Weight " + std::to_string(i) + ": " + std::string(rng() % 300, 'w');
        if (i % 7 == 0) text = std::to_string(static_cast<float>(rng()) / 7.0f);
        labels.emplace_back(s.insert(b, TreeStore::kLast, text, -1, false), text);
    }
    std::shuffle(labels.begin(), labels.end(), rng);
    for (const auto& [id, text] : labels) ASSERT_EQ(s.label(id), text);

    // Nothing goes under a node that does not exist.
    EXPECT_EQ(s.insert(Id{123456}, TreeStore::kLast, "x", -1, false), 0u);
    EXPECT_EQ(s.rowFor(Id{123456}, TreeStore::kLast), -1);

    s.clear();
    EXPECT_EQ(s.size(), 0u);
    EXPECT_EQ(s.childCount(TreeStore::kTop), 0);
    EXPECT_FALSE(s.isNode(root));
    EXPECT_EQ(s.insert(TreeStore::kTop, TreeStore::kLast, "again", -1, false), root);  // ids start over
    EXPECT_EQ(s.label(root), "again");
    EXPECT_FALSE(s.expandedOnce(root));
}

std::string roundTrip(shell::LabelPack& pack, const std::string& text, std::size_t* packedSize = nullptr) {
    std::string packed;
    EXPECT_TRUE(pack.pack(text, packed));
    EXPECT_LE(packed.size(), shell::LabelPack::kMaxPacked) << text;
    if (packedSize) *packedSize = packed.size();
    std::string out;
    const auto* p = reinterpret_cast<const std::uint8_t*>(packed.data());
    EXPECT_EQ(pack.unpack(p, out), p + packed.size()) << text;
    return out;
}

TEST(LabelPack, EveryLabelReadsBackExactly) {
    shell::LabelPack pack;
    const std::string labels[] = {
        "", "Id: 1465074765", "Normal: 0.000000, -0.000000, 1.000000", "Pitch: -0.005493", "Flags: 4294967295",
        "xyz: 340282346638528859811704183484516925440.000000, -nan, inf", "Bone 12: Bip01 Spine1",
        "TorsoParent: -1 (invalid bone)",
        "007 -0 -007 0.5 12.1234567 1. .5 1..2 1-2 --1 - 9223372036854775807 -9223372036854775808 99999999999999999999",
        "0.1000000000000000055511151231257827 1e10 3.000000x 2.0000001", std::string(300, '7'),
        std::string("bytes \x01\x02\x03\x7f\x80\xff 1\x00 2", 17)};
    for (const std::string& text : labels) EXPECT_EQ(roundTrip(pack, text), text);

    // Random text over the characters numbers are made of.
    std::mt19937 rng(11);
    const char alphabet[] = "0123456789-. a";
    for (int i = 0; i < 20000; ++i) {
        std::string text(rng() % 40, ' ');
        for (char& c : text) c = alphabet[rng() % (sizeof alphabet - 1)];
        ASSERT_EQ(roundTrip(pack, text), text);
    }
    // "%f" of any float, widened as the labels print them, is kept in 5 bytes
    // and an end byte.
    for (int i = 0; i < 20000; ++i) {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        char text[64];
        std::snprintf(text, sizeof text, "%f", static_cast<double>(f));
        std::size_t size = 0;
        ASSERT_EQ(roundTrip(pack, text, &size), text);
        if (std::isfinite(f)) {
            ASSERT_EQ(size, 6u) << text;  // "inf" and "nan" stay text
        }
    }
}

TEST(LabelPack, TextBetweenNumbersIsKeptOnce) {
    shell::LabelPack pack;
    std::size_t total = 0;
    for (int i = 0; i < 1000; ++i) {
        std::size_t size = 0;
        const std::string text =
            std::to_string(i) + ": " + std::to_string(i % 70) + " (Bip01 Spine" + std::to_string(i % 3) + ")";
        EXPECT_EQ(roundTrip(pack, text, &size), text);
        total += size;
    }
    // ": ", " (", "Bip01 Spine" and ")"; two numbers of at most 2 bytes,
    // four runs, one digit and the end.
    EXPECT_EQ(pack.runs(), 4u);
    EXPECT_LE(total, 1000u * 10);
}

}  // namespace
