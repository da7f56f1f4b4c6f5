#include "browser/mds_file.h"

#include <cstring>

#include "platform/sys/sys.h"

namespace browser {

MdsFile::~MdsFile() { release(); }

void MdsFile::release() {
    if (bytes_) sys::releaseBlock(bytes_);
    bytes_ = nullptr;
    size_ = 0;
    m_bAlreadyConverted = false;
    positions_ = {};
}

bool MdsFile::read(const char* path) {
    release();
    sys::File file = sys::openForReading(path);
    if (!file.valid()) return false;
    const std::uint32_t size = sys::fileSize(file);
    if (size == sys::kInvalidFileSize) {
        sys::closeFile(file);
        return false;
    }
    auto* block = static_cast<std::uint8_t*>(sys::allocateBlock(size));
    if (!block) {
        sys::closeFile(file);
        return false;
    }
    if (sys::readFile(file, block, size) != size) {
        sys::releaseBlock(block);
        sys::closeFile(file);
        return false;
    }
    sys::closeFile(file);
    bytes_ = block;
    size_ = size;
    m_bAlreadyConverted = false;
    return true;
}

bool MdsFile::adopt(const void* data, std::uint32_t size) {
    release();
    auto* block = static_cast<std::uint8_t*>(sys::allocateBlock(size));
    if (!block) return false;
    std::memcpy(block, data, size);
    bytes_ = block;
    size_ = size;
    return true;
}

bool MdsFile::resolve() {
    if (!bytes_ || m_bAlreadyConverted) return false;
    if (!formats::isMds(bytes())) return false;
    auto positions = formats::resolveMds(bytes());
    if (!positions) return false;
    positions_ = std::move(*positions);
    m_bAlreadyConverted = true;
    return true;
}

}  // namespace browser
