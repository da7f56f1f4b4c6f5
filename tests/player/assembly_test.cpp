// The whole player from files on disk, assembled in the viewer's order:
// body, body skin and its textures, the accessories, head skin, head and
// hat; every step reported in the log, everything drawn textured at its
// bone.
#include <gtest/gtest.h>

#include <memory>
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

const char kModelName[] = "InfantrySS";

struct Assembled {
    std::unique_ptr<MDS> body;
    std::unique_ptr<Skin> bodySkin, headSkin;
};

// The model assembly of the viewer's entry after the start-up dialog.
Assembled assemble(IDirect3DDevice8* device, const std::string& modelDir, const char* bodySkin, const char* headSkin) {
    Assembled a;
    a.body = std::make_unique<MDS>(device, kModelName);
    if (a.body->loadFromFile((modelDir + "\\body.mds").c_str()) < 0) return a;
    a.body->setFrame(0);
    a.bodySkin = std::make_unique<Skin>(kModelName);
    a.bodySkin->load((modelDir + "\\" + bodySkin).c_str());
    a.body->applySkin(modelDir.c_str(), a.bodySkin.get());
    a.body->loadAccessories(modelDir.c_str(), a.bodySkin.get());
    a.headSkin = std::make_unique<Skin>(kModelName);
    a.headSkin->load((modelDir + "\\" + headSkin).c_str());
    a.body->loadHead(modelDir.c_str(), a.headSkin.get());
    return a;
}

void writeMdc(const TempDir& dir, const std::string& file, const std::string& surface, const std::string& shader) {
    const mg::Bytes bytes = mg::writeMdc(pt::quadMdc(file, {{surface, shader}})).bytes;
    dir.write(file, bytes.data(), bytes.size());
}

// A complete player below dir/models/players/infantryss, written with the
// game's usual mixed-case names where the platform's path rules find them.
std::string writePlayer(const TempDir& dir) {
    const std::string m = "models/players/infantryss/";
    pt::BodyDesc desc;
    desc.surfaces = {"u_body", "u_legs"};
    desc.origin[1] = 30.0f;
    const mg::Bytes body = mg::writeMds(pt::body(desc)).bytes;
    dir.write(m + "body.mds", body.data(), body.size());
    dir.write(m + "body_default.skin",
              "// body skin\r\n"
              "u_body,\"models/players/infantryss/body.tga\"\r\n"
              "u_legs,\"models/players/infantryss/legs.tga\"\r\n"
              "md3_beltl,\"models/players/infantryss/acc/belt_l.md3\"\r\n"
              "md3_beltr,\"models/players/infantryss/acc/belt_r.md3\"\r\n"
              "md3_back,\"models/players/infantryss/acc/back.md3\"");
    dir.write(m + "Body.TGA", pt::tga(4, 4, 200, 0, 0));
    dir.write(m + "legs.jpg", pt::jpeg(8, 8, 0, 200, 0));
    writeMdc(dir, m + "acc/belt_l.mdc", "belt", "models/players/infantryss/acc/belt.tga");
    writeMdc(dir, m + "acc/belt_r.mdc", "belt", "models/players/infantryss/acc/belt.tga");
    writeMdc(dir, m + "acc/back.mdc", "back", "models/players/infantryss/acc/back.tga");
    dir.write(m + "acc/Belt.JPG", pt::jpeg(8, 8, 90, 90, 90));
    dir.write(m + "acc/back.tga", pt::tga(2, 2, 9, 9, 9));
    dir.write(m + "head_default.skin",
              "h_head,\"models/players/infantryss/head.tga\"\n"
              "md3_hat,\"models/players/infantryss/acc/helmet.md3\"\n");
    writeMdc(dir, m + "head.mdc", "h_head", "");
    dir.write(m + "head.tga", pt::tga(2, 2, 1, 2, 3));
    dir.write(m + "acc/helmet.skin", "md3_part,\"helmet_m.md3\"\nh_hat,\"models/players/infantryss/acc/helmet.tga\"\n");
    writeMdc(dir, m + "acc/helmet_m.mdc", "h_hat", "");
    dir.write(m + "acc/helmet.tga", pt::tga(2, 2, 3, 2, 1));
    return dir.path() + "/models/players/infantryss";
}

TEST(PlayerAssembly, EverythingLoadsInOrderAndDrawsTextured) {
    TempDir dir;
    const std::string modelDir = writePlayer(dir);
    rec::RecordingDevice dev;
    ScopedLog log;
    Assembled a = assemble(&dev, modelDir, "body_default.skin", "head_default.skin");
    ASSERT_TRUE(a.body->loaded());

    const std::string text = log.body();
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    // Each step's first line, in the order of the assembly.
    const std::string steps[] = {
        "MDS::loadFromFile - File '" + modelDir + "\\body.mds' read",
        "<h1>Loading Skin from file: '" + modelDir + "\\body_default.skin'</h1>",
        "<td>md3_back</td>\n    <td>acc/back</td>",
        "MDC::loadFromFile - File '" + modelDir + "\\acc/belt_l.mdc' read",
        "try to load: " + modelDir + "\\acc/belt.jpg ... \nOk<br>",
        "MDC::loadFromFile - File '" + modelDir + "\\acc/belt_r.mdc' read",
        "MDC::loadFromFile - File '" + modelDir + "\\acc/back.mdc' read",
        "try to load: " + modelDir + "\\acc/back.tga ... \nOk<br>",
        "<h1>Loading Skin from file: '" + modelDir + "\\head_default.skin'</h1>",
        "MDC::loadFromFile - File '" + modelDir + "\\head.mdc' read",
        "<h1>Loading Skin from file: '" + modelDir + "\\acc/helmet.skin'</h1>",
        "MDC::loadFromFile - File '" + modelDir + "\\acc\\helmet_m.mdc' read",
    };
    std::size_t at = 0;
    for (const std::string& step : steps) {
        const std::size_t found = text.find(step, at);
        ASSERT_NE(found, std::string::npos) << step << "\n--- log ---\n" << text;
        at = found + step.size();
    }

    // Body surfaces textured from the skin: the TGA of u_body, the JPEG of u_legs.
    ASSERT_EQ(a.body->textures().size(), 2u);
    EXPECT_EQ(static_cast<rec::Texture*>(a.body->textures()[0])->width, 4u);
    EXPECT_EQ(static_cast<rec::Texture*>(a.body->textures()[1])->width, 8u);

    dev.clearRecord();
    a.body->draw(&dev);
    // Two body surfaces, the skeleton lines, five attached quads.
    ASSERT_EQ(dev.draws.size(), 8u);
    for (int i : {0, 1, 3, 4, 5, 6, 7}) EXPECT_NE(dev.draws[i].texture, nullptr) << i;
    for (int i = 3; i < 8; ++i) {
        EXPECT_EQ(dev.draws[i].colorOp, static_cast<DWORD>(D3DTOP_SELECTARG1));
        EXPECT_FLOAT_EQ(dev.draws[i].world.m[3][1], 30.0f) << i;  // every root bone sits 30 up
    }

    // Tear-down in the entry's order releases every buffer and texture.
    a.headSkin.reset();
    a.bodySkin.reset();
    a.body.reset();
    EXPECT_EQ(dev.liveResources(), 0);
}

TEST(PlayerAssembly, MissingSkinsLeaveAnUntexturedBodyAndAPlainHead) {
    TempDir dir;
    const std::string modelDir = writePlayer(dir);
    rec::RecordingDevice dev;
    ScopedLog log;
    Assembled a = assemble(&dev, modelDir, "nobody.skin", "nohead.skin");
    ASSERT_TRUE(a.body->loaded());
    EXPECT_TRUE(log.contains("There is no skin entry for surface 'u_body'"));
    EXPECT_TRUE(log.contains("There is no skin entry for surface 'u_legs'"));
    EXPECT_TRUE(log.contains("There is no skin entry for surface 'h_head'"));
    for (MDS::Slot s : {MDS::BeltLeft, MDS::BeltRight, MDS::Back, MDS::Hat}) EXPECT_EQ(a.body->attachment(s), nullptr);
    ASSERT_NE(a.body->attachment(MDS::Head), nullptr);
    EXPECT_TRUE(a.body->attachment(MDS::Head)->loaded());
    dev.clearRecord();
    a.body->draw(&dev);
    EXPECT_EQ(dev.draws.size(), 4u);
}

}  // namespace
