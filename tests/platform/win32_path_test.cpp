// Path rules on Windows: the file system ignores case and takes both
// separators, so an existing path comes back as given and opens as given.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sys/path.h"
#include "platform/sys/sys.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

TEST(Paths, ExistingPathsComeBackAsGivenInAnyCaseAndWithEitherSeparator) {
    EXPECT_EQ(sys::normalizeSeparators("models\\players\\x/body.mds"), "models/players/x/body.mds");
    TempDir dir;
    dir.write("Models/Players/InfantrySS/Body.MDS", "abc");
    const std::string asked = dir.path() + "\\models\\players/infantryss\\body.mds";
    EXPECT_EQ(sys::resolvePath(asked), asked);
    sys::File f = sys::openForReading(asked.c_str());
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(sys::fileSize(f), 3u);
}

TEST(Paths, MissingPathsGiveNothingAndDoNotOpen) {
    TempDir dir;
    dir.write("a/b.txt", "x");
    EXPECT_EQ(sys::resolvePath(dir.path() + "/A/c.txt"), "");
    EXPECT_EQ(sys::resolvePath(dir.path() + "/q/b.txt"), "");
    EXPECT_EQ(sys::resolvePath(""), "");
    EXPECT_EQ(sys::resolvePath(dir.path() + "/a/B.TXT/more"), "");
    EXPECT_FALSE(sys::openForReading((dir.path() + "/a/B.TXT/more").c_str()).valid());
    // A folder resolves but is not a file.
    EXPECT_EQ(sys::resolvePath(dir.path() + "\\A"), dir.path() + "\\A");
    EXPECT_FALSE(sys::openForReading((dir.path() + "\\A").c_str()).valid());
}

TEST(Paths, RelativePathsResolveFromTheWorkingDirectory) {
    TempDir dir;
    dir.write("Data/File.TXT", "x");
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(sys::resolvePath("data\\file.txt"), "data\\file.txt");
    EXPECT_TRUE(sys::openForReading("./DATA/FILE.txt").valid());
    std::filesystem::current_path(old);
}

TEST(SysFile, ASecondReaderMayOpenTheSameFile) {
    TempDir dir;
    dir.write("shared.bin", "0123");
    const std::string path = dir.file("shared.bin");
    sys::File first = sys::openForReading(path.c_str());
    sys::File second = sys::openForReading(path.c_str());
    ASSERT_TRUE(first.valid());
    ASSERT_TRUE(second.valid());
    char a[4] = {}, b[4] = {};
    EXPECT_EQ(sys::readFile(first, a, 4), 4u);
    EXPECT_EQ(sys::readFile(second, b, 4), 4u);
    EXPECT_EQ(std::string(b, 4), "0123");
}

TEST(SysFile, OnlyTheStartOfABlockReleasesIt) {
    auto* p = static_cast<unsigned char*>(sys::allocateBlock(8192));
    ASSERT_NE(p, nullptr);
    p[8191] = 1;  // committed to the end
    EXPECT_FALSE(sys::releaseBlock(p + 4096));
    EXPECT_TRUE(sys::releaseBlock(p));
}

}  // namespace
