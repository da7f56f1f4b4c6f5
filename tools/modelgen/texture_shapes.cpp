#include "modelgen/texture_shapes.h"

#include <stb_image_write.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "modelgen/mdc_writer.h"
#include "modelgen/mds_writer.h"
#include "modelgen/skin_writer.h"
#include "platform/sys/path.h"

#ifdef KV_HAVE_LIBZIP
#include <zip.h>
#endif

namespace mg {

namespace {

void appendTo(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    const auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

// A quad standing upright in front of the origin (file axes: y across, z
// up), its texture spread over it once; then surfaces - 1 surfaces without
// vertices or triangles, each a header of its own. names(k) names surface k.
template <class Name>
Bytes quadBody(int surfaces, Name names) {
    MdsModel m;
    m.name = "textured";
    m.bones = {{"root", -1, 0.0f, 0.0f, 0}};
    m.frames.resize(1);
    MdsSurfaceDesc d;
    d.name = names(0);
    const float corners[4][4] = {{-20, 0, 0, 1}, {20, 0, 1, 1}, {20, 60, 1, 0}, {-20, 60, 0, 0}};  // y, z, u, v
    for (const auto& c : corners) {
        MdsVertexDesc v;
        v.texCoords = {c[2], c[3]};
        v.weights.push_back({0, 1.0f, {0.0f, c[0], c[1]}});
        d.vertices.push_back(v);
    }
    d.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    d.boneRefs = {0};
    m.surfaces.push_back(d);
    for (int k = 1; k < surfaces; ++k) {
        MdsSurfaceDesc empty;
        empty.name = names(k);
        m.surfaces.push_back(empty);
    }
    return writeMds(m).bytes;
}

// A small quad at height z (file units, 1/64), then surfaces - 1 surfaces
// without vertices or triangles; every one is named `name` and has the
// shader `shader`.
Bytes quadMdc(const std::string& name, const std::string& shader, std::int16_t z, int surfaces) {
    MdcModel m;
    m.name = name;
    MdcSurfaceDesc d;
    d.name = name;
    d.shader = shader;
    d.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    d.texCoords = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}};
    const auto top = static_cast<std::int16_t>(z + 16 * 64);
    d.baseFrames = {{baseVertex(0, -8 * 64, z), baseVertex(0, 8 * 64, z), baseVertex(0, 8 * 64, top),
                     baseVertex(0, -8 * 64, top)}};
    d.frameBaseFrames = {0};
    m.surfaces.push_back(d);
    MdcSurfaceDesc empty;
    empty.name = name;
    empty.shader = shader;
    empty.baseFrames = {{}};
    m.surfaces.resize(static_cast<std::size_t>(surfaces), empty);
    return writeMdc(m).bytes;
}

}  // namespace

bool writeFolder(const std::string& dir, const Folder& folder) {
    for (const auto& file : folder) {
        const std::filesystem::path path = sys::fsPath(dir) / sys::fsPath(file.name);
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec || !writeFile(sys::utf8Path(path), file.bytes)) return false;
    }
    return true;
}

Bytes tiledJpeg(int side) {
    Bytes pixels(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 3);
    const int tile = side / 8 > 0 ? side / 8 : 1;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int t = (x / tile) + 8 * (y / tile);
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(side) +
                                       static_cast<std::size_t>(x)) * 3];
            p[0] = static_cast<std::uint8_t>(40 + (t * 37) % 200);
            p[1] = static_cast<std::uint8_t>(60 + (t * 53) % 180);
            p[2] = static_cast<std::uint8_t>(80 + (t * 71) % 160);
        }
    Bytes out;
    stbi_write_jpg_to_func(&appendTo, &out, side, side, 3, pixels.data(), 50);
    return out;
}

Bytes flatTga(int side) {
    const std::size_t pixels = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    Bytes rgb(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) rgb[3 * i] = 200, rgb[3 * i + 1] = 120, rgb[3 * i + 2] = 40;
    Bytes out;
    stbi_write_tga_with_rle = 0;
    stbi_write_tga_to_func(&appendTo, &out, side, side, 3, rgb.data());
    return out;
}

Folder texturedModel(const TexturedModel& model) {
    Folder folder;
    std::vector<SkinEntry> bodySkin;
    if (model.distinctSide > 0) {
        const Bytes tga = flatTga(model.distinctSide);
        for (int k = 0; k < model.bodySurfaces; ++k) {
            bodySkin.push_back({"s" + std::to_string(k), "tex" + std::to_string(k) + ".tga"});
            folder.push_back({"tex" + std::to_string(k) + ".tga", tga});
        }
        folder.push_back({"body.mds", quadBody(model.bodySurfaces, [](int k) { return "s" + std::to_string(k); })});
    } else {
        bodySkin.push_back({"shared", "texture.jpg"});
        folder.push_back({"body.mds", quadBody(model.bodySurfaces, [](int) { return std::string("shared"); })});
    }
    if (model.accessorySurfaces > 0) {
        bodySkin.push_back({"md3_beltl", "acc/belt.mdc"});
        folder.push_back({"acc/belt.mdc", quadMdc("belt", "texture.tga", 20 * 64, model.accessorySurfaces)});
    }
    const std::string bodyText = skinText(bodySkin);
    folder.push_back({"body_default.skin", Bytes(bodyText.begin(), bodyText.end())});
    const std::string headText = skinText({{"h_head", "texture.jpg"}});
    folder.push_back({"head_default.skin", Bytes(headText.begin(), headText.end())});
    if (model.headSurfaces > 0) folder.push_back({"head.mdc", quadMdc("h_head", "texture.jpg", 62 * 64, model.headSurfaces)});
    if (model.textureSide > 0) folder.push_back({"texture.jpg", tiledJpeg(model.textureSide)});
    return folder;
}

#ifdef KV_HAVE_LIBZIP
bool writeZip(const std::string& path, const Folder& members) {
    std::error_code ec;
    std::filesystem::create_directories(sys::fsPath(path).parent_path(), ec);
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (z == nullptr) return false;
    for (const auto& m : members) {
        zip_source_t* src = zip_source_buffer(z, m.bytes.data(), m.bytes.size(), 0);
        const zip_int64_t i = src ? zip_file_add(z, m.name.c_str(), src, ZIP_FL_OVERWRITE) : -1;
        if (i < 0 || zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 9) != 0) {
            if (src != nullptr && i < 0) zip_source_free(src);
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}
#endif

}  // namespace mg
