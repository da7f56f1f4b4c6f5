// korvane-render without a display and with several body skins: one run
// writing a picture and a log per skin, and --strict turning a skin's ERROR
// lines into exit status 3.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

using krt::Result;
using krt::runRender;

const char* const kHeadless = "env -u DISPLAY -u WAYLAND_DISPLAY";

class Batch : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing_support::TempDir();
        ASSERT_EQ(krt::runMkplayer(dir_->path()), 0);
        const std::string model = "models/players/infantryss/";
        const std::string skin = krt::readFile(dir_->file(model + "body_default.skin"));
        ASSERT_FALSE(skin.empty());
        dir_->write(model + "body_copy.skin", skin);
        // A typo in one texture name: that surface stays untextured.
        std::string typo = skin;
        const std::size_t at = typo.find("torso.tga");
        ASSERT_NE(at, std::string::npos);
        typo.replace(at, 5, "torzo");
        dir_->write(model + "body_typo.skin", typo);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static Result render(std::vector<std::string> extra, const std::string& environment) {
        std::vector<std::string> args = {"--base-dir", "models/players", "--model", "infantryss",
                                         "--camera",   "0,38,105,0,0"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runRender(dir_->path(), args, environment);
    }
    static krt::Picture picture(const std::string& name) { return krt::readPng(dir_->file(name)); }
    static bool exists(const std::string& name) { return std::filesystem::exists(dir_->file(name)); }

    static testing_support::TempDir* dir_;
};
testing_support::TempDir* Batch::dir_ = nullptr;

TEST_F(Batch, OneRunWritesAPictureAndALogPerSkin) {
    const std::vector<std::string> skins = {"--body-skin", "body_default.skin", "--body-skin", "body_copy.skin",
                                            "--body-skin", "body_typo.skin"};
    std::vector<std::string> args = skins;
    for (const char* a : {"--frames", "1-2", "--size", "96x96", "--log", "run.htm", "--out", "s.png"}) args.push_back(a);
    std::filesystem::remove(dir_->file("log.htm"));
    const Result run = render(args, kHeadless);
    ASSERT_EQ(run.status, 0) << (run.ownLines.empty() ? "" : run.ownLines[0]);
    for (const char* skin : {"body_default", "body_copy", "body_typo"}) {
        for (const char* frame : {"0001", "0002"}) {
            const std::string name = std::string("s-") + skin + "-" + frame + ".png";
            EXPECT_EQ(picture(name).size(), std::make_pair(96, 96)) << name;
        }
        const std::string log = krt::readFile(dir_->file(std::string("run-") + skin + ".htm"));
        EXPECT_NE(log.find("</html>"), std::string::npos) << skin << ": log not closed";
        EXPECT_EQ(log.find("ERROR:") == std::string::npos, std::string(skin) != "body_typo") << skin;
    }
    EXPECT_FALSE(exists("log.htm"));
    EXPECT_EQ(picture("s-body_default-0001.png"), picture("s-body_copy-0001.png"));
    EXPECT_NE(picture("s-body_default-0001.png"), picture("s-body_typo-0001.png")) << "the torso lost its texture";
    // Only the first log holds the body's load.
    EXPECT_NE(krt::readFile(dir_->file("run-body_default.htm")).find("body.mds"), std::string::npos);

    args.push_back("--strict");
    const Result strict = render(args, kHeadless);
    EXPECT_EQ(strict.status, 3);
    ASSERT_FALSE(strict.ownLines.empty());
    for (const std::string& line : strict.ownLines) {
        EXPECT_NE(line.find("run-body_typo.htm: ERROR:"), std::string::npos) << line;
    }
    EXPECT_EQ(render({"--strict", "--log", "clean.htm", "--out", "c.png"}, kHeadless).status, 0);
}

}  // namespace
