#include "platform/sys/whole_file.h"

#include "platform/sys/sys.h"

#include <cstddef>

namespace sys {

Block& Block::operator=(Block&& other) noexcept {
    if (this != &other) {
        if (data_) releaseBlock(data_);
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
    }
    return *this;
}

Block::~Block() {
    if (data_) releaseBlock(data_);
}

std::uint8_t* Block::release() {
    std::uint8_t* out = data_;
    data_ = nullptr;
    return out;
}

WholeFile readWholeFile(const char* path, std::uint32_t maxBytes, std::uint32_t extra) {
    WholeFile out;
    File file = openForReading(path);
    if (!file.valid()) {
        out.failed = ReadStep::Open;
        return out;
    }
    out.size = fileSize(file);
    if (out.size == kInvalidFileSize) {
        out.failed = ReadStep::Size;
        return out;
    }
    if (out.size > maxBytes) {
        out.failed = ReadStep::TooLarge;
        return out;
    }
    auto* block = static_cast<std::uint8_t*>(allocateBlock(std::size_t{out.size} + extra));
    if (!block) {
        out.failed = ReadStep::Memory;
        return out;
    }
    if (readFile(file, block, out.size) != out.size) {
        out.failed = ReadStep::Read;
        if (!releaseBlock(block)) {
            out.releaseFailed = true;
            out.bytes = Block(block, out.size);
        }
        return out;
    }
    out.bytes = Block(block, out.size);
    return out;
}

}  // namespace sys
