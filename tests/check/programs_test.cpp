// korvane-check and mdstree run as programs, as a new user would: exit
// codes, one clear line per problem, and mdstree on MDC files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "mkplayer/player.h"
#include "modelgen/defects.h"
#include "modelgen/md3_writer.h"
#include "modelgen/samples.h"
#include "modelgen/texture_shapes.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using Outcome = testing_support::ProgramRun;

Outcome run(const std::string& command) { return testing_support::runProgram(command); }

class Programs : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::temp_directory_path() / ("kv_check_programs_" + std::to_string(::getpid()));
        fs::remove_all(base);
        ASSERT_TRUE(mp::writePlayer(base.string()).ok);
        dir = (base / mp::kModelFolder).string();
    }
    void TearDown() override { fs::remove_all(base); }
    fs::path base;
    std::string dir;
};

TEST_F(Programs, KorvaneCheckExitCodesAndOneLinePerProblem) {
    const std::string check = CHECK_PATH;
    EXPECT_EQ(run(check + " --help").status, 0);
    EXPECT_EQ(run(check + " --version").status, 0);
    EXPECT_EQ(run(check).status, 2);
    EXPECT_EQ(run(check + " --game xp " + dir).status, 2);
    EXPECT_EQ(run(check + " " + dir).status, 0);

    // A truncated body: one error line that names the body and the field.
    fs::resize_file(dir + "/body.mds", fs::file_size(dir + "/body.mds") / 2);
    const Outcome truncated = run(check + " --game sp " + dir + "/body.mds");
    EXPECT_EQ(truncated.status, 1);
    ASSERT_FALSE(truncated.lines.empty());
    EXPECT_EQ(truncated.lines[0].rfind("error " + dir + "/body.mds: ", 0), 0u) << truncated.lines[0];

    const Outcome json = run(check + " --json " + dir + "/body.mds");
    EXPECT_EQ(json.status, 1);
    ASSERT_FALSE(json.lines.empty());
    EXPECT_EQ(json.lines.front(), "[");
    EXPECT_EQ(json.lines.back(), "]");
}

// Typed as a user would, inside the folder or beside it, every path names
// the same model: its name comes from the folder as resolved ("." once gave
// ten false errors).
TEST_F(Programs, PathsAsTypedAllNameTheModelsOwnFolder) {
    const std::string check = CHECK_PATH;
    const std::string model = "models/players/infantryss";
    const struct {
        std::string cwd, args;
    } cases[] = {
        {dir, "."},
        {dir + "/acc", ".."},
        {dir, "body_default.skin"},
        {dir, "head_default.skin"},
        {dir + "/acc", "../body_default.skin"},
        {dir, "wolfanim.cfg"},
        {base.string(), "MODELS/Players/InfantrySS/"},
        {"/", "--game-dir " + base.string() + " " + model},  // found only below the game folder
    };
    for (const auto& c : cases) {
        const Outcome out = run("cd '" + c.cwd + "' && " + check + " " + c.args);
        EXPECT_EQ(out.status, 0) << c.cwd << ": " << c.args;
        for (const std::string& line : out.lines)
            EXPECT_EQ(line.rfind("note ", 0), 0u) << c.cwd << ": " << c.args << ": " << line;
    }
}

// A file of a kind it does not read is named by its first bytes, not
// called missing; JSON keeps UTF-8 names and marks bytes that are not.
TEST_F(Programs, OtherFormatsAndNamesOfEveryByte) {
    const std::string check = CHECK_PATH;
    std::FILE* f = std::fopen((base / "head.md3").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("IDP3\x0f", f);
    std::fclose(f);
    // An MD3 file is read by its first bytes: this one is too short.
    const Outcome md3 = run(check + " --json " + (base / "head.md3").string());
    EXPECT_EQ(md3.status, 1);
    ASSERT_EQ(md3.lines.size(), 3u);
    EXPECT_NE(md3.lines[1].find("\"id\": \"too-short\""), std::string::npos) << md3.lines[1];
    // A file of no kind korvane-check reads says so, by its first bytes.
    f = std::fopen((base / "notes.txt").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF", f);
    std::fclose(f);
    const Outcome other = run(check + " --json " + (base / "notes.txt").string());
    EXPECT_EQ(other.status, 1);
    ASSERT_EQ(other.lines.size(), 3u);
    EXPECT_NE(other.lines[1].find("\"id\": \"not-a-model\""), std::string::npos) << other.lines[1];
    EXPECT_NE(other.lines[1].find("not supported"), std::string::npos) << other.lines[1];
    const Outcome none = run(check + " " + (base / "none.mds").string());
    EXPECT_EQ(none.status, 1);
    ASSERT_EQ(none.lines.size(), 1u);
    EXPECT_NE(none.lines[0].find("no such file"), std::string::npos) << none.lines[0];

    const fs::path odd = base / "Spieler\xc3\xa4\xff";
    fs::rename(base / "models", odd);
    fs::resize_file(odd / "players/infantryss/body.mds", 100);
    const Outcome json = run(check + " --json '" + (odd / "players/infantryss/body.mds").string() + "'");
    EXPECT_EQ(json.status, 1);
    ASSERT_GE(json.lines.size(), 3u);
    EXPECT_NE(json.lines[1].find("Spieler\xc3\xa4\\ufffd/players"), std::string::npos) << json.lines[1];
}

TEST_F(Programs, MdstreePrintsMdcFilesAndSaysWhereADamagedOneEnds) {
    const Outcome head = run(std::string(MDSTREE_PATH) + " " + dir + "/head.mdc");
    EXPECT_EQ(head.status, 0);
    ASSERT_GT(head.lines.size(), 10u);
    EXPECT_EQ(head.lines[0], dir + "/head.mdc");
    EXPECT_EQ(head.lines[1], "  Id: 1129333833");

    // The writer's default file (no frame records of its own) prints whole.
    std::vector<mg::Defect> files = mg::mdcDefects();
    files.push_back({"writer-default", true, formats::Format::Mdc, mg::writeMdc(mg::sampleMdc()).bytes, "", "", -1});
    for (const auto& d : files) {
        SCOPED_TRACE(d.name);
        const std::string path = (base / (d.name + ".mdc")).string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(d.bytes.data(), 1, d.bytes.size(), f);
        std::fclose(f);
        const Outcome tree = run(std::string(MDSTREE_PATH) + " " + path);
        ASSERT_FALSE(tree.lines.empty());
        const bool damaged = d.id == "record-outside" || d.id == "negative-count";
        EXPECT_EQ(tree.status, damaged ? 1 : 0);
        EXPECT_EQ(tree.lines.back().rfind("  Damaged: ", 0) == 0, damaged) << tree.lines.back();
    }
}

// An MD3 model's LOD files are checked with it; one with fewer frames than
// the model is named, and a collection of files ends with its summary.
TEST_F(Programs, Md3LodFilesAndCollections) {
    const std::string check = CHECK_PATH;
    const auto write = [&](const std::string& name, const mg::Bytes& bytes) {
        ASSERT_TRUE(mg::writeFile((base / name).string(), bytes));
    };
    fs::create_directories(base / "props");
    write("props/head.md3", mg::writeMd3(mg::sampleMd3(0)).bytes);
    mg::Md3Model lod = mg::sampleMd3(1);
    lod.frames.pop_back();
    for (auto& s : lod.surfaces) s.frames.pop_back();
    write("props/head_1.md3", mg::writeMd3(lod).bytes);
    const Outcome one = run(check + " --quiet " + (base / "props/head.md3").string());
    EXPECT_EQ(one.status, 1);
    ASSERT_EQ(one.lines.size(), 1u);
    EXPECT_EQ(one.lines[0].rfind("error " + (base / "props/head_1.md3").string() + ": header .NumFrames @0x4c: 3 frames", 0),
              0u)
        << one.lines[0];
    const Outcome all = run(check + " --summary " + (base / "props").string());
    EXPECT_EQ(all.status, 1);
    ASSERT_FALSE(all.lines.empty());
    EXPECT_EQ(all.lines.back(), "2 files, 1 errors, 0 warnings");
}

#ifdef KV_HAVE_LIBZIP
// A folder holding models/ is a game folder: a skin's texture named by its
// game path is found below it (the viewer does not, a warning), and a
// member an archive could not really hold is named as refused, not as a
// file of another format.
TEST_F(Programs, GameFolderTexturesAndRefusedArchiveMembers) {
    const fs::path game = base / "game";
    const std::string skin = "h_head,models/shared/face.tga\n";
    ASSERT_TRUE(mg::writeFolder(game.string(), {{"models/heads/h/head.skin", mg::Bytes(skin.begin(), skin.end())},
                                                {"models/shared/face.tga", mg::flatTga(4)}}));
    mg::Bytes flat = {'I', 'D', 'P', '3'};
    flat.resize(2u << 20);
    ASSERT_TRUE(mg::writeZip((game / "pak0.pk3").string(), {{"models/a.md3", flat}, {"models/b.md3", flat}}));
    const Outcome out = run(std::string(CHECK_PATH) + " --json " + game.string());
    EXPECT_EQ(out.status, 1);
    std::string all;
    for (const auto& l : out.lines) all += l + "\n";
    EXPECT_NE(all.find("\"id\": \"only-in-game-dir\", \"file\": \"" + (game / "models/heads/h/head.skin").string()),
              std::string::npos)
        << all;
    EXPECT_EQ(all.find("missing-texture"), std::string::npos) << all;
    for (const char* member : {"a.md3", "b.md3"})
        EXPECT_NE(all.find("\"id\": \"unreadable\", \"file\": \"" + (game / "pak0.pk3").string() + ":models/" +
                           member),
                  std::string::npos)
            << all;
}
#endif

}  // namespace
