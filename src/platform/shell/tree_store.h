// The nodes of a tree-view control, held compactly enough for the millions
// of nodes of a large model: 20 bytes of links per node in blocks of 8192
// that never move, labels packed (label_pack.h) one after the other in
// 64 KiB chunks, and the parameter kept beside the node only when it is
// not -1.
//
// Nodes are named by ids 1, 2, ... in the order they were added; id 0 is
// the invisible top that holds the top-level nodes. Each parent's children
// form a list with their rows stored, so a node's row and its parent's are
// read at once. Looking a child up by row walks the list from the nearest
// of a few remembered places, so reading the rows of a few parents in order,
// as a view does, costs a constant per row. Labels lie in the order of the
// ids; where each one starts is kept for every 16th node, and reading a
// label steps over at most 15 before it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/shell/label_pack.h"

namespace shell {

class TreeStore {
public:
    using Id = std::uint32_t;
    static constexpr Id kTop = 0;
    // Places for a new child besides "after this sibling".
    static constexpr Id kFirst = 0xFFFFFFFF;
    static constexpr Id kLast = 0xFFFFFFFE;
    static constexpr int kMaxChildren = (1 << 28) - 1;

    TreeStore() = default;

    // The row a child inserted under parent after `after` (kFirst, kLast or
    // a child of parent; anything else counts as kLast) would take; -1 when
    // parent is neither the top nor a node, or holds kMaxChildren children.
    int rowFor(Id parent, Id after) const;
    // Adds a node that is not yet in the tree; 0 when it cannot be held (no
    // memory, or the ids or the label chunks are used up).
    Id add(std::string_view label, std::int64_t param, bool childrenMark);
    // Puts a node from add in the tree at the place rowFor gave. Allocates
    // nothing and cannot fail.
    void link(Id id, Id parent, Id after);
    // rowFor, add and link in one; 0 when the node cannot be held.
    Id insert(Id parent, Id after, std::string_view label, std::int64_t param, bool childrenMark);

    // Removes every node and gives the memory back.
    void clear();

    // True for a node in the tree (not the top, not one only added).
    bool isNode(Id id) const { return id != kTop && id <= count_ && at(id).parent != kNone; }
    Id parent(Id id) const { return at(id).parent; }
    int row(Id id) const { return static_cast<int>(at(id).rowFlags & kRowMask); }
    int childCount(Id id) const;
    // The child at row; 0 when there is none.
    Id child(Id parent, int row) const;
    bool hasChildren(Id id) const { return at(id).first != 0 || (at(id).rowFlags & kMark) != 0; }
    std::string label(Id id) const;
    std::int64_t param(Id id) const;
    bool expanded(Id id) const { return (at(id).rowFlags & kExpanded) != 0; }
    bool expandedOnce(Id id) const { return (at(id).rowFlags & kExpandedOnce) != 0; }
    // Opening also marks the node as opened once.
    void setExpanded(Id id, bool open);

    std::size_t size() const { return count_; }
    // Every byte the store holds for its nodes, labels and parameters.
    std::size_t bytesHeld() const;

private:
    static constexpr Id kNone = 0xFFFFFFFF;  // parent of a node not yet linked
    static constexpr std::uint32_t kRowMask = (1u << 28) - 1;
    static constexpr std::uint32_t kMark = 1u << 28;
    static constexpr std::uint32_t kExpanded = 1u << 29;
    static constexpr std::uint32_t kExpandedOnce = 1u << 30;
    static constexpr std::uint32_t kParam = 1u << 31;
    static constexpr std::size_t kChunk = 64 * 1024;
    static constexpr unsigned kBlockBits = 13;
    static constexpr std::size_t kBlock = std::size_t{1} << kBlockBits;  // nodes per block
    static constexpr unsigned kLabelStep = 16;                           // nodes per kept label start

    struct Node {
        Id parent;
        Id first;  // children: first, last, each one's next (0 = none)
        Id last;
        Id next;
        std::uint32_t rowFlags;
    };
    static_assert(sizeof(Node) == 20);

    // A remembered place: the child at row under parent.
    struct Place {
        Id parent = kNone;
        int row = 0;
        Id child = 0;
        std::uint32_t used = 0;
    };

    const Node& at(Id id) const { return id == kTop ? top_ : blocks_[(id - 1) >> kBlockBits][(id - 1) & (kBlock - 1)]; }
    Node& at(Id id) { return id == kTop ? top_ : blocks_[(id - 1) >> kBlockBits][(id - 1) & (kBlock - 1)]; }
    Id previousFor(Id parent, Id after) const;
    void setRow(Id id, int row) { at(id).rowFlags = (at(id).rowFlags & ~kRowMask) | static_cast<std::uint32_t>(row); }
    void forgetPlaces(Id parent);
    // Offset (chunk * kChunk + position) of the packed label of node id.
    std::size_t labelAt(Id id) const;

    Node top_{};
    std::vector<std::unique_ptr<Node[]>> blocks_;  // node id n is at [(n - 1) / kBlock][(n - 1) % kBlock]
    std::size_t count_ = 0;                        // nodes, the top excluded
    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
    std::vector<std::uint32_t> chunkUsed_;   // bytes of labels in each chunk
    std::vector<std::uint32_t> labelStarts_;  // offset of the label of node 1 + kLabelStep * i
    LabelPack labels_;
    std::deque<std::pair<Id, std::int64_t>> params_;  // by id; only parameters other than -1
    std::string packed_;                              // one label being packed
    mutable std::array<Place, 8> places_{};
    mutable std::uint32_t clock_ = 0;
};

}  // namespace shell
