// One .pk3 (zip) archive opened read-only, with its central directory indexed
// once: lower-cased member name -> entry index, so a lookup costs no archive
// scan. Names are compared with '\' and '/' as the same separator and ASCII
// letter case ignored; within one archive the last entry of a name wins.
//
// Names that cannot name a file below the archive's root (absolute names,
// names with a ".." component, directory entries) are left out of the index.
// An archive whose central directory cannot be read opens as nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct zip;

namespace sys::archive {

// The lookup key of a name: separators turned into '/', ASCII letters
// lower-cased, empty and "." components dropped. Empty when the name has a
// ".." component, is absolute or names a directory (ends in a separator).
std::string memberKey(std::string_view name);

class Archive {
public:
    // Opens the archive file read-only and indexes it; null when the file is
    // not a readable zip archive.
    static std::shared_ptr<Archive> openFile(const std::string& path);
    // The same over bytes in memory (copied), for tests and fuzzing.
    static std::shared_ptr<Archive> openBytes(const void* data, std::size_t size);

    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // The entry index of the member with this key (see memberKey), or -1.
    std::int64_t find(const std::string& key) const;
    const std::unordered_map<std::string, std::uint64_t>& members() const { return members_; }
    zip* handle() const { return zip_; }
    // The archive file's size in bytes, and the path it was opened from
    // (empty for bytes in memory).
    std::uint64_t size() const { return size_; }
    const std::string& path() const { return path_; }
    // Counts `size` bytes for the member at entry `index` against `limit`,
    // once: a member counted before costs nothing more. False (nothing
    // counted) when the bytes counted so far and these exceed the limit.
    bool countOnce(std::uint64_t index, std::uint64_t size, std::uint64_t limit);
    // Whether countOnce would succeed, counting nothing.
    bool wouldCount(std::uint64_t index, std::uint64_t size, std::uint64_t limit) const;

private:
    Archive() = default;
    bool index();

    zip* zip_ = nullptr;
    std::uint64_t size_ = 0;
    std::string path_;
    std::uint64_t counted_ = 0;        // bytes of the members counted by countOnce
    std::vector<bool> countedEntries_;  // which ones
    std::vector<unsigned char> bytes_;  // backing store of openBytes
    std::unordered_map<std::string, std::uint64_t> members_;
};

}  // namespace sys::archive
