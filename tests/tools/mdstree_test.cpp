// Runs mdstree (and mkmodel) as programs on files written by the fixture
// writers and checks what they print and their exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "modelgen/samples.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using Run = testing_support::ProgramRun;

#ifdef _WIN32
// A cross build names the programs by their path on the build machine; Wine
// shows that machine's root as drive Z:. The command shell wants '\'.
std::string program(const char* path) {
    std::string p = path[0] == '/' ? std::string("Z:") + path : path;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}
#else
std::string program(const char* path) { return path; }
#endif

Run run(const std::string& args) { return testing_support::runProgram(program(MDSTREE_PATH) + " " + args); }

int count(const Run& r, const std::string& prefix) {
    int c = 0;
    for (const auto& l : r.lines) c += l.rfind(prefix, 0) == 0;
    return c;
}

class MdstreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kv_mdstree_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string write(const std::string& name, const mg::Bytes& bytes) {
        const auto path = (dir_ / name).string();
        EXPECT_TRUE(mg::writeFile(path, bytes));
        return path;
    }
    fs::path dir_;
};

TEST_F(MdstreeTest, ValidFileWithFramesClosedOrFilled) {
    const auto path = write("sample.mds", mg::writeMds(mg::sampleMds()).bytes);
    auto r = run(path);
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.lines.size(), 11u);
    EXPECT_EQ(r.lines[0], path);
    EXPECT_EQ(r.lines[1], "  Id: 1465074765");
    EXPECT_EQ(count(r, "  "), static_cast<int>(r.lines.size()) - 1);
    EXPECT_EQ(count(r, "  Bones (4)"), 1);
    EXPECT_EQ(count(r, "    Bone 0: root"), 1);
    EXPECT_EQ(count(r, "      ParentIndex: none"), 1);
    EXPECT_EQ(r.lines.back(), "    Frame 2");
    EXPECT_EQ(count(r, "      bboxMin"), 0);

    r = run("--frames " + path);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count(r, "      bboxMin: "), 3);
    EXPECT_EQ(count(r, "        CBF "), 12);
    EXPECT_EQ(count(r, "          Pitch: "), 12);

    r = run("--frame 1 " + path);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count(r, "      bboxMin: "), 1);
    EXPECT_EQ(count(r, "      ParentOffset: 0.000000, 0.000000, 25.000000"), 1);
    EXPECT_EQ(r.lines.back(), "    Frame 2");

    // mkmodel writes the same sample.
    const auto made = (dir_ / "made.mds").string();
    EXPECT_EQ(std::system((program(MKMODEL_PATH) + " " + made).c_str()), 0);
    auto m = run(made);
    EXPECT_EQ(m.status, 0);
    EXPECT_EQ(m.lines.size(), r.lines.size() - 6 - 4 * 7);
}

TEST_F(MdstreeTest, FailuresExitOne) {
    auto r = run(write("v3.mds", mg::damagedMds(mg::MdsDamage::Version3)));
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[1], "  MDS Version doesn't fit - wrong MDS Version.");

    r = run((dir_ / "missing.mds").string());
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[1], "  An error occured during opening process - File not loaded.");

    r = run("--frames " + write("weights.mds", mg::damagedMds(mg::MdsDamage::WeightsPastEnd)));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines.back(),
              "  An exception occured while preparing the Tree View, probablydue to a wrong Offset in the MDS - "
              "Exception in toTreeView.");
    EXPECT_EQ(count(r, "  Frames"), 0);
}

TEST_F(MdstreeTest, UsageErrorsExitTwo) {
    const auto path = write("sample.mds", mg::writeMds(mg::sampleMds()).bytes);
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("--frame " + path).status, 2);
    EXPECT_EQ(run("--frame x " + path).status, 2);
    EXPECT_EQ(run("--frame -1 " + path).status, 2);
    EXPECT_EQ(run("--bogus " + path).status, 2);
    EXPECT_EQ(run(path + " " + path).status, 2);
    EXPECT_TRUE(run("").lines.empty());  // the usage line goes to stderr
    // A frame the file does not have is a usage error, before any output.
    const auto noFrame = run("--frame 9 " + path);
    EXPECT_EQ(noFrame.status, 2);
    EXPECT_TRUE(noFrame.lines.empty());
    EXPECT_EQ(run("--frame 2 " + path).status, 0);
    EXPECT_EQ(run("--help").status, 0);
    EXPECT_EQ(run("--version").status, 0);
}

// MDC files, told by their ident whatever their name: positions and tag
// origins in units of 1/64 show their value beside the stored number, and a
// frame the file does not have is a usage error as for MDS.
TEST_F(MdstreeTest, MdcPositionsAtTheirScaleAndFramesChecked) {
    mg::MdcModel m = mg::sampleMdc();
    m.frameRecords = true;
    m.tags = {"tag_mouth"};
    const auto path = write("head.model", mg::writeMdc(m).bytes);
    const auto r = run(path);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.lines[1], "  Id: 1129333833");
    bool scaled = false;
    for (const auto& l : r.lines) scaled = scaled || l.find("Base frame 1 vertex 1: 64, -128, 32 (1.000000, -2.000000, 0.500000)") != std::string::npos;
    EXPECT_TRUE(scaled);
    EXPECT_EQ(run("--frame 2 " + path).status, 0);
    const auto past = run("--frame 3 " + path);
    EXPECT_EQ(past.status, 2);
    EXPECT_TRUE(past.lines.empty());
}

}  // namespace
