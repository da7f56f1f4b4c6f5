#include "platform/shell/tree_store.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace shell {

namespace {
// Ids stay below the values of the TVI_ sentinels even in a 32-bit handle.
constexpr std::size_t kMaxIds = 0xFFFF0000u;
}  // namespace


int TreeStore::childCount(Id id) const {
    const Id last = at(id).last;
    return last == 0 ? 0 : row(last) + 1;
}

TreeStore::Id TreeStore::previousFor(Id parent, Id after) const {
    if (after == kFirst) return 0;
    if (after != kLast && isNode(after) && at(after).parent == parent) return after;
    return at(parent).last;
}

int TreeStore::rowFor(Id parent, Id after) const {
    if (parent != kTop && !isNode(parent)) return -1;
    if (childCount(parent) >= kMaxChildren) return -1;
    const Id previous = previousFor(parent, after);
    return previous == 0 ? 0 : row(previous) + 1;
}

TreeStore::Id TreeStore::add(std::string_view label, std::int64_t param, bool childrenMark) {
    if (count_ + 1 >= kMaxIds) return 0;
    packed_.clear();
    if (!labels_.pack(label, packed_)) return 0;
    const auto id = static_cast<Id>(count_ + 1);
    const bool hasParam = param != -1;
    try {
        if (chunks_.empty() || packed_.size() > kChunk - chunkUsed_.back()) {
            // Offsets are 32-bit: at most 4 GiB of packed labels.
            if (chunks_.size() >= (std::size_t{1} << 32) / kChunk) return 0;
            chunkUsed_.reserve(chunks_.size() + 1);
            chunks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kChunk));
            chunkUsed_.push_back(0);
        }
        if (count_ == blocks_.size() * kBlock) blocks_.push_back(std::make_unique_for_overwrite<Node[]>(kBlock));
        if ((id - 1) % kLabelStep == 0) labelStarts_.push_back(0);
        if (hasParam) params_.emplace_back(id, param);
    } catch (const std::bad_alloc&) {
        if (labelStarts_.size() > (count_ + kLabelStep - 1) / kLabelStep) labelStarts_.pop_back();
        return 0;
    }
    const std::size_t offset = (chunks_.size() - 1) * kChunk + chunkUsed_.back();
    if ((id - 1) % kLabelStep == 0) labelStarts_.back() = static_cast<std::uint32_t>(offset);
    std::memcpy(chunks_.back().get() + chunkUsed_.back(), packed_.data(), packed_.size());
    chunkUsed_.back() += static_cast<std::uint32_t>(packed_.size());
    ++count_;
    at(id) = Node{kNone, 0, 0, 0, (childrenMark ? kMark : 0u) | (hasParam ? kParam : 0u)};
    return id;
}

void TreeStore::link(Id id, Id parent, Id after) {
    const Id previous = previousFor(parent, after);
    Node& n = at(id);
    Node& p = at(parent);
    n.parent = parent;
    int r = 0;
    if (previous == 0) {
        n.next = p.first;
        p.first = id;
    } else {
        n.next = at(previous).next;
        at(previous).next = id;
        r = row(previous) + 1;
    }
    setRow(id, r);
    if (n.next == 0) {
        p.last = id;
        return;
    }
    // Inserted before other children: they move down one row.
    for (Id s = n.next; s != 0; s = at(s).next) setRow(s, ++r);
    forgetPlaces(parent);
}

TreeStore::Id TreeStore::insert(Id parent, Id after, std::string_view label, std::int64_t param, bool childrenMark) {
    if (rowFor(parent, after) < 0) return 0;
    const Id id = add(label, param, childrenMark);
    if (id != 0) link(id, parent, after);
    return id;
}

void TreeStore::clear() {
    top_ = Node{};
    std::vector<std::unique_ptr<Node[]>>().swap(blocks_);
    count_ = 0;
    std::vector<std::unique_ptr<std::uint8_t[]>>().swap(chunks_);
    std::vector<std::uint32_t>().swap(chunkUsed_);
    std::vector<std::uint32_t>().swap(labelStarts_);
    labels_.clear();
    params_.clear();
    params_.shrink_to_fit();
    packed_ = std::string();
    places_ = {};
}

TreeStore::Id TreeStore::child(Id parent, int row) const {
    const int count = childCount(parent);
    if (row < 0 || row >= count) return 0;
    const Node& p = at(parent);
    if (row == 0) return p.first;
    if (row == count - 1) return p.last;
    Place* from = nullptr;
    Place* oldest = &places_[0];
    for (Place& place : places_) {
        if (place.parent == parent && place.row <= row && (!from || place.row > from->row)) from = &place;
        if (place.used < oldest->used) oldest = &place;
    }
    Id c = from ? from->child : p.first;
    for (int r = from ? from->row : 0; r < row; ++r) c = at(c).next;
    *(from ? from : oldest) = Place{parent, row, c, ++clock_};
    return c;
}

void TreeStore::forgetPlaces(Id parent) {
    for (Place& place : places_)
        if (place.parent == parent) place = Place{};
}

std::size_t TreeStore::labelAt(Id id) const {
    std::size_t offset = labelStarts_[(id - 1) / kLabelStep];
    for (Id before = id - (id - 1) % kLabelStep; before < id; ++before) {
        const std::size_t chunk = offset / kChunk;
        const std::uint8_t* start = chunks_[chunk].get();
        const auto end = static_cast<std::size_t>(LabelPack::skip(start + offset % kChunk) - start);
        // At the end of a chunk's labels the next one starts the next chunk.
        offset = end == chunkUsed_[chunk] ? (chunk + 1) * kChunk : chunk * kChunk + end;
    }
    return offset;
}

std::string TreeStore::label(Id id) const {
    std::string out;
    const std::size_t offset = labelAt(id);
    labels_.unpack(chunks_[offset / kChunk].get() + offset % kChunk, out);
    return out;
}

std::int64_t TreeStore::param(Id id) const {
    if ((at(id).rowFlags & kParam) == 0) return -1;
    const auto it = std::lower_bound(params_.begin(), params_.end(), id,
                                     [](const std::pair<Id, std::int64_t>& e, Id key) { return e.first < key; });
    return it != params_.end() && it->first == id ? it->second : -1;
}

void TreeStore::setExpanded(Id id, bool open) {
    std::uint32_t& f = at(id).rowFlags;
    f = open ? f | kExpanded | kExpandedOnce : f & ~kExpanded;
}

std::size_t TreeStore::bytesHeld() const {
    return blocks_.size() * kBlock * sizeof(Node) + chunks_.size() * kChunk + labels_.bytesHeld() +
           (chunkUsed_.capacity() + labelStarts_.capacity()) * sizeof(std::uint32_t) +
           params_.size() * sizeof(std::pair<Id, std::int64_t>) + packed_.capacity();
}

}  // namespace shell
