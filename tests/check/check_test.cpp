// The checks on files with exactly one defect each (and their clean twins):
// the finding names the right id, record, field and offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>

#include "check/model_check.h"
#include "check/output.h"
#include "modelgen/defects.h"
#include "formats/mds_layout.h"
#include "modelgen/samples.h"

namespace {

std::vector<check::Finding> run(const mg::Bytes& bytes, formats::Format format, check::Game game = check::Game::Both,
                                check::Skeleton skeleton = {}) {
    check::Report report;
    check::Limits limits;
    limits.game = game;
    report.beginFile("f");
    const formats::ByteView view(bytes.data(), bytes.size());
    switch (format) {
    case formats::Format::Mdc: check::checkMdc(view, report, limits); break;
    case formats::Format::Md3: check::checkMd3(view, report); break;
    case formats::Format::Mdm: check::checkMdm(view, report, skeleton); break;
    case formats::Format::Mdx: check::checkMdx(view, report); break;
    default: check::checkMds(view, report, limits); break;
    }
    report.endFile();
    return report.findings();
}
std::vector<check::Finding> run(const mg::Bytes& bytes, bool mdc, check::Game game = check::Game::Both) {
    return run(bytes, mdc ? formats::Format::Mdc : formats::Format::Mds, game);
}

std::string describe(const std::vector<check::Finding>& findings) {
    return check::asText(findings);
}

void expectDefects(const std::vector<mg::Defect>& defects) {
    for (const auto& d : defects) {
        SCOPED_TRACE(d.name);
        const auto findings = run(d.bytes, d.format);
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const check::Finding& f) {
            return check::idName(f.id) == d.id && f.where == d.where && f.offset == d.offset;
        });
        EXPECT_TRUE(found) << "expected " << d.id << " at " << d.where << " @" << d.offset << "\n"
                           << describe(findings);
    }
}

TEST(CheckModels, CleanTwinsGiveNoFinding) {
    EXPECT_EQ(describe(run(mg::cleanMds(), false)), "");
    EXPECT_EQ(describe(run(mg::cleanMdc(), true)), "");
}

TEST(CheckModels, EachMdsDefectIsNamedWithItsFieldAndOffset) { expectDefects(mg::mdsDefects()); }

TEST(CheckModels, EachMdcDefectIsNamedWithItsFieldAndOffset) { expectDefects(mg::mdcDefects()); }

TEST(CheckModels, TheSiblingFormatsCleanTwinsGiveNoFindingAndEachDefectItsOwn) {
    for (const auto& twin : mg::familyCleanTwins()) EXPECT_EQ(describe(run(twin.bytes, twin.format)), "") << twin.name;
    expectDefects(mg::familyDefects());
}

// An MDM file's weights, tags and bone references against the skeleton
// given with it: the small body names bones 0 and 1.
TEST(CheckModels, AnMdmFileNamesOnlyTheBonesOfItsSkeleton) {
    const auto twins = mg::familyCleanTwins();
    const mg::Bytes& mdm = twins[1].bytes;
    EXPECT_EQ(describe(run(mdm, formats::Format::Mdm, check::Game::Both, {2})), "");
    std::vector<std::string> ids;
    for (const auto& f : run(mdm, formats::Format::Mdm, check::Game::Both, {1})) ids.push_back(check::idName(f.id));
    EXPECT_FALSE(ids.empty());
    EXPECT_TRUE(std::all_of(ids.begin(), ids.end(), [](const std::string& id) { return id == "bone-index" || id == "more"; }));
}

TEST(CheckModels, SurfaceLimitsFollowTheChosenGame) {
    const auto defects = mg::mdsDefects();
    const auto it = std::find_if(defects.begin(), defects.end(),
                                 [](const mg::Defect& d) { return d.name == "multiplayer-vertices"; });
    ASSERT_NE(it, defects.end());
    const auto ids = [&](check::Game game) {
        std::vector<std::string> out;
        for (const auto& f : run(it->bytes, false, game)) out.push_back(check::idName(f.id));
        return out;
    };
    EXPECT_EQ(ids(check::Game::Both), std::vector<std::string>{"multiplayer-limit"});
    EXPECT_EQ(ids(check::Game::Multiplayer), std::vector<std::string>{"game-limit"});
    EXPECT_TRUE(ids(check::Game::SinglePlayer).empty());
}

TEST(CheckModels, RepeatedFindingsOfOneListAreCapped) {
    mg::MdsModel m = mg::syntheticMds(1, 60, 1, 2, 1);
    for (auto& t : m.surfaces[0].triangles) t.Indices[0] = 500;  // 20 triangles, all wrong
    for (int k = 0; k < 10; ++k) m.surfaces[0].triangles.push_back({{600, 0, 1}});
    const auto findings = run(mg::writeMds(m).bytes, false);
    const auto count = [&](const char* id) {
        return std::count_if(findings.begin(), findings.end(),
                             [&](const check::Finding& f) { return std::string(check::idName(f.id)) == id; });
    };
    EXPECT_EQ(count("vertex-index"), check::Report::kPerList);
    ASSERT_EQ(count("more"), 1);
    EXPECT_NE(findings.back().message.find("10 more"), std::string::npos) << findings.back().message;
}

TEST(CheckOutput, LinesAndJsonCarryTheSameFindings) {
    std::vector<check::Finding> f = {{check::Id::RecordOutside, check::Severity::Error, "a/body.mds",
                                      "surface 2 \"u_\\body\" .OffsetTriangles", 0x1a2c, "ends past \"x\""},
                                     {check::Id::More, check::Severity::Note, "b.skin", "file", -1, "m"}};
    EXPECT_EQ(check::asText(f),
              "error a/body.mds: surface 2 \"u_\\body\" .OffsetTriangles @0x1a2c: ends past \"x\"\n"
              "note b.skin: file: m\n");
    const std::string json = check::asJson(f);
    EXPECT_NE(json.find("\"where\": \"surface 2 \\\"u_\\\\body\\\" .OffsetTriangles\", \"offset\": 6700"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"offset\": null"), std::string::npos);
    EXPECT_EQ(check::asJson({}), "[]\n");
}

}  // namespace

namespace {

// One kind of defect in every one of many surfaces (a list outside, a count
// below zero, a surface over the limits) is capped like any other finding.
TEST(CheckModels, FindingsOfEverySurfaceAreCapped) {
    const mg::MdsImage img = mg::writeMds(mg::syntheticMds(60, 3, 1, 1, 1));
    mg::Bytes b = img.bytes;
    for (const auto& s : img.surfaces) {
        mg::put<std::int32_t>(b, s.header + offsetof(formats::MdsSurface, OffsetTriangles), 1 << 30);
        mg::put<std::int32_t>(b, s.header + offsetof(formats::MdsSurface, NumBoneRefs), -1);
    }
    const auto findings = run(b, false, check::Game::Multiplayer);
    std::map<std::string, int> counts;
    for (const auto& f : findings) ++counts[check::idName(f.id)];
    EXPECT_EQ(counts["record-outside"], check::Report::kPerList);
    EXPECT_EQ(counts["negative-count"], check::Report::kPerList);
    EXPECT_EQ(counts["more"], 2);
}

}  // namespace
