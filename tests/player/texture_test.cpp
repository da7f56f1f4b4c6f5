// Texture lookup: names relative to the model's folder, the JPEG-then-TGA
// order with its log lines, skin keys matched exactly, and paths that do not
// fit their buffers.
#include <gtest/gtest.h>

#include <string>

#include "model/mdc.h"
#include "modelgen/bytes.h"
#include "player_fixture.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "skin/names.h"
#include "skin/skin.h"

namespace {

using testing_support::ScopedLog;
using testing_support::TempDir;

const std::string kError = "<p style=\"color: red; background-color: transparent;\"><b>ERROR:</b> ";

UINT widthOf(IDirect3DTexture8* texture) { return texture ? static_cast<rec::Texture*>(texture)->width : 0; }

// An MDC model of quads written to dir/name and loaded.
void loadQuads(MDC& model, const TempDir& dir, const std::string& name,
               const std::vector<std::pair<std::string, std::string>>& surfaces) {
    const mg::Bytes bytes = mg::writeMdc(pt::quadMdc("quads", surfaces)).bytes;
    dir.write(name, bytes.data(), bytes.size());
    ASSERT_EQ(model.loadFromFile(dir.file(name).c_str()), 1);
}

TEST(RelativeTextureName, DropsTheModelFolderAndTheExtension) {
    EXPECT_EQ(relativeTextureName("infantryss", "models/players/infantryss/acc/belt.tga"), "acc/belt");
    EXPECT_EQ(relativeTextureName("InfantrySS", "Models/Players/INFANTRYSS/Acc/Belt.TGA"), "acc/belt");
    EXPECT_EQ(relativeTextureName("infantryss", "textures/common/metal.jpg"), "textures/common/metal");
    EXPECT_EQ(relativeTextureName("infantryss", "a.b.tga"), "a");
    // The name at the very end, or followed by one character only.
    EXPECT_EQ(relativeTextureName("infantryss", "models/players/infantryss"), "");
    EXPECT_EQ(relativeTextureName("infantryss", "models/players/infantryss/"), "");
    EXPECT_EQ(relativeTextureName("infantryss", "models/players/infantryss.tga"), "");
    EXPECT_EQ(relativeTextureName("", "Models/X.tga"), "models/x");
}

TEST(ApplySkin, JpegBeforeTgaAndExactKeys) {
    TempDir dir;
    dir.write("acc/both.jpg", pt::jpeg(16, 16, 200, 10, 10));
    dir.write("acc/both.tga", pt::tga(2, 2, 10, 200, 10));
    dir.write("acc/OnlyTga.TGA", pt::tga(4, 4, 10, 10, 200));  // found through letter case on disk
    dir.write("acc/broken.jpg", "not an image");
    dir.write("acc/broken.tga", pt::tga(8, 8, 1, 2, 3));
    dir.write("head.skin",
              "s_both,\"models/players/soldier/acc/both.tga\"\n"
              "s_tga,acc/onlytga\n"
              "s_none,acc/none.jpg\n"
              "s_broken,acc/broken\n");
    rec::RecordingDevice dev;
    MDC model(&dev);
    loadQuads(model, dir, "head.mdc",
              {{"s_both", ""}, {"s_tga", ""}, {"s_none", ""}, {"S_BOTH", ""}, {"s_broken", ""}});
    Skin skin("Soldier");
    ASSERT_EQ(skin.load(dir.file("head.skin").c_str()), 1);

    ScopedLog log;
    EXPECT_EQ(model.applySkin(dir.path().c_str(), &skin), 1);
    ASSERT_TRUE(model.hasTextures());
    ASSERT_EQ(model.textures().size(), 5u);
    EXPECT_EQ(widthOf(model.textures()[0]), 16u);  // the JPEG
    EXPECT_EQ(widthOf(model.textures()[1]), 4u);   // only the TGA
    EXPECT_EQ(model.textures()[2], nullptr);
    EXPECT_EQ(model.textures()[3], nullptr);
    EXPECT_EQ(widthOf(model.textures()[4]), 8u);  // an unreadable JPEG falls back to the TGA
    // Nothing for loaded textures or a failed first attempt.
    EXPECT_EQ(log.body(), kError + "CreateTextureFromFile failed</p>\n" + kError +
                              "There is no skin entry for surface 'S_BOTH'</p>\n");

    // Running again replaces every texture; without a skin nothing is found.
    const int before = dev.liveResources();
    EXPECT_EQ(model.applySkin(dir.path().c_str(), nullptr), 1);
    EXPECT_EQ(dev.liveResources(), before - 3);
    for (IDirect3DTexture8* t : model.textures()) EXPECT_EQ(t, nullptr);
}

TEST(ApplySkin, PathsThatDoNotFitAreNotTried) {
#ifdef _WIN32
    GTEST_SKIP() << "CreateFileA opens no path beyond MAX_PATH (260), so these files cannot be made";
#endif
    // Directory plus backslash plus value: up to 495 characters leave room
    // for ".jpg" and the terminator in a 500-character buffer.
    TempDir dir;
    std::string sub;
    while (dir.path().size() + 1 + sub.size() + 100 < 493) sub += std::string(99, 'd') + "/";
    sub += std::string(493 - dir.path().size() - 1 - sub.size(), 'e');
    const std::string modelDir = dir.path() + "/" + sub;
    ASSERT_EQ(modelDir.size(), 493u);
    dir.write(sub + "/a.tga", pt::tga(2, 2, 1, 1, 1));  // base of 495 characters
    dir.write(sub + "/ab.tga", pt::tga(2, 2, 1, 1, 1));  // 496
    dir.write(sub + "/s.skin", "fits,a\ntoolong,ab\nwaytoolong," + std::string(2000, 'x') + "\n");

    rec::RecordingDevice dev;
    MDC model(&dev);
    loadQuads(model, dir, "m.mdc", {{"fits", ""}, {"toolong", ""}, {"waytoolong", ""}});
    Skin skin("m");
    ASSERT_EQ(skin.load((modelDir + "/s.skin").c_str()), 1);
    ScopedLog log;
    EXPECT_EQ(model.applySkin(modelDir.c_str(), &skin), 1);
    EXPECT_NE(model.textures()[0], nullptr);
    EXPECT_EQ(model.textures()[1], nullptr);
    EXPECT_EQ(model.textures()[2], nullptr);
    EXPECT_EQ(log.body(), kError + "CreateTextureFromFile failed</p>\n" + kError + "CreateTextureFromFile failed</p>\n");
}

TEST(ShaderTextures, EveryAttemptIsLogged) {
    TempDir dir;
    dir.write("acc/belt.jpg", pt::jpeg(8, 8, 9, 9, 9));
    dir.write("acc/belt.tga", pt::tga(2, 2, 9, 9, 9));
    dir.write("textures/x/y.tga", pt::tga(4, 4, 9, 9, 9));
    rec::RecordingDevice dev;
    MDC model(&dev);
    loadQuads(model, dir, "belt.mdc",
              {{"belt", "models/players/InfantrySS/acc/belt.tga"}, {"strap", "textures/x/y.tga"}, {"buckle", "a.b.tga"}});

    ScopedLog log;
    const std::string d = dir.path();
    EXPECT_EQ(model.loadShaderTextures("infantryss", d.c_str()), 1);
    EXPECT_EQ(widthOf(model.textures()[0]), 8u);
    EXPECT_EQ(widthOf(model.textures()[1]), 4u);
    EXPECT_EQ(model.textures()[2], nullptr);
    EXPECT_EQ(log.body(), "try to load: " + d + "\\acc/belt.jpg ... \nOk<br>\n\n" +
                              "try to load: " + d + "\\textures/x/y.jpg ... \n" +
                              "try to load: " + d + "\\textures/x/y.tga ... \nOk<br>\n\n" +
                              "try to load: " + d + "\\a.jpg ... \n" +
                              "try to load: " + d + "\\a.tga ... \n" + kError + "CreateTextureFromFile failed</p>\n");
}

TEST(ShaderTextures, ShaderNamesWithoutTerminatorStayInTheirField) {
    TempDir dir;
    const std::string shader(64, 's');  // fills the field, no terminator
    dir.write(shader + ".tga", pt::tga(2, 2, 1, 1, 1));
    rec::RecordingDevice dev;
    MDC model(&dev);
    loadQuads(model, dir, "m.mdc", {{"one", shader + "tail"}});
    EXPECT_EQ(model.loadShaderTextures("m", dir.path().c_str()), 1);
    EXPECT_NE(model.textures()[0], nullptr);
}

TEST(TextureOperations, UnloadedOrEmptyModels) {
    rec::RecordingDevice dev;
    ScopedLog log;
    MDC unloaded(&dev);
    Skin skin("m");
    EXPECT_EQ(unloaded.applySkin("d", &skin), -1);
    EXPECT_EQ(unloaded.loadShaderTextures("m", "d"), -1);
    EXPECT_FALSE(unloaded.hasTextures());

    TempDir dir;
    MDC empty(&dev);
    loadQuads(empty, dir, "e.mdc", {});
    const std::string before = log.body();
    EXPECT_EQ(empty.loadShaderTextures("m", dir.path().c_str()), 1);
    EXPECT_EQ(empty.applySkin(dir.path().c_str(), &skin), 1);
    EXPECT_TRUE(empty.hasTextures());
    EXPECT_TRUE(empty.textures().empty());
    EXPECT_EQ(log.body(), before);
}

}  // namespace
