#include "scene/player_scene.h"

#include <utility>

#include "model/mds.h"
#include "skin/skin.h"

std::string modelDirOf(const std::string& baseDir, const std::string& modelName) {
    std::string dir = baseDir + "\\" + modelName;
    for (char& c : dir) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return dir;
}

PlayerScene::PlayerScene(IDirect3DDevice8* device, PlayerFiles files) : device_(device), files_(std::move(files)) {}

PlayerScene::~PlayerScene() {
    headSkin_.reset();
    bodySkin_.reset();
    body_.reset();
}

bool PlayerScene::bodyLoaded() const { return body_ != nullptr && body_->loaded(); }

// A skin for the model, loaded from "<modelDir>\<name>" (failures logged).
std::unique_ptr<Skin> PlayerScene::loadSkin(const std::string& name) const {
    auto skin = std::make_unique<Skin>(files_.modelName.c_str());
    skin->load((files_.modelDir + "\\" + name).c_str());
    return skin;
}

bool PlayerScene::loadBody(std::uint32_t frame) {
    body_ = std::make_unique<MDS>(device_, files_.modelName.c_str());
    if (body_->loadFromFile((files_.modelDir + "\\body.mds").c_str()) < 0) return false;
    body_->setFrame(frame);
    return true;
}

void PlayerScene::dress() {
    if (!bodyLoaded()) return;
    const char* dir = files_.modelDir.c_str();
    bodySkin_ = loadSkin(files_.bodySkin);
    body_->applySkin(dir, bodySkin_.get());
    body_->loadAccessories(dir, bodySkin_.get());

    headSkin_ = loadSkin(files_.headSkin);
    body_->loadHead(dir, headSkin_.get());
}

void PlayerScene::changeBodySkin(const std::string& name) {
    if (!bodyLoaded()) return;
    files_.bodySkin = name;
    bodySkin_.reset();
    bodySkin_ = loadSkin(name);
    body_->applySkin(files_.modelDir.c_str(), bodySkin_.get());
    body_->loadAccessories(files_.modelDir.c_str(), bodySkin_.get());
}
