// Helpers of the browser tests: build the tree of an image or file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/mds_file.h"
#include "browser/text_tree.h"
#include "browser/tree_builder.h"
#include "modelgen/samples.h"

namespace testing_browser {

struct Built {
    browser::MdsFile model;
    browser::TextTree tree{"root"};
    bool result = false;
    browser::TreeNode root() const { return tree.root(); }
    std::vector<std::string> labels(browser::TreeNode n) const { return tree.childLabels(n); }
    // Child i of n, with a check that it exists.
    browser::TreeNode at(browser::TreeNode n, std::size_t i) const {
        EXPECT_LT(i, tree.node(n).children.size());
        return i < tree.node(n).children.size() ? tree.child(n, i) : tree.root();
    }
};

// Adopts the bytes, resolves and builds the tree.
inline void build(Built& b, const mg::Bytes& bytes) {
    b.model.adopt(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    b.model.resolve();
    b.result = browser::toTreeView(b.model, b.tree.root(), b.tree);
}

}  // namespace testing_browser
