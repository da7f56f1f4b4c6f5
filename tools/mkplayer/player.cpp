#include "mkplayer/player.h"

#include <filesystem>
#include <functional>

#include "mkplayer/anim_config.h"
#include "mkplayer/attachments.h"
#include "mkplayer/body.h"
#include "mkplayer/skins.h"
#include "mkplayer/textures.h"
#include "modelgen/bytes.h"
#include "platform/sys/path.h"

namespace mp {

namespace {

class Writer {
public:
    explicit Writer(std::string dir) : dir_(std::move(dir)) {}

    void file(const std::string& name, const std::function<bool(const std::string&)>& write) {
        if (!result.ok) return;
        const std::string path = dir_ + "/" + name;
        if (write(path)) {
            result.written.push_back(path);
        } else {
            result.ok = false;
            result.error = "cannot write " + path;
        }
    }
    void bytes(const std::string& name, const mg::Bytes& b) {
        file(name, [&](const std::string& p) { return mg::writeFile(p, b); });
    }
    void text(const std::string& name, const std::string& t) {
        file(name, [&](const std::string& p) { return mg::writeFile(p, t); });
    }
    void tga(const std::string& name, const Image& im) {
        file(name, [&](const std::string& p) { return writeTga(p, im); });
    }
    void jpeg(const std::string& name, const Image& im) {
        file(name, [&](const std::string& p) { return writeJpeg(p, im); });
    }

    WriteResult result;

private:
    std::string dir_;
};

}  // namespace

WriteResult writePlayer(const std::string& baseDir) {
    const std::string dir = (baseDir.empty() ? std::string(".") : baseDir) + "/" + kModelFolder;
    std::error_code ec;
    std::filesystem::create_directories(sys::fsPath(dir + "/acc"), ec);
    if (ec) return {false, {}, "cannot create " + dir + "/acc: " + ec.message()};

    Writer w(dir);
    w.bytes("body.mds", mg::writeMds(bodyModel()).bytes);
    w.text("body_default.skin", bodySkin());
    w.text("head_default.skin", headSkin());
    w.text("wolfanim.cfg", animConfig());
    w.bytes("head.mdc", mg::writeMdc(headModel()).bytes);
    w.bytes("acc/beltl.mdc", mg::writeMdc(beltModel(true)).bytes);
    w.bytes("acc/beltr.mdc", mg::writeMdc(beltModel(false)).bytes);
    w.bytes("acc/pack.mdc", mg::writeMdc(packModel()).bytes);
    w.bytes("acc/hat.mdc", mg::writeMdc(hatModel()).bytes);
    w.text("acc/hat.skin", hatSkin());
    w.jpeg("torso.jpg", torsoTexture());
    w.jpeg("legs.jpg", legsTexture());
    w.tga("arms.tga", armsTexture());
    w.tga("hands.tga", handsTexture());
    w.tga("face.tga", faceTexture());
    w.jpeg("acc/belt.jpg", beltTexture());
    w.tga("acc/pack.tga", packTexture());
    w.jpeg("acc/hat.jpg", helmetTexture());
    return w.result;
}

}  // namespace mp
