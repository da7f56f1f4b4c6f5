// What the trees of the frame-mesh and skeleton formats share: labels into
// a sink, a record's fields through its table, and the one "Damaged: ..."
// line under the root where the walk stopped.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "browser/field_tree.h"
#include "browser/labeler.h"
#include "formats/diagnostics.h"

namespace browser {

inline constexpr double kDegreesPerUnit = 360.0 / 65536.0;

inline double d(float v) { return static_cast<double>(v); }
inline int n(std::int64_t v) { return static_cast<int>(v); }

// The field called `name` of record T at `at`, as the tree shows it.
template <class T>
std::string fieldOf(formats::ByteView bytes, std::int64_t at, const char* name) {
    for (const auto& f : formats::RecordInfo<T>::fields)
        if (std::strcmp(f.name, name) == 0) return fieldValue(bytes, at, f);
    return {};
}

class TreeWriter {
protected:
    TreeWriter(formats::ByteView bytes, const std::optional<formats::Finding>& refusal, TreeNode root, TreeSink& sink)
        : b_(bytes), refusal_(refusal), root_(root), out_(sink) {}

    // The walk stopped here: one line under the root says why; false.
    bool damaged() {
        out_.sink().appendLast(root_, ("Damaged: " + (refusal_ ? refusal_->text() : std::string())).c_str());
        return false;
    }
    // The end of a tree: true unless the walk stopped after what it shows.
    bool finished() { return !refusal_ || damaged(); }

    formats::ByteView b_;
    const std::optional<formats::Finding>& refusal_;
    TreeNode root_;
    Labeler<512> out_;
};

}  // namespace browser
