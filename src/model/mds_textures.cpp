// The body model's surface textures, from the body skin: one per surface,
// looked up by the surface's name.
#include <string>
#include <vector>

#include "model/mds.h"
#include "skin/texture_loader.h"

int MDS::applySkin(const char* dir, const Skin* skin) {
    if (!loaded_) return -1;
    std::vector<std::string> names;
    names.reserve(index_.surfaces.size());
    for (const formats::MdsSurfaceIndex& surface : index_.surfaces) names.push_back(surface.name);
    skin::texturesFromSkin(textureCache_, dir, skin, names, textures_);
    return 1;
}
