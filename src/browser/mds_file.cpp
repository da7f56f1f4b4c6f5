#include "browser/mds_file.h"

#include <cstring>

#include "formats/identify.h"
#include "platform/sys/sys.h"
#include "platform/sys/whole_file.h"

namespace browser {

MdsFile::~MdsFile() { release(); }

void MdsFile::release() {
    if (bytes_) sys::releaseBlock(bytes_);
    bytes_ = nullptr;
    size_ = 0;
    m_bAlreadyConverted = false;
    index_ = {};
}

bool MdsFile::read(const char* path) {
    release();
    sys::WholeFile file = sys::readWholeFile(path);
    if (file.failed != sys::ReadStep::Done) return false;
    hold(std::move(file.bytes));
    return true;
}

void MdsFile::hold(sys::Block bytes) {
    release();
    size_ = bytes.size();
    bytes_ = bytes.release();
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
    formats::MdsIndex index = formats::indexMds(bytes(), formats::Reader::Walk);
    if (!index.ok()) return false;
    index_ = std::move(index);
    m_bAlreadyConverted = true;
    return true;
}

}  // namespace browser
