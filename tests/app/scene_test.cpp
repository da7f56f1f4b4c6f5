// The player scene built from values, as korvane-render builds it: the
// parts keep the scene's own copy of the model name, a body that cannot be
// loaded is kept and dressed with nothing, and another body skin leaves the
// head alone.
#include <gtest/gtest.h>

#include "model/mdc.h"
#include "model/mds.h"
#include "model_files.h"
#include "modelgen/bytes.h"
#include "modelgen/skin_writer.h"
#include "recording_device.h"
#include "scene/player_scene.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace {

class SceneTest : public ::testing::Test {
protected:
    // A scene for the model "MyModel" below the temporary folder, from
    // strings that are gone before the scene is used.
    std::unique_ptr<PlayerScene> sceneFor(const char* modelName) {
        std::string name = modelName;
        PlayerFiles files{name, modelDirOf(dir.path(), name), "body_default.skin", "head_default.skin"};
        auto scene = std::make_unique<PlayerScene>(&device, files);
        name.assign(name.size(), 'x');
        files = {};
        return scene;
    }

    testing_support::ScopedLog log;
    testing_support::TempDir dir;
    rec::RecordingDevice device;
};

TEST_F(SceneTest, BuiltFromValuesItLoadsAndDressesThePlayer) {
    app_test::writeModelFolder(dir.path() + "/mymodel");
    const auto scene = sceneFor("MyModel");  // found although the folder is lower-cased
    ASSERT_TRUE(scene->loadBody(0));
    scene->dress();
    const MDS& body = *scene->body();
    EXPECT_STREQ(body.modelName(), "MyModel");
    EXPECT_FALSE(body.poses().empty());
    ASSERT_NE(body.attachment(MDS::Head), nullptr);
    EXPECT_TRUE(body.attachment(MDS::Head)->loaded());
    ASSERT_NE(scene->bodySkin(), nullptr);
    ASSERT_NE(scene->headSkin(), nullptr);
    EXPECT_FALSE(scene->bodySkin()->entries().empty());
}

TEST_F(SceneTest, BodyThatCannotLoadIsKeptAndDressedWithNothing) {
    const auto scene = sceneFor("Nobody");
    EXPECT_FALSE(scene->loadBody(0));
    ASSERT_NE(scene->body(), nullptr);
    EXPECT_FALSE(scene->body()->loaded());
    scene->dress();
    scene->changeBodySkin("body_default.skin");
    EXPECT_EQ(scene->bodySkin(), nullptr);
    EXPECT_EQ(scene->headSkin(), nullptr);
    EXPECT_FALSE(log.contains(".skin"));
}

TEST_F(SceneTest, AnotherBodySkinChangesTheAccessoriesAndKeepsTheHead) {
    app_test::writeModelFolder(dir.path() + "/mymodel");
    mg::writeFile(dir.path() + "/mymodel/body_back.skin", mg::skinText({{"md3_back", "head"}}));
    const auto scene = sceneFor("mymodel");
    ASSERT_TRUE(scene->loadBody(0));
    scene->dress();
    const MDC* head = scene->body()->attachment(MDS::Head);
    EXPECT_EQ(scene->body()->attachment(MDS::Back), nullptr);

    scene->changeBodySkin("body_back.skin");
    EXPECT_EQ(scene->files().bodySkin, "body_back.skin");
    EXPECT_EQ(scene->body()->attachment(MDS::Head), head);
    ASSERT_NE(scene->body()->attachment(MDS::Back), nullptr);
    EXPECT_TRUE(scene->body()->attachment(MDS::Back)->loaded());
    EXPECT_NE(scene->bodySkin()->lookup("md3_back"), nullptr);
}

}  // namespace
