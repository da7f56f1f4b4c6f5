// A real client: f3d (VTK's glTF importer, skinning included) draws the
// exported demo player on a virtual display, and its silhouette must
// cover korvane-render's picture of the same frame from the same camera.
//
// Both are posed at frame 5 of the walk with the bind frame there too, so
// the exported mesh is the viewer's to float rounding: what differs is
// rasterisation (edges, f3d's lighting near the background) and the
// viewer's grid lines in front of the feet. f3d sizes its clipping planes
// from the unposed mesh, so a bind pose far from the shown frame would
// clip a swinging limb: the bind frame follows the frame.
//
// The threshold: at 384 x 384 the soldier covers about 20,000 pixels with
// an edge of about 2,000; both pictures agree to 0.986 (edge pixels and
// the grid in front of the feet). Half a pixel of disagreement all along
// the edge would cost about 0.05, so 0.95 allows rasterisation and no
// more: a limb in another pose, a mirrored body or a missing attachment
// moves thousands of pixels.
#include <gtest/gtest.h>

#include <cstdio>

#include "export_test_util.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int kSize = 384;

// The mask of pixels that are the model: neither the background nor, in
// the viewer's picture, a grid line (its exact colours).
std::vector<char> mask(const std::string& path, bool viewer) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &n, 3);
    std::vector<char> out;
    if (!px || w != kSize || h != kSize) {
        stbi_image_free(px);
        return out;
    }
    static const unsigned kGrid[] = {0x808080, 0x000080, 0x0000FF, 0x008000, 0x00FF00, 0x800000, 0xFF0000};
    out.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char* p = px + 3 * i;
        const unsigned rgb = unsigned{p[0]} << 16 | unsigned{p[1]} << 8 | p[2];
        bool model = p[0] < 245 || p[1] < 245 || p[2] < 245;
        if (viewer)
            for (unsigned g : kGrid) model = model && rgb != g;
        out[i] = model;
    }
    stbi_image_free(px);
    return out;
}

TEST(ExportF3d, SilhouetteOfTheExportedPlayerMatchesTheViewers) {
    if (std::getenv("KV_NO_F3D")) GTEST_SKIP() << "KV_NO_F3D set";
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    const std::string player = exporttest::demoPlayer(dir);
    ASSERT_EQ(exporttest::exportModel(dir, {"--anims", "none", "--frame", "5", "--bind-frame", "5", "--out", "p.glb",
                                            player}).status, 0);
    // The viewer's camera: eye at (0, 38, 105) in drawing axes, looking
    // along -z, 45 degrees vertically; in glTF axes the same numbers in
    // metres (drawing x is minus glTF x, and the view is symmetric about it).
    const std::string size = std::to_string(kSize);
    const auto render = exporttest::run(dir, KORVANE_RENDER_PATH,
                                        {"--base-dir", dir + "/models/players", "--model", "infantryss", "--frame", "5",
                                         "--size", size + "x" + size, "--camera", "0,38,105,0,0", "--out", "viewer.png"});
    ASSERT_EQ(render.status, 0);
    const auto f3d = exporttest::run(dir, "xvfb-run",
                                     {"-a", "f3d", "--output=f3d.png", "--resolution=" + size + "," + size,
                                      "--bg-color=1,1,1", "--camera-position=0,0.9652,2.667",
                                      "--camera-focal-point=0,0.9652,0", "--camera-view-up=0,1,0",
                                      "--camera-view-angle=45", "p.glb"});
    ASSERT_EQ(f3d.status, 0) << "f3d under xvfb-run (Debian packages f3d, xvfb)";
    const std::vector<char> a = mask(dir + "/viewer.png", true), b = mask(dir + "/f3d.png", false);
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    std::size_t both = 0, either = 0, inA = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
        inA += a[i];
    }
    const double iou = static_cast<double>(both) / static_cast<double>(either);
    std::printf("silhouette: %zu viewer pixels, intersection over union %.4f\n", inA, iou);
    EXPECT_GT(inA, std::size_t{kSize * kSize / 20});  // the player is in the picture
    EXPECT_GT(iou, 0.95);
}

}  // namespace
