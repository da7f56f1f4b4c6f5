// Formats tree labels into one buffer of N characters (a longer label is cut)
// and hands them to a tree sink.
#pragma once

#include <cstddef>
#include <type_traits>

#include "browser/label_format.h"
#include "browser/tree_sink.h"

namespace browser {

template <std::size_t N>
class Labeler {
public:
    explicit Labeler(TreeSink& sink) : sink_(sink) {}

    template <class... Args>
    TreeNode add(TreeNode parent, LabelFormat<std::type_identity_t<Args>...> format, Args... args) {
        formatLabel(label_, N, format, args...);
        return sink_.appendChild(parent, label_, -1, false);
    }
    TreeNode text(TreeNode parent, const char* label) { return sink_.appendChild(parent, label, -1, false); }
    TreeNode frameNode(TreeNode parent, int k) {
        formatLabel(label_, N, "Frame %d", k);
        return sink_.appendChild(parent, label_, k, true);
    }
    TreeSink& sink() { return sink_; }

private:
    TreeSink& sink_;
    char label_[N];
};

}  // namespace browser
