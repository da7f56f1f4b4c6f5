// The structure of the model formats other than MDS (whose tree is the
// browser's, tree_builder.h) as trees in mdstree's style: every field, with
// the value a stored number stands for beside it (positions in units of
// 1/64, angles in units of 360/65536 degrees, packed normals as vectors).
//
// Each reads what its index (formats/<format>_index.h, walked for
// Reader::Print) found; where the walk stopped, one last line under the root
// says why ("Damaged: " and the finding). Frame nodes of MD3 and MDX files
// are added closed, as the MDS tree's are: fill*Frame fills one.
#pragma once

#include "browser/tree_sink.h"
#include "formats/byte_view.h"
#include "formats/md3_index.h"
#include "formats/mdc_index.h"
#include "formats/mdm_index.h"
#include "formats/mdx_index.h"

namespace browser {

// Each: false when the file is damaged (the last line under `root` says where).
bool mdcTree(formats::ByteView bytes, const formats::MdcIndex& index, TreeNode root, TreeSink& sink);
bool md3Tree(formats::ByteView bytes, const formats::Md3Index& index, TreeNode root, TreeSink& sink);
bool mdxTree(formats::ByteView bytes, const formats::MdxIndex& index, TreeNode root, TreeSink& sink);

// Frame k's bounds, tags and vertices (MD3) or bone records (MDX).
void fillMd3Frame(formats::ByteView bytes, const formats::Md3Index& index, TreeSink& sink, TreeNode node, int k);
void fillMdxFrame(formats::ByteView bytes, const formats::MdxIndex& index, TreeSink& sink, TreeNode node, int k);

// The names of a skeleton's bones, for an MDM file's weights and bone
// references (empty: no skeleton given, or no such bone).
class BoneNames {
public:
    BoneNames() = default;
    BoneNames(formats::ByteView bytes, const formats::MdxIndex& index) : bytes_(bytes), index_(&index) {}
    std::string operator()(std::int32_t bone) const;

private:
    formats::ByteView bytes_;
    const formats::MdxIndex* index_ = nullptr;
};

bool mdmTree(formats::ByteView bytes, const formats::MdmIndex& index, const BoneNames& names, TreeNode root,
             TreeSink& sink);

}  // namespace browser
