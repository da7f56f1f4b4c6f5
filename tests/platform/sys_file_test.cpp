// The whole-file steps of the system layer and their fault injection.
#include <gtest/gtest.h>

#include <cstring>

#include "failing_new.h"
#include "platform/sys/faults.h"
#include "platform/sys/sys.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

struct FaultGuard {
    ~FaultGuard() { sys::clearSysFaults(); }
};

TEST(SysFile, ReadsAWholeFileInSteps) {
    TempDir dir;
    dir.write("a.bin", std::string("hello\0world", 11));
    sys::File f = sys::openForReading(dir.file("a.bin").c_str());
    ASSERT_TRUE(f.valid());
    ASSERT_EQ(sys::fileSize(f), 11u);
    void* block = sys::allocateBlock(11);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(sys::readFile(f, block, 11), 11u);
    EXPECT_EQ(std::memcmp(block, "hello\0world", 11), 0);
    // Asking for more than is left gives what is left.
    EXPECT_EQ(sys::readFile(f, block, 11), 0u);
    sys::closeFile(f);
    EXPECT_FALSE(f.valid());
    EXPECT_TRUE(sys::releaseBlock(block));
}

TEST(SysFile, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    EXPECT_FALSE(sys::openForReading(dir.path().c_str()).valid());
    EXPECT_FALSE(sys::openForReading(dir.file("missing").c_str()).valid());
    EXPECT_FALSE(sys::openForReading(nullptr).valid());
    EXPECT_EQ(sys::fileSize(sys::File{}), sys::kInvalidFileSize);
}

TEST(SysFile, BlocksAreZeroedAndEmptyOrUnknownBlocksFail) {
    auto* p = static_cast<unsigned char*>(sys::allocateBlock(4096 * 3 + 5));
    ASSERT_NE(p, nullptr);
    for (std::size_t i = 0; i < 4096 * 3 + 5; ++i) ASSERT_EQ(p[i], 0);
    EXPECT_TRUE(sys::releaseBlock(p));
    EXPECT_FALSE(sys::releaseBlock(p));  // already gone
    EXPECT_EQ(sys::allocateBlock(0), nullptr);
    EXPECT_FALSE(sys::releaseBlock(nullptr));
    int local = 0;
    EXPECT_FALSE(sys::releaseBlock(&local));
}

#ifndef _WIN32
// The pages of a block whose size cannot be recorded go straight back.
TEST(SysFile, ABlockThatCannotBeRecordedIsNotAllocated) {
    void* block = &block;
    {
        testing_support::FailingNew refuse(0);
        block = sys::allocateBlock(4096);
    }
    EXPECT_EQ(block, nullptr);
}
#endif

TEST(SysFaults, EachStepFailsOnDemand) {
    FaultGuard guard;
    TempDir dir;
    dir.write("a.bin", "0123456789");
    const std::string path = dir.file("a.bin");

    sys::Faults faults;
    faults.failOnCall[static_cast<int>(sys::Step::Open)] = 2;
    sys::setSysFaults(faults);
    EXPECT_TRUE(sys::openForReading(path.c_str()).valid());
    EXPECT_FALSE(sys::openForReading(path.c_str()).valid());
    EXPECT_TRUE(sys::openForReading(path.c_str()).valid());
    EXPECT_EQ(sys::sysCallCount(sys::Step::Open), 3u);

    faults = {};
    faults.failAlways[static_cast<int>(sys::Step::Size)] = true;
    faults.failAlways[static_cast<int>(sys::Step::Allocate)] = true;
    sys::setSysFaults(faults);
    sys::File f = sys::openForReading(path.c_str());
    EXPECT_EQ(sys::fileSize(f), sys::kInvalidFileSize);
    EXPECT_EQ(sys::allocateBlock(10), nullptr);

    faults = {};
    faults.failAlways[static_cast<int>(sys::Step::Read)] = true;
    faults.shortReadBytes = 4;
    sys::setSysFaults(faults);
    char buf[10] = {};
    EXPECT_EQ(sys::readFile(f, buf, 10), 4u);
    EXPECT_EQ(std::string(buf, 4), "0123");

    faults = {};
    faults.failOnCall[static_cast<int>(sys::Step::Release)] = 1;
    sys::setSysFaults(faults);
    void* block = sys::allocateBlock(10);
    EXPECT_FALSE(sys::releaseBlock(block));
    EXPECT_TRUE(sys::releaseBlock(block));  // a failed release leaves the block to free later
}

TEST(SysClock, CountsMillisecondsForward) {
    const std::uint32_t a = sys::milliseconds();
    const std::uint32_t b = sys::milliseconds();
    EXPECT_LE(a, b);
    EXPECT_LT(b, 24u * 3600u * 1000u);  // counted from process start, not the epoch
}

}  // namespace
