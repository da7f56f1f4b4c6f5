// The system-interface layer: whole-file reading in separate steps, memory
// blocks and the millisecond clock.
//
// The steps are kept apart (open, size, block, read, close, release) so that
// each caller can report each failure with its own message. Paths may use
// '\' or '/' as separators; a path that does not exist as written is
// resolved component by component with ASCII letter case ignored
// (see path.h).
//
// Tests make any single step fail through setSysFaults (faults.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sys {

struct FileImpl;

// An open file, or none. Move-only; closes itself if still open.
class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    bool valid() const { return impl_ != nullptr; }
    FileImpl* impl() const { return impl_; }
    explicit File(FileImpl* impl) : impl_(impl) {}
    FileImpl* release();

private:
    FileImpl* impl_ = nullptr;
};

constexpr std::uint32_t kInvalidFileSize = 0xFFFFFFFFu;

// Opens an existing file for reading, shared reading allowed, sequential
// access. Returns an invalid File on failure.
File openForReading(const char* path);

// The same text for every path that names the same file, the way
// openForReading finds it (on disk, in an archive, below the second root):
// a cache keyed by it reads a file once however it is named. Empty when
// openForReading would find nothing. Not a step of the fault injection.
std::string fileIdentity(const char* path);

// The size in bytes; kInvalidFileSize on failure (also for files of 4 GiB
// or more, which no reader of this system accepts, and for archive members
// that their archive refuses to inflate: see archive_member.h).
std::uint32_t fileSize(const File& file);

// Reads up to n bytes into dest in one call; returns how many arrived.
std::uint32_t readFile(const File& file, void* dest, std::uint32_t n);

// Every byte readFile has delivered since the program started (archive
// members as inflated; their archive's allowance bounds that). Work that
// follows the size of the input (the decoded pixels of textures) is
// measured against it.
std::uint64_t bytesRead();

// Closes the file (an invalid File is ignored).
void closeFile(File& file);

// A block of n committed, zero-filled, read-write bytes; null on failure and
// for n == 0 (as the platform's page allocator refuses an empty block).
void* allocateBlock(std::size_t n);

// Gives a block back; false when that fails. A null block is a failure.
bool releaseBlock(void* block);

// Asks the system to back the whole 2 MiB stretches of a block of any
// origin with large pages, before the block is first written. A block of
// hundreds of megabytes (a decoded image, a texture's levels) then costs a
// few hundred page faults instead of tens of thousands, which under a
// hypervisor take seconds. Nothing happens where the system has no such
// advice or the block holds no whole stretch.
void adviseLargePages(void* block, std::size_t n);

// Milliseconds since the process started, as an unsigned 32-bit count.
std::uint32_t milliseconds();

}  // namespace sys
