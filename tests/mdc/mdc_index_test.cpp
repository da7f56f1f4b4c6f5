// The MDC index: where it finds the surfaces, and which files the viewer
// refuses because a record it reads would leave the bytes.
#include <gtest/gtest.h>

#include <cstddef>
#include <limits>

#include "formats/mdc_index.h"
#include "modelgen/mdc_writer.h"
#include "modelgen/samples.h"

namespace {

enum class Status { Ok, NotMdc, Damaged };

// What the viewer makes of a file: accepted, another kind of file, or damaged.
Status status(const mg::Bytes& bytes) {
    const auto index = formats::indexMdc(formats::ByteView(bytes.data(), bytes.size()), formats::Reader::Draw);
    if (index.ok()) return Status::Ok;
    return formats::idName(index.refusal->id) == std::string("not-a-model") ? Status::NotMdc : Status::Damaged;
}

template <class T>
void putSurfaceField(mg::MdcImage& img, int surface, std::size_t field, T value) {
    mg::put<T>(img.bytes, img.surfaces[surface].header + static_cast<std::int64_t>(field), value);
}

TEST(MdcIndex, FindsSurfacesThroughTheEndChain) {
    mg::MdcModel model = mg::sampleMdc();
    model.gapBeforeSurfaces = 20;
    model.surfaces[0].gapAfterHeader = 12;
    model.surfaces[0].gapAfter = 36;  // the next surface is not right behind
    const mg::MdcImage img = mg::writeMdc(model);

    const formats::MdcIndex w = formats::indexMdc(formats::ByteView(img.bytes.data(), img.bytes.size()),
                                                  formats::Reader::Draw);
    ASSERT_TRUE(w.ok());
    ASSERT_EQ(w.surfaces.size(), 2u);
    for (int s = 0; s < 2; ++s) {
        const formats::MdcSurfaceIndex& at = w.surfaces[s];
        EXPECT_EQ(at.at, img.surfaces[s].header);
        EXPECT_EQ(at.triangle(0), img.surfaces[s].triangles);
        EXPECT_EQ(at.shaderName(), img.surfaces[s].shaders);
        EXPECT_EQ(at.texCoord(1), img.surfaces[s].texCoords + 8);
        EXPECT_EQ(at.frameBaseFrame(2), img.surfaces[s].frameBaseFrames + 4);
        EXPECT_EQ(at.baseVertex(1, 2), img.surfaces[s].baseVertices + 8 * (3 + 2));
    }
    EXPECT_EQ(w.surfaces[1].name, "h_hat");
    const formats::ByteView view(img.bytes.data(), img.bytes.size());
    EXPECT_EQ(formats::mdcBaseFrame(view, w.surfaces[0], 1), 1);
}

TEST(MdcIndex, NoSurfacesAndNoFramesAreAccepted) {
    mg::MdcModel model = mg::sampleMdc();
    model.surfaces.clear();
    EXPECT_EQ(status(mg::writeMdc(model).bytes), Status::Ok);
    model = mg::sampleMdc();
    model.numFrames = 0;
    EXPECT_EQ(status(mg::writeMdc(model).bytes), Status::Ok);
}

TEST(MdcIndex, OtherIdentsAreNotMdc) {
    mg::MdcModel model = mg::sampleMdc();
    model.ident = {'I', 'D', 'P', '3'};
    EXPECT_EQ(status(mg::writeMdc(model).bytes), Status::NotMdc);
    EXPECT_EQ(status(mg::Bytes{'I', 'D', 'P'}), Status::NotMdc);
    EXPECT_EQ(status(mg::Bytes{}), Status::NotMdc);
    // The ident alone, without the rest of the header, is a damaged file.
    EXPECT_EQ(status(mg::Bytes{'I', 'D', 'P', 'C', 0, 0}), Status::Damaged);
}

TEST(MdcIndex, RefusesEveryRecordThatLeavesTheBytes) {
    using S = formats::MdcSurface;
    const mg::MdcImage good = mg::writeMdc(mg::sampleMdc());
    ASSERT_EQ(status(good.bytes), Status::Ok);
    const auto size = static_cast<std::int32_t>(good.bytes.size());

    struct Damage {
        const char* what;
        std::size_t field;
        std::int32_t value;
    } damages[] = {
        {"triangles past the end", offsetof(S, NumTriangles), 1000},
        {"negative triangle count", offsetof(S, NumTriangles), -1},
        {"triangles before the file", offsetof(S, OffsetTriangles), -size},
        {"shader name outside", offsetof(S, OffsetShaders), size},
        {"texture coordinates past the end", offsetof(S, NumVertices), 5000},
        {"frame table outside", offsetof(S, OffsetFrameBaseFrames), size},
        {"base vertices outside", offsetof(S, OffsetBaseVertices), size - 40},
    };
    for (const Damage& d : damages) {
        for (int s = 0; s < 2; ++s) {
            mg::MdcImage img = good;
            putSurfaceField(img, s, d.field, d.value);
            EXPECT_EQ(status(img.bytes), Status::Damaged) << d.what << ", surface " << s;
        }
    }

    // Only the surfaces before the last follow their end offset.
    mg::MdcImage chained = good;
    putSurfaceField(chained, 0, offsetof(S, OffsetEnd), size);
    EXPECT_EQ(status(chained.bytes), Status::Damaged);
    putSurfaceField(chained, 0, offsetof(S, OffsetEnd), static_cast<std::int32_t>(good.surfaces[0].end - good.surfaces[0].header));
    putSurfaceField(chained, 1, offsetof(S, OffsetEnd), size);
    EXPECT_EQ(status(chained.bytes), Status::Ok);

    // A frame-table entry naming a base frame that is not stored.
    mg::MdcImage img = good;
    mg::put<std::uint16_t>(img.bytes, img.surfaces[1].frameBaseFrames + 4, 2);
    EXPECT_EQ(status(img.bytes), Status::Damaged);
    mg::put<std::uint16_t>(img.bytes, img.surfaces[1].frameBaseFrames + 4, 1);
    EXPECT_EQ(status(img.bytes), Status::Ok);

    // A truncated file: the last base vertices and tables are cut off.
    img = good;
    img.bytes.resize(static_cast<std::size_t>(img.surfaces[1].frameBaseFrames) + 2);
    EXPECT_EQ(status(img.bytes), Status::Damaged);
}

TEST(MdcIndex, HugeCountsFailWithoutWalking) {
    const mg::MdcImage good = mg::writeMdc(mg::sampleMdc());
    for (std::int32_t count : {std::numeric_limits<std::int32_t>::max(), -1, 3}) {
        mg::MdcImage img = good;
        mg::put<std::int32_t>(img.bytes, offsetof(formats::MdcHeader, NumSurfaces), count);
        EXPECT_EQ(status(img.bytes), Status::Damaged) << count;
        img = good;
        mg::put<std::int32_t>(img.bytes, offsetof(formats::MdcHeader, NumFrames), count == 3 ? 1000 : count);
        EXPECT_EQ(status(img.bytes), Status::Damaged) << count;
    }
    // Surfaces that all sit at one place (an end offset of 0) are walked
    // only as often as the file could hold distinct ones.
    mg::MdcImage img = good;
    mg::put<std::int32_t>(img.bytes, img.surfaces[0].header + offsetof(formats::MdcSurface, OffsetEnd), 0);
    mg::put<std::int32_t>(img.bytes, offsetof(formats::MdcHeader, NumSurfaces), 100000);
    EXPECT_EQ(status(img.bytes), Status::Damaged);
}

}  // namespace
