#include "game/game_skin.h"

#include "skin/skin_text.h"

namespace game {

const SkinAccessory* GameSkin::accessory(std::string_view key) const {
    for (const SkinAccessory& a : accessories)
        if (a.key == key) return &a;
    return nullptr;
}

const SkinSurface* GameSkin::surface(std::string_view lowerCaseName) const {
    for (const SkinSurface& s : surfaces)
        if (s.name == lowerCaseName) return &s;
    return nullptr;
}

GameSkin parseGameSkin(const void* bytes, std::size_t size, const std::string& file, Messages& messages) {
    const skin::ParsedSkin parsed = skin::ParsedSkin::sibling(bytes, size);
    GameSkin out;
    for (const skin::Entry& e : parsed.entries()) {
        if (e.kind == skin::EntryKind::Accessory) {
            out.accessories.push_back({e.key, e.value, e.line});
        } else {
            out.surfaces.push_back({e.key, e.value, e.line});
        }
    }
    const skin::SiblingStop& stop = parsed.stop();
    if (stop.why == skin::SiblingStop::Why::Accessories)
        report(messages, Id::GameLimit, Severity::Warning, file, stop.line,
               formats::strf("an accessory after %zu: the game reads no more of this skin", skin::kSiblingAccessories));
    if (stop.why == skin::SiblingStop::Why::Surfaces)
        report(messages, Id::GameLimit, Severity::Warning, file, stop.line,
               formats::strf("a surface after %zu: the game reads no more of this skin", skin::kSiblingSurfaces));
    return out;
}

}  // namespace game
