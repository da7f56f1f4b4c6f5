// Whole player folders: the demo player written by mkplayer's library with
// one defect each (mkplayer/defect_folders.h), each giving its one finding,
// and the animation config checked against the body's frames.
#include <gtest/gtest.h>

#include <filesystem>

#include "check/check.h"
#include "check/output.h"
#include "mkplayer/defect_folders.h"
#include "mkplayer/player.h"

namespace {

namespace fs = std::filesystem;

fs::path tempBase(const std::string& name) {
    const fs::path base = fs::temp_directory_path() / ("kv_check_" + name);
    fs::remove_all(base);
    return base;
}

std::vector<check::Finding> checkFolder(const std::string& dir, const std::string& gameDir = "") {
    check::Options options;
    options.gameDir = gameDir;
    check::Report report;
    check::checkPath(dir, options, report);
    return report.findings();
}

std::vector<const check::Finding*> above(const std::vector<check::Finding>& findings, check::Severity s) {
    std::vector<const check::Finding*> out;
    for (const auto& f : findings)
        if (f.severity > s) out.push_back(&f);
    return out;
}

// Every finding above a note is the row's (a shared texture may give it
// twice), with its severity, file and place.
TEST(FolderDefects, EachFolderGivesItsFinding) {
    const fs::path base = tempBase("defect_folders");
    for (const mp::FolderDefect& d : mp::folderDefects()) {
        SCOPED_TRACE(d.name);
        std::string error;
        ASSERT_TRUE(mp::writeFolderDefect(base.string(), d, error)) << error;
        const fs::path root = base / d.name;
        const std::string model = (root / mp::kModelFolder).string();
        const auto all = checkFolder(model, d.gameDir ? (root / "game").string() : "");
        const auto findings = above(all, check::Severity::Note);
        if (d.id.empty()) {
            EXPECT_TRUE(findings.empty()) << check::asText(all);
            continue;
        }
        ASSERT_FALSE(findings.empty()) << check::asText(all);
        for (const check::Finding* f : findings) EXPECT_EQ(check::idName(f->id), d.id) << check::asText(all);
        const check::Finding& f = *findings[0];
        EXPECT_EQ(check::severityName(f.severity), d.severity);
        EXPECT_EQ(f.file, d.file.empty() ? model : model + "/" + d.file);
        EXPECT_EQ(f.where.rfind(d.where, 0), 0u) << f.where;
    }
    fs::remove_all(base);
}

// The demo's config uses every frame; a range past the body and a gap are
// found, and a broken row is named by its line.
TEST(FolderDefects, AnimationRangesAreCheckedAgainstTheBodysFrames) {
    const fs::path base = tempBase("anim");
    ASSERT_TRUE(mp::writePlayer(base.string()).ok);
    const fs::path dir = base / mp::kModelFolder;
    auto write = [&](const char* text) {
        std::FILE* f = std::fopen((dir / "wolfanim.cfg").string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(text, f);
        std::fclose(f);
    };
    auto ids = [&] {
        std::vector<std::string> out;
        for (const auto& x : checkFolder(dir.string()))
            if (x.file.find("wolfanim") != std::string::npos) out.push_back(check::idName(x.id) + (" " + x.where));
        return out;
    };
    EXPECT_TRUE(ids().empty());
    write("skeletal\nversion 2\nSTARTANIMS\nwalk 0 20 20 20 0\nrun 30 20 20 20 0\nENDANIMS\n");
    EXPECT_EQ(ids(), (std::vector<std::string>{"animation-range line 5 'run'", "frames-unused frames"}));
    write("version 2\nSTARTANIMS\nwalk 0 x\n");
    EXPECT_EQ(ids(), (std::vector<std::string>{"animation-config line 3"}));
    fs::remove_all(base);
}

}  // namespace
