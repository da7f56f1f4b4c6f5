// Path rules on Windows: the file system ignores case and takes both
// separators, so an existing path comes back as given and opens as given.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Paths, RootsAreDrivesSharesOrTheCurrentDrive) {
    EXPECT_EQ(sys::rootLength("C:\\models\\x.mds"), 3u);
    EXPECT_EQ(sys::rootLength("c:/models"), 3u);
    EXPECT_EQ(sys::rootLength("C:models"), 2u);  // that drive's working folder
    EXPECT_EQ(sys::rootLength("\\\\server\\share\\models"), 15u);
    EXPECT_EQ(sys::rootLength("\\models"), 1u);
    EXPECT_EQ(sys::rootLength("models\\x.mds"), 0u);
}

// Every call takes UTF-8: a name outside the system's code page opens,
// resolves and lists whole, with a drive letter and backslashes too.
TEST(Paths, NamesInAnyScriptOpenWhole) {
    TempDir dir;
    const std::string folder = "donn\xC3\xA9" "es \xCE\xA9\xE2\x9C\x93";
    dir.write(folder + "/t\xC3\xAAte.mdc", "abcd");
    const std::string path = sys::normalizeSeparators(dir.path()) + "/" + folder + "/t\xC3\xAAte.mdc";
    ASSERT_GE(sys::rootLength(path), 2u) << "the temporary folder is on a drive";
    std::string backslashed = path;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(sys::resolvePath(backslashed), backslashed);
    sys::File f = sys::openForReading(backslashed.c_str());
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(sys::fileSize(f), 4u);
    EXPECT_EQ(sys::fileIdentity(path.c_str()), sys::fileIdentity(backslashed.c_str()));
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
