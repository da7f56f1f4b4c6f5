// The structure tree of one MDS file: toTreeView checks the held model and
// adds every header field, tag, bone, surface (with every vertex, weight,
// triangle, collapse map entry and bone reference) and one closed node per
// frame under the root; fillFrame adds one frame's content when its node is
// first opened.
//
// Choices where the format leaves things open:
//   - A bone index outside 0 .. NumBones - 1 shows "(invalid bone)"; nothing
//     outside the bone list is read. A bone index inside the list whose bone
//     record lies outside the bytes ends the build like any other such read.
//   - A float that holds no finite number prints as printf's "%f" gives it:
//     "inf", "-inf", "nan" or "-nan".
//   - fillFrame for a frame whose record (or one of its bone records) lies
//     outside the bytes, or for a frame number not below NumFrames, appends
//     the exception label as the last child of the frame node, after the
//     nodes it could add. For a model that is not resolved it adds nothing.
#pragma once

#include "browser/mds_file.h"
#include "browser/tree_sink.h"

namespace browser {

inline constexpr const char kLabelNotLoaded[] = "An error occured during opening process - File not loaded.";
inline constexpr const char kLabelWrongId[] = "The file doesn't seem to be MDS - wrong File Id.";
inline constexpr const char kLabelWrongVersion[] = "MDS Version doesn't fit - wrong MDS Version.";
inline constexpr const char kLabelNotResolved[] =
    "Inner Offset structure seems to be invalid - Wrong Offsets. (m_bAlreadyConverted==false)";
inline constexpr const char kLabelException[] =
    "An exception occured while preparing the Tree View, probablydue to a wrong Offset in the MDS - Exception in "
    "toTreeView.";
inline constexpr const char kLabelInvalidBone[] = "invalid bone";

// True when the whole tree was added; false when a check failed or a record
// lay outside the bytes (the reason is the last child of root).
bool toTreeView(const MdsFile& model, TreeNode root, TreeSink& sink);

// Adds frame k's fields and compressed bone records under frameNode.
void fillFrame(const MdsFile& model, TreeSink& sink, TreeNode frameNode, int k);

}  // namespace browser
