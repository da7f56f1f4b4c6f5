// What a model drives beyond its own records: one texture named by
// thousands of surfaces, the same texture missing, a large image, archive
// members far larger than their archive. The folders are the shapes of
// modelgen/texture_shapes.h (smaller where the test run must stay quick);
// the work is counted (textures made, paths looked for, heap bytes) and
// held in proportion to the input's bytes. Time is printed, never asserted.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "heap_meter.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"
#include "modelgen/texture_shapes.h"
#include "platform/d3d8/d3dx8.h"
#include "platform/sys/faults.h"
#include "platform/sys/sys.h"
#include "plain_device.h"
#include "scoped_log.h"
#include "skin/skin.h"
#include "skin/texture_cache.h"

namespace {

using faults::Measure;

std::size_t bytesOf(const mg::Folder& folder) {
    std::size_t n = 0;
    for (const auto& f : folder) n += f.bytes.size();
    return n;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

class LoadLimits : public ::testing::Test {
protected:
    // The viewer's assembly of the folder (body, body skin, accessories,
    // head skin, head) and one draw, on the plain device; `check` looks at
    // the body before it is destroyed.
    template <class Check>
    Measure assemble(const std::string& label, const mg::Folder& folder, Check check) {
        const std::string model = dir.file(label);
        EXPECT_TRUE(mg::writeFolder(model, folder));
        faults::PlainDevice device;
        const Measure m = faults::measure([&] {
            MDS body(&device, label.c_str());
            ASSERT_EQ(body.loadFromFile((model + "\\body.mds").c_str()), 1);
            body.setFrame(0);
            Skin bodySkin(label.c_str()), headSkin(label.c_str());
            bodySkin.load((model + "\\body_default.skin").c_str());
            body.applySkin(model.c_str(), &bodySkin);
            body.loadAccessories(model.c_str(), &bodySkin);
            headSkin.load((model + "\\head_default.skin").c_str());
            body.loadHead(model.c_str(), &headSkin);
            body.draw(&device);
            check(body, device);
        });
        EXPECT_EQ(device.live, 0) << label;
        faults::printRow(label, bytesOf(folder), std::to_string(device.texturesCreated) + " textures made", m);
        EXPECT_LT(m.total, 16 * bytesOf(folder) + (64u << 20)) << label;
        return m;
    }

    static void TearDownTestSuite() { faults::printSlowest(); }

    testing_support::TempDir dir;
    testing_support::ScopedLog log;
};

// Every surface of the body, the head and the belt names one texture: it is
// made once, every surface holds it, and each still logs its own lines.
TEST_F(LoadLimits, OneTextureNamedByEverySurfaceIsMadeOnce) {
    assemble("shared", mg::texturedModel({5956, 2000, 2000, 128, 0}), [](MDS& body, faults::PlainDevice& device) {
        EXPECT_EQ(device.texturesCreated, 1);
        EXPECT_EQ(body.textureCache().fileCount(), 1u);
        EXPECT_EQ(body.textureCache().pathCount(), 1u);
        ASSERT_NE(body.textures().front(), nullptr);
        for (IDirect3DTexture8* texture : body.textures()) EXPECT_EQ(texture, body.textures().front());
        for (MDS::Slot slot : {MDS::BeltLeft, MDS::Head}) {
            ASSERT_NE(body.attachment(slot), nullptr);
            for (IDirect3DTexture8* texture : body.attachment(slot)->textures())
                EXPECT_EQ(texture, body.textures().front());
        }
    });
    EXPECT_EQ(count(log.body(), "try to load: "), 2000u);
    EXPECT_EQ(count(log.body(), "Ok<br>"), 2000u);
}

// The same texture missing: two paths are looked for, once each, and every
// surface reports its failure.
TEST_F(LoadLimits, AMissingTextureIsLookedForOncePerPath) {
    sys::clearSysFaults();  // counts the opens from here
    assemble("missing", mg::texturedModel({5956, 2000, 2000, 0, 0}), [](MDS& body, faults::PlainDevice& device) {
        EXPECT_EQ(device.texturesCreated, 0);
        EXPECT_EQ(body.textureCache().pathCount(), 2u);  // .jpg and .tga
        EXPECT_EQ(body.textureCache().fileCount(), 0u);
    });
    // body, two skins, two models: no texture file was opened at all.
    EXPECT_EQ(sys::sysCallCount(sys::Step::Open), 5u);
    EXPECT_EQ(count(log.body(), "CreateTextureFromFile failed"), 5956u + 2000u + 2000u);
    EXPECT_EQ(count(log.body(), "try to load: "), 2u * 2000u);
}

// A surface of its own for each of many TGA files: each file once.
TEST_F(LoadLimits, DistinctTexturesAreEachMadeOnce) {
    assemble("distinct", mg::texturedModel({300, 0, 0, 0, 16}), [](MDS& body, faults::PlainDevice& device) {
        EXPECT_EQ(device.texturesCreated, 300);
        EXPECT_EQ(body.textureCache().fileCount(), 300u);
    });
}

// A large image becomes its texture's levels without a copy of the decoded
// pixels (which the decoder holds outside this count) or of any level.
TEST_F(LoadLimits, ALargeImageIsDecodedStraightIntoItsLevels) {
    const mg::Bytes jpeg = mg::tiledJpeg(2048);
    dir.write("large.jpg", jpeg.data(), jpeg.size());
    faults::PlainDevice device;
    IDirect3DTexture8* texture = nullptr;
    const Measure m = faults::measure([&] {
        ASSERT_EQ(D3DXCreateTextureFromFileA(&device, dir.file("large.jpg").c_str(), &texture), D3D_OK);
    });
    faults::printRow("2048 x 2048 JPEG", jpeg.size(), "loaded", m);
    EXPECT_LT(m.total, jpeg.size() + device.textureBytes + (1u << 20));
    texture->Release();
}

// An image larger than its load's allowance (8 MiB and 4 bytes per byte
// read) becomes a smaller texture: the 4096 x 4096 JPEG (64 MiB of pixels
// from a few hundred KB) is decoded at a quarter of its size, and neither
// its levels nor the load's count go past the allowance.
TEST_F(LoadLimits, AnImageLargerThanItsAllowanceIsLoadedSmaller) {
    const mg::Bytes jpeg = mg::tiledJpeg(4096);
    dir.write("huge.jpg", jpeg.data(), jpeg.size());
    faults::PlainDevice device;
    const std::uint64_t allowed = d3dx::PixelAllowance::kFloorBytes +
                                  d3dx::PixelAllowance::kBytesPerInputByte * jpeg.size();
    skin::TextureCache cache(&device);
    IDirect3DTexture8* texture = cache.acquire(dir.file("huge.jpg"));
    ASSERT_NE(texture, nullptr);
    EXPECT_LE(cache.pixelBytes(), allowed);
    EXPECT_GE(cache.pixelBytes(), allowed / 4);  // halved no more than it had to be
    EXPECT_LT(device.textureBytes, allowed * 4 / 3 + 64);
    texture->Release();
}

#ifdef KV_HAVE_LIBZIP
// A body that inflates to 20 MB from an archive of 70 KB is refused before
// anything is allocated for it; one within the archive's allowance is held
// once, in the model's own block.
TEST_F(LoadLimits, ArchiveMembersAreRefusedBeyondTheirArchiveAndHeldOnce) {
    const mg::Bytes large = mg::repeatedFramesMds(200'000);
    const mg::Bytes real = mg::writeMds(mg::syntheticMds(16, 250, 2, 70, 400)).bytes;
    ASSERT_TRUE(mg::writeZip(dir.file("big/pak0.pk3"), {{"models/players/x/body.mds", large}}));
    ASSERT_TRUE(mg::writeZip(dir.file("real/pak0.pk3"), {{"models/players/x/body.mds", real}}));
    const std::size_t bigArchive = testing_support::readFileText(dir.file("big/pak0.pk3")).size();
    const std::size_t realArchive = testing_support::readFileText(dir.file("real/pak0.pk3")).size();
    ASSERT_GT(large.size(), 8 * bigArchive);
    ASSERT_LT(real.size(), 8 * realArchive);

    faults::PlainDevice device;
    sys::clearSysFaults();
    int refused = 0;
    Measure m = faults::measure([&] {
        MDS body(&device, "x");
        refused = body.loadFromFile(dir.file("big/models/players/x/body.mds").c_str());
    });
    faults::printRow("archive: 20 MB body", bigArchive, refused < 0 ? "refused" : "loaded", m);
    EXPECT_EQ(refused, -1);
    EXPECT_NE(log.body().find("GetFileSize - Invalid File Size"), std::string::npos);
    EXPECT_EQ(sys::sysCallCount(sys::Step::Allocate), 0u);
    EXPECT_LT(m.total, 16 * bigArchive);

    int loaded = 0;
    m = faults::measure([&] {
        MDS body(&device, "x");
        loaded = body.loadFromFile(dir.file("real/models/players/x/body.mds").c_str());
    });
    faults::printRow("archive: real body", realArchive, loaded > 0 ? "loaded" : "refused", m);
    EXPECT_EQ(loaded, 1);
    // The buffers are about as large as the file; a second copy of the
    // member would double that.
    EXPECT_LT(m.total, real.size() + real.size() / 2);
}
#endif

}  // namespace
