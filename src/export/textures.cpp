#include "export/textures.h"

#include "platform/d3d8/png_encode.h"
#include "platform/d3d8/image_decode.h"
#include "platform/sys/game_root.h"
#include "platform/sys/sys.h"

namespace exporter {

namespace {

// The texture loader's limit for one image file.
constexpr std::uint32_t kMaxImageFileBytes = 64u * 1024u * 1024u;

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// PNG of the pixels, without the alpha channel when every pixel is opaque.
std::vector<std::uint8_t> pngOf(const d3dx::RgbaImage& image) {
    const std::span<const std::uint8_t> rgba = image.pixels();
    bool opaque = true;
    for (std::size_t i = 3; i < rgba.size() && opaque; i += 4) opaque = rgba[i] == 255;
    if (!opaque) return d3dx::encodePng(rgba, image.width, image.height, 4);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(rgba.size() / 4 * 3);
    for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), rgba.begin() + static_cast<long>(i),
                                                                rgba.begin() + static_cast<long>(i) + 3);
    return d3dx::encodePng(rgb, image.width, image.height, 3);
}

}  // namespace

int Textures::image(const std::string& path) {
    const std::string identity = sys::fileIdentity(path.c_str());
    if (identity.empty()) return -1;
    if (const auto found = images_.find(identity); found != images_.end()) return found->second;
    int index = -1;
    sys::WholeFile file = sys::readWholeFile(path.c_str(), kMaxImageFileBytes);
    if (file.failed == sys::ReadStep::Done) {
        const std::uint8_t* bytes = file.bytes.data();
        const std::size_t size = file.bytes.size();
        d3dx::RgbaImage decoded;
        // A JPEG goes in as it is (decoded only to check it); a TGA goes in
        // as PNG at the size the allowance gives it, as the viewer shows it.
        if (d3dx::decodeImage(bytes, size, &decoded, allowance_.left())) {
            allowance_.spend(decoded.pixels().size());
            Image out;
            out.name = baseName(path);
            if (d3dx::sniffImage(bytes, size) == d3dx::ImageKind::Jpeg) {
                out.mimeType = "image/jpeg";
                out.bytes.assign(bytes, bytes + size);
            } else {
                out.mimeType = "image/png";
                out.bytes = pngOf(decoded);
            }
            if (!out.bytes.empty()) {
                index = static_cast<int>(asset_.images.size());
                asset_.images.push_back(std::move(out));
            }
        }
    }
    images_[identity] = index;
    return index;
}

int Textures::material(const std::string& name, const std::string& base, const std::string& gamePath,
                       const std::string& askedBy) {
    if (const auto found = materials_.find(name); found != materials_.end()) return found->second;
    std::vector<std::string> tried = {base + ".jpg", base + ".tga"};
    if (const std::string game = sys::gameRootPath(gamePath); !game.empty()) {
        tried.push_back(game + ".jpg");
        tried.push_back(game + ".tga");
    }
    int found = -1;
    for (const std::string& path : tried)
        if ((found = image(path)) >= 0) break;
    if (found < 0) {
        std::string list;
        for (const std::string& path : tried) list += (list.empty() ? "" : ", ") + path;
        asset_.warnings.push_back("no texture for " + askedBy + ": none of " + list + " is a JPEG or TGA image");
    }
    const int index = static_cast<int>(asset_.materials.size());
    asset_.materials.push_back({name, found});
    materials_[name] = index;
    return index;
}

int Textures::plainMaterial(const std::string& name) {
    if (const auto found = materials_.find(name); found != materials_.end()) return found->second;
    const int index = static_cast<int>(asset_.materials.size());
    asset_.materials.push_back({name, -1});
    materials_[name] = index;
    return index;
}

}  // namespace exporter
