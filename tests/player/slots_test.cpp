// Loading the attachments that the skins name: which files are tried, which
// slot each fills and where its textures come from.
#include <gtest/gtest.h>

#include <string>

#include "model/mdc.h"
#include "model/mds.h"
#include "modelgen/bytes.h"
#include "player_fixture.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace {

using testing_support::ScopedLog;
using testing_support::TempDir;

const std::string kError = "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ";

std::string readLine(const std::string& path) { return "MDC::loadFromFile - File '" + path + "' read"; }

// A loaded body with 56 bones in dir and the means to write skins and models.
struct Player {
    TempDir dir;
    rec::RecordingDevice dev;
    MDS body{&dev, "Test"};

    Player() {
        mg::writeFile(dir.file("body.mds"), mg::writeMds(pt::body(pt::BodyDesc{})).bytes);
        body.loadFromFile(dir.file("body.mds").c_str());
    }
    void model(const std::string& file, const std::string& surface, const std::string& shader = "") const {
        const mg::Bytes bytes = mg::writeMdc(pt::quadMdc(file, {{surface, shader}})).bytes;
        dir.write(file, bytes.data(), bytes.size());
    }
    // A skin loaded from dir/file with the given text.
    std::unique_ptr<Skin> skin(const std::string& file, const std::string& text) const {
        dir.write(file, text);
        auto s = std::make_unique<Skin>("Test");
        s->load(dir.file(file).c_str());
        return s;
    }
    const char* modelDir() const { return dir.path().c_str(); }
    std::string path(const std::string& tail) const { return dir.path() + tail; }
};

TEST(LoadAccessories, OnlyTheNamedSlotsAreFilled) {
    Player p;
    ASSERT_TRUE(p.body.loaded());
    p.model("acc/back.mdc", "back", "models/players/test/acc/back_t.tga");
    p.dir.write("acc/back_t.tga", pt::tga(2, 2, 1, 1, 1));
    auto skin = p.skin("body.skin", "md3_back,\"models/players/Test/acc/back.md3\"\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadAccessories(p.modelDir(), skin.get()), 1);
    EXPECT_EQ(p.body.attachment(MDS::BeltLeft), nullptr);
    EXPECT_EQ(p.body.attachment(MDS::BeltRight), nullptr);
    ASSERT_NE(p.body.attachment(MDS::Back), nullptr);
    EXPECT_TRUE(log.contains(readLine(p.path("\\acc/back.mdc"))));
    // Shader textures: the JPEG, then the TGA that exists.
    EXPECT_TRUE(log.contains("try to load: " + p.path("\\acc/back_t.jpg") + " ... \ntry to load: " +
                             p.path("\\acc/back_t.tga") + " ... \nOk<br>\n"));
    EXPECT_NE(p.body.attachment(MDS::Back)->textures().at(0), nullptr);
}

TEST(LoadAccessories, MissingFilesKeepTheirSlotAndRunningAgainReplaces) {
    Player p;
    auto skin = p.skin("body.skin", "md3_beltl,\"acc/belt_l\"\nmd3_beltr,acc/belt_r\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadAccessories(p.modelDir(), skin.get()), 1);
    ASSERT_NE(p.body.attachment(MDS::BeltLeft), nullptr);
    EXPECT_FALSE(p.body.attachment(MDS::BeltLeft)->loaded());
    EXPECT_NE(p.body.attachment(MDS::BeltRight), nullptr);
    // The missing file is the only line for each belt: no texture attempts.
    EXPECT_EQ(log.body(), kError + "CreateFile - Invalid Handle Value</p>\n" + kError +
                              "CreateFile - Invalid Handle Value</p>\n");

    auto none = p.skin("other.skin", "u_body,x\n");
    EXPECT_EQ(p.body.loadAccessories(p.modelDir(), none.get()), 1);
    EXPECT_EQ(p.body.attachment(MDS::BeltLeft), nullptr);
    EXPECT_EQ(p.body.attachment(MDS::BeltRight), nullptr);
}

TEST(LoadAccessories, UnloadedBodyCreatesNothing) {
    TempDir dir;
    rec::RecordingDevice dev;
    MDS body(&dev, "Test");
    Skin skin("Test");
    EXPECT_EQ(body.loadAccessories(dir.path().c_str(), &skin), -1);
    EXPECT_EQ(body.loadHead(dir.path().c_str(), &skin), -1);
    for (int s = MDS::BeltLeft; s < MDS::SlotCount; ++s) EXPECT_EQ(body.attachment(static_cast<MDS::Slot>(s)), nullptr);
    EXPECT_TRUE(dev.resources.empty());
}

TEST(LoadHead, WithoutPartOrHatOnlyHeadMdc) {
    Player p;
    p.model("head.mdc", "h_head");
    p.dir.write("face.tga", pt::tga(2, 2, 1, 1, 1));
    auto skin = p.skin("head.skin", "h_head,\"models/players/test/face.tga\"\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadHead(p.modelDir(), skin.get()), 1);
    ASSERT_NE(p.body.attachment(MDS::Head), nullptr);
    EXPECT_TRUE(p.body.attachment(MDS::Head)->loaded());
    EXPECT_NE(p.body.attachment(MDS::Head)->textures().at(0), nullptr);
    EXPECT_EQ(p.body.attachment(MDS::Hat), nullptr);
    EXPECT_TRUE(log.contains(readLine(p.path("\\head.mdc"))));
    EXPECT_FALSE(log.contains("ERROR"));
}

TEST(LoadHead, MissingHeadSkinReportsEverySurface) {
    Player p;
    p.model("head.mdc", "h_head");
    Skin missing("Test");
    missing.load(p.dir.file("no_such.skin").c_str());
    ScopedLog log;
    EXPECT_EQ(p.body.loadHead(p.modelDir(), &missing), 1);
    EXPECT_TRUE(p.body.attachment(MDS::Head)->loaded());
    EXPECT_TRUE(log.contains(kError + "There is no skin entry for surface 'h_head'</p>\n"));
    EXPECT_EQ(p.body.attachment(MDS::Hat), nullptr);
}

TEST(LoadHead, HatWithItsOwnSkin) {
    Player p;
    p.model("helmethead.mdc", "h_head");
    p.model("acc/helmet_m.mdc", "h_hat", "models/players/test/acc/shader_only.tga");
    p.dir.write("acc/helmet_t.tga", pt::tga(4, 4, 1, 1, 1));
    p.skin("acc/helmet.skin", "md3_part,\"helmet_m.md3\"\nh_hat,\"models/players/test/acc/helmet_t.tga\"\n");
    auto skin = p.skin("head.skin", "md3_part,helmethead\nmd3_hat,\"models/players/test/acc/helmet.md3\"\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadHead(p.modelDir(), skin.get()), 1);
    EXPECT_TRUE(log.contains(readLine(p.path("\\helmethead.mdc"))));
    EXPECT_TRUE(log.contains("<h1>Loading Skin from file: '" + p.path("\\acc/helmet.skin") + "'</h1>"));
    EXPECT_TRUE(log.contains(readLine(p.path("\\acc\\helmet_m.mdc"))));
    MDC* hat = p.body.attachment(MDS::Hat);
    ASSERT_NE(hat, nullptr);
    ASSERT_TRUE(hat->loaded());
    EXPECT_EQ(static_cast<rec::Texture*>(hat->textures().at(0))->width, 4u);  // from the hat's skin
    EXPECT_FALSE(log.contains("try to load"));
}

TEST(LoadHead, HatWithoutSkinUsesItsShaders) {
    Player p;
    p.model("head.mdc", "h_head");
    p.model("acc/helmet.mdc", "h_hat", "models/players/test/acc/helmet_s.jpg");
    p.dir.write("acc/helmet_s.jpg", pt::jpeg(8, 8, 1, 1, 1));
    auto skin = p.skin("head.skin", "md3_hat,acc/helmet\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadHead(p.modelDir(), skin.get()), 1);
    const std::string text = log.body();
    const auto skinFailed = text.find("<h1>Loading Skin from file: '" + p.path("\\acc/helmet.skin") +
                                      "'</h1>\n\n" + kError + "CreateFile - Invalid Handle Value</p>\n");
    const auto hatRead = text.find(readLine(p.path("\\acc/helmet.mdc")));
    const auto shader = text.find("try to load: " + p.path("\\acc/helmet_s.jpg") + " ... \nOk<br>\n");
    EXPECT_NE(skinFailed, std::string::npos);
    EXPECT_LT(skinFailed, hatRead);
    EXPECT_NE(shader, std::string::npos);
    EXPECT_LT(hatRead, shader);
    ASSERT_NE(p.body.attachment(MDS::Hat), nullptr);
    EXPECT_NE(p.body.attachment(MDS::Hat)->textures().at(0), nullptr);
}

TEST(LoadHead, HatSkinWithoutPartGivesNoHat) {
    Player p;
    p.model("head.mdc", "h_head");
    p.skin("hat.skin", "h_hat,x\n");
    auto skin = p.skin("head.skin", "md3_hat,hat\n");
    EXPECT_EQ(p.body.loadHead(p.modelDir(), skin.get()), 1);
    EXPECT_NE(p.body.attachment(MDS::Head), nullptr);
    EXPECT_EQ(p.body.attachment(MDS::Hat), nullptr);
}

TEST(AttachmentPaths, TooLongForTheBufferAreNotLoaded) {
    Player p;
    // 480 characters: "\\b.mdc" fits, the belt's 44-character value does not.
    const std::string longDir = p.dir.path() + "/" + std::string(480 - p.dir.path().size() - 1, 'd');
    auto skin = p.skin("s.skin", "md3_beltl,acc/" + std::string(40, 'b') + "\nmd3_back,b\nmd3_hat,h\n");
    ScopedLog log;
    EXPECT_EQ(p.body.loadAccessories(longDir.c_str(), skin.get()), 1);
    EXPECT_EQ(p.body.attachment(MDS::BeltLeft), nullptr);
    EXPECT_NE(p.body.attachment(MDS::Back), nullptr);  // fits: tried, missing
    EXPECT_TRUE(log.contains(kError + "MDS::loadAccessories() - Path too long, not loaded</p>\n"));

    const std::string longerDir = p.dir.path() + "/" + std::string(600, 'd');
    EXPECT_EQ(p.body.loadHead(longerDir.c_str(), skin.get()), 1);
    EXPECT_EQ(p.body.attachment(MDS::Head), nullptr);
    EXPECT_EQ(p.body.attachment(MDS::Hat), nullptr);
    EXPECT_TRUE(log.contains(kError + "MDS::loadHead() - Path too long, not loaded</p>\n"));
}

}  // namespace
