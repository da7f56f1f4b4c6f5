// MdsFile: whole-file reading through the system layer with each step made
// to fail, and resolve's once-only rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "browser/mds_file.h"
#include "modelgen/samples.h"
#include "platform/sys/faults.h"

namespace {

namespace fs = std::filesystem;

class MdsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kv_mdsfile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        bytes_ = mg::writeMds(mg::sampleMds()).bytes;
        path_ = (dir_ / "Body.MDS").string();
        ASSERT_TRUE(mg::writeFile(path_, bytes_));
    }
    void TearDown() override {
        sys::clearSysFaults();
        fs::remove_all(dir_);
    }
    fs::path dir_;
    std::string path_;
    mg::Bytes bytes_;
};

TEST_F(MdsFileTest, ReadsWholeFileAndResolvesOnce) {
    browser::MdsFile f;
    EXPECT_FALSE(f.held());
    EXPECT_FALSE(f.resolve());
    ASSERT_TRUE(f.read(path_.c_str()));
    EXPECT_EQ(f.size(), bytes_.size());
    EXPECT_EQ(0, std::memcmp(f.bytes().data(), bytes_.data(), bytes_.size()));
    EXPECT_FALSE(f.alreadyConverted());
    EXPECT_TRUE(f.resolve());
    EXPECT_TRUE(f.alreadyConverted());
    EXPECT_EQ(f.index().surfaces.size(), 2u);
    EXPECT_FALSE(f.resolve());  // already done
    EXPECT_EQ(0, std::memcmp(f.bytes().data(), bytes_.data(), bytes_.size()));  // bytes unchanged
    // A new read clears the resolved state.
    ASSERT_TRUE(f.read(path_.c_str()));
    EXPECT_FALSE(f.alreadyConverted());
    // Letter case and backslashes as the system layer resolves them.
    ASSERT_TRUE(f.read((dir_.string() + "\\body.mds").c_str()));
    f.release();
    EXPECT_FALSE(f.held());
    EXPECT_EQ(f.size(), 0u);
}

TEST_F(MdsFileTest, EveryFailingStepLeavesNoBytes) {
    for (auto step : {sys::Step::Open, sys::Step::Size, sys::Step::Allocate, sys::Step::Read}) {
        sys::Faults faults;
        faults.failAlways[static_cast<int>(step)] = true;
        faults.shortReadBytes = 10;
        sys::setSysFaults(faults);
        browser::MdsFile f;
        EXPECT_FALSE(f.read(path_.c_str())) << static_cast<int>(step);
        EXPECT_FALSE(f.held());
        EXPECT_EQ(f.size(), 0u);
        EXPECT_FALSE(f.resolve());
    }
    sys::clearSysFaults();
    browser::MdsFile f;
    EXPECT_FALSE(f.read((dir_ / "missing.mds").string().c_str()));
    ASSERT_TRUE(mg::writeFile((dir_ / "empty.mds").string(), mg::Bytes{}));
    EXPECT_FALSE(f.read((dir_ / "empty.mds").string().c_str()));  // a 0-byte block is refused
    EXPECT_FALSE(f.held());
}

TEST_F(MdsFileTest, ResolveRefusesWhatIsNotMds) {
    browser::MdsFile f;
    const mg::Bytes text{'h', 'e', 'l', 'l', 'o'};
    ASSERT_TRUE(f.adopt(text.data(), static_cast<std::uint32_t>(text.size())));
    EXPECT_FALSE(f.resolve());
    EXPECT_FALSE(f.alreadyConverted());
    const auto damaged = mg::damagedMds(mg::MdsDamage::SurfaceEndOutside);
    ASSERT_TRUE(f.adopt(damaged.data(), static_cast<std::uint32_t>(damaged.size())));
    EXPECT_FALSE(f.resolve());
    EXPECT_FALSE(f.adopt(text.data(), 0));
    EXPECT_FALSE(f.held());
}

}  // namespace
