// Reading a whole file into one block of the system's memory: the one way
// every program reads a model, skin, config or image file, so letter case,
// '\' separators and .pk3 archives resolve alike everywhere. Each step can
// fail on its own, and callers word each failure their own way.
#pragma once

#include <cstdint>
#include <limits>

namespace sys {

// A block of allocateBlock, released with it unless given away.
class Block {
public:
    Block() = default;
    Block(std::uint8_t* data, std::uint32_t size) : data_(data), size_(size) {}
    Block(Block&& other) noexcept : data_(other.data_), size_(other.size_) { other.data_ = nullptr; }
    Block& operator=(Block&& other) noexcept;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block();

    std::uint8_t* data() const { return data_; }
    std::uint32_t size() const { return size_; }
    bool empty() const { return data_ == nullptr; }
    // Gives the block to the caller, who releases it.
    std::uint8_t* release();

private:
    std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
};

enum class ReadStep {
    Done,
    Open,      // the file does not exist or cannot be opened
    Size,      // its size cannot be taken
    TooLarge,  // larger than the caller takes
    Memory,    // no block of its size
    Read,      // fewer bytes arrived than its size
};

struct WholeFile {
    ReadStep failed = ReadStep::Done;
    std::uint32_t size = 0;  // the file's size, once taken
    // The file's bytes. After a short read the block is given back; when
    // that fails too (releaseFailed), it is still here.
    Block bytes;
    bool releaseFailed = false;
};

// The whole file at `path`, at most `maxBytes` long, in a block of its size
// and `extra` zero bytes more (a terminator for text). The system gives no
// block of 0 bytes: an empty file read without extra bytes fails with
// Memory and `size` 0 (readers that take empty files treat that as no bytes).
WholeFile readWholeFile(const char* path, std::uint32_t maxBytes = std::numeric_limits<std::uint32_t>::max(),
                        std::uint32_t extra = 0);

}  // namespace sys
