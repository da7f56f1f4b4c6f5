// Opening and indexing one zip archive with libzip (which takes the path
// as UTF-8 on Windows too).
#include "platform/sys/archive.h"

#include <zip.h>

#include "platform/sys/native.h"

namespace sys::archive {

std::string memberKey(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return {};
    if (name.back() == '/' || name.back() == '\\') return {};
    std::string key;
    key.reserve(name.size());
    std::size_t pos = 0;
    while (pos <= name.size()) {
        std::size_t next = name.find_first_of("/\\", pos);
        if (next == std::string_view::npos) next = name.size();
        const std::string_view part = name.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        if (!key.empty()) key += '/';
        for (char c : part) key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

std::shared_ptr<Archive> Archive::openFile(const std::string& path) {
    const native::Status st = native::status(path);
    if (st.kind != native::Kind::File) return nullptr;
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (z == nullptr) return nullptr;
    std::shared_ptr<Archive> a(new Archive);
    a->zip_ = z;
    a->size_ = st.size;
    a->path_ = path;
    return a->index() ? a : nullptr;
}

std::shared_ptr<Archive> Archive::openBytes(const void* data, std::size_t size) {
    std::shared_ptr<Archive> a(new Archive);
    const auto* p = static_cast<const unsigned char*>(data);
    a->bytes_.assign(p, p + size);
    a->size_ = size;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(a->bytes_.data(), a->bytes_.size(), 0, &error);
    if (src == nullptr) {
        zip_error_fini(&error);
        return nullptr;
    }
    a->zip_ = zip_open_from_source(src, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (a->zip_ == nullptr) {
        zip_source_free(src);  // still ours when the open failed
        return nullptr;
    }
    return a->index() ? a : nullptr;
}

Archive::~Archive() {
    if (zip_ != nullptr) zip_discard(zip_);  // read-only: nothing to write back
}

bool Archive::index() {
    const zip_int64_t n = zip_get_num_entries(zip_, 0);
    if (n < 0) return false;
    members_.reserve(static_cast<std::size_t>(n));
    for (zip_int64_t i = 0; i < n; ++i) {
        // The names as stored, byte for byte: the game's names are ASCII.
        const char* name = zip_get_name(zip_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name == nullptr) continue;
        std::string key = memberKey(name);
        if (key.empty()) continue;
        members_[std::move(key)] = static_cast<std::uint64_t>(i);  // later entries win
    }
    return true;
}

bool Archive::wouldCount(std::uint64_t index, std::uint64_t size, std::uint64_t limit) const {
    if (index < countedEntries_.size() && countedEntries_[index]) return true;
    return counted_ <= limit && size <= limit - counted_;
}

bool Archive::countOnce(std::uint64_t index, std::uint64_t size, std::uint64_t limit) {
    if (!wouldCount(index, size, limit)) return false;
    if (index < countedEntries_.size() && countedEntries_[index]) return true;
    if (index >= countedEntries_.size()) countedEntries_.resize(index + 1);
    countedEntries_[index] = true;
    counted_ += size;
    return true;
}

std::int64_t Archive::find(const std::string& key) const {
    const auto it = members_.find(key);
    return it == members_.end() ? -1 : static_cast<std::int64_t>(it->second);
}

}  // namespace sys::archive
