// Loading the models that hang on the body: the belts and the back piece
// named by the body skin, the head and the hat named by the head skin. Each
// slot's model is made here; placing and drawing them is the body's draw.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "log/load_context.h"
#include "log/log.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "platform/sys/game_root.h"
#include "skin/skin.h"

namespace {

// Paths of attached models are composed in a buffer of this many
// characters, terminator included; a longer path is not loaded.
constexpr std::size_t kPathBuffer = 500;

struct Path {
    char text[kPathBuffer];
};

// Formats into path; false (and a log line naming the operation) when the
// result does not fit.
bool composePath(const char* operation, Path& path, const char* format, ...) __attribute__((format(printf, 3, 4)));
bool composePath(const char* operation, Path& path, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(path.text, sizeof(path.text), format, args);
    va_end(args);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof(path.text)) return true;
    pLog->printError("%s - Path too long, not loaded", operation);
    return false;
}

const Skin::Entry* find(const Skin* skin, const char* key) { return skin ? skin->find(key) : nullptr; }

const char* textOr(const char* text) { return text ? text : ""; }

// Who asks for an attachment, for the report of a failed load.
std::string askedBy(const char* key, const Skin* skin) {
    return std::string("'") + key + "' in " + (skin ? skin->path() : std::string("no skin"));
}

// With a game folder set (korvane-render --game-dir), a file missing where
// the viewer looks is taken from the entry's game path below that folder.
void preferGamePath(Path& path, const Skin::Entry& entry, const char* extension) {
    const std::string chosen = sys::viewerOrGamePath(path.text, entry.gamePath, extension);
    if (chosen != path.text && chosen.size() < sizeof(path.text))
        std::snprintf(path.text, sizeof(path.text), "%s", chosen.c_str());
}

}  // namespace

int MDS::loadAccessories(const char* dir, const Skin* skin) {
    if (!loaded_) return -1;
    static constexpr struct {
        const char* key;
        Slot slot;
    } kAccessories[] = {{"md3_beltl", BeltLeft}, {"md3_beltr", BeltRight}, {"md3_back", Back}};
    for (const auto& accessory : kAccessories) deleteSlot(accessory.slot);

    dir = textOr(dir);
    for (const auto& accessory : kAccessories) {
        const Skin::Entry* entry = find(skin, accessory.key);
        Path path;
        if (!entry || !composePath("MDS::loadAccessories()", path, "%s\\%s.mdc", dir, entry->value)) continue;
        preferGamePath(path, *entry, ".mdc");
        const loadctx::Scope scope(path.text, askedBy(accessory.key, skin));
        MDC* model = new MDC(device_);
        slots_[accessory.slot] = model;
        model->loadFromFile(path.text);
        model->loadShaderTextures(modelName_, dir, &textureCache_);
    }
    return 1;
}

int MDS::loadHead(const char* dir, const Skin* skin) {
    if (!loaded_) return -1;
    deleteSlot(Head);
    deleteSlot(Hat);
    dir = textOr(dir);

    const Skin::Entry* part = find(skin, "md3_part");
    Path path;
    if (composePath("MDS::loadHead()", path, "%s\\%s.mdc", dir, part ? part->value : "head")) {
        if (part) preferGamePath(path, *part, ".mdc");
        const loadctx::Scope scope(
            path.text,
            part ? askedBy("md3_part", skin) : "no 'md3_part' in " + (skin ? skin->path() : std::string("no skin")));
        MDC* head = new MDC(device_);
        slots_[Head] = head;
        head->loadFromFile(path.text);
        head->applySkin(dir, skin, &textureCache_);
    }

    const Skin::Entry* hat = find(skin, "md3_hat");
    if (!hat || !composePath("MDS::loadHead()", path, "%s\\%s.skin", dir, hat->value)) return 1;
    preferGamePath(path, *hat, ".skin");
    const loadctx::Scope scope("", askedBy("md3_hat", skin));
    // The hat's own skin lives only for this call; the hat keeps the
    // textures, not the skin.
    Skin hatSkin(modelName_);
    if (hatSkin.load(path.text) < 0) {
        // No skin: the hat's file lies beside where the skin would be.
        if (!composePath("MDS::loadHead()", path, "%s\\%s.mdc", dir, hat->value)) return 1;
        preferGamePath(path, *hat, ".mdc");
        const loadctx::Scope model(path.text, "");
        MDC* hatModel = new MDC(device_);
        slots_[Hat] = hatModel;
        hatModel->loadFromFile(path.text);
        hatModel->loadShaderTextures(modelName_, dir, &textureCache_);
        return 1;
    }
    // A hat skin that names no model part gives no hat.
    const char* hatPart = hatSkin.lookup("md3_part");
    if (!hatPart || !composePath("MDS::loadHead()", path, "%s\\acc\\%s.mdc", dir, hatPart)) return 1;
    const loadctx::Scope model(path.text, askedBy("md3_part", &hatSkin));
    MDC* hatModel = new MDC(device_);
    slots_[Hat] = hatModel;
    hatModel->loadFromFile(path.text);
    hatModel->applySkin(dir, &hatSkin, &textureCache_);
    return 1;
}
