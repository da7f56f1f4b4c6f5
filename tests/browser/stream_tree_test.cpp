// The streamed tree must be byte for byte the text of the held tree, with
// every frame filled, also for files whose tree ends in a failure label.
#include <cstdio>
#include <string>

#include "browser/stream_tree.h"
#include "modelgen/amplify.h"
#include "tree_fixture.h"

namespace {

std::string held(const mg::Bytes& bytes) {
    testing_browser::Built b;
    testing_browser::build(b, bytes);
    for (auto node : b.tree.frameNodes()) browser::fillFrame(b.model, b.tree, node, b.tree.node(node).frameNumber);
    return b.tree.text();
}

std::string streamed(const mg::Bytes& bytes) {
    browser::MdsFile model;
    model.adopt(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    model.resolve();
    std::FILE* out = std::tmpfile();
    if (!out) return "no temporary file";
    {
        browser::StreamTree tree(out, "root");
        tree.onFrameNode = [&](browser::TreeNode node, int k) { browser::fillFrame(model, tree, node, k); };
        browser::toTreeView(model, tree.root(), tree);
        EXPECT_FALSE(tree.outOfOrder());
    }
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    const std::size_t got = std::fread(text.data(), 1, text.size(), out);
    std::fclose(out);
    text.resize(got);
    return text;
}

TEST(StreamTree, WritesTheHeldTreesTextByteForByte) {
    auto frameOutside = mg::writeMds(mg::sampleMds()).bytes;
    frameOutside.resize(frameOutside.size() - 1);  // the tags go last: the tree stops there
    const mg::Bytes files[] = {
        mg::writeMds(mg::sampleMds()).bytes,
        mg::writeMds(mg::syntheticMds(3, 9, 2, 5, 4)).bytes,
        mg::damagedMds(mg::MdsDamage::WeightsPastEnd),
        mg::damagedMds(mg::MdsDamage::Version3),
        mg::backwardChainMds(),
        frameOutside,
    };
    for (const auto& bytes : files) EXPECT_EQ(streamed(bytes), held(bytes));
}

}  // namespace
