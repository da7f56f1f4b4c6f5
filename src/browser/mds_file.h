// The browser's held model: one MDS file read whole into a block from the
// system layer, and the record positions resolved beside the bytes (the
// bytes themselves are never changed).
#pragma once

#include <cstdint>

#include "formats/byte_view.h"
#include "formats/mds_index.h"
#include "platform/sys/whole_file.h"

namespace browser {

class MdsFile {
public:
    MdsFile() = default;
    ~MdsFile();
    MdsFile(const MdsFile&) = delete;
    MdsFile& operator=(const MdsFile&) = delete;

    // Reads the whole file: open, size, block, one read, close. True when the
    // whole file is held; on any failure no bytes are held. Clears the
    // resolved state.
    bool read(const char* path);

    // Holds the bytes of a whole file already read (nothing when the block
    // is empty). Clears the resolved state.
    void hold(sys::Block bytes);

    // Holds a copy of size bytes (in a block of the system layer) as if they
    // had been read from a file; false when no block can be had (also for 0
    // bytes). For the fuzzer and for tests that build images in memory.
    bool adopt(const void* data, std::uint32_t size);

    // Resolves the record positions once. False when nothing is held, when
    // already resolved, when the bytes are not MDS, or when their walk is
    // refused (then the model stays unresolved).
    bool resolve();

    // Gives the bytes back; nothing is held afterwards.
    void release();

    bool held() const { return bytes_ != nullptr; }
    std::uint32_t size() const { return size_; }
    formats::ByteView bytes() const { return formats::ByteView(bytes_, size_); }
    bool alreadyConverted() const { return m_bAlreadyConverted; }
    // Valid only when alreadyConverted().
    const formats::MdsIndex& index() const { return index_; }

private:
    std::uint8_t* bytes_ = nullptr;
    std::uint32_t size_ = 0;
    bool m_bAlreadyConverted = false;
    formats::MdsIndex index_;
};

}  // namespace browser
