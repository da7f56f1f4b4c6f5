#include "scene/rtcw_rows.h"

#include <memory>

#include "anim/anim_config.h"

namespace scene {

FindRow wolfanimRows(const std::string& dir) {
    struct Loaded {
        bool tried = false, ok = false;
        std::string shown, error;
        anim::Config config;
    };
    auto loaded = std::make_shared<Loaded>();
    return [dir, loaded](const std::string& name, Row& row, std::string& error) {
        if (!loaded->tried) {
            loaded->tried = true;
            const std::string path = dir + "\\wolfanim.cfg";
            loaded->shown = path;
            for (char& c : loaded->shown) c = c == '\\' ? '/' : c;
            loaded->ok = anim::loadConfig(path.c_str(), loaded->shown, loaded->config, loaded->error);
        }
        if (!loaded->ok) {
            error = loaded->error;
            return false;
        }
        const anim::Animation* a = loaded->config.find(name);
        if (a == nullptr) {
            error = "no animation '" + name + "' in " + loaded->shown + " (--list-anims lists them)";
            return false;
        }
        row.playback = anim::playbackOf(*a);
        row.skeleton = 0;
        row.where = loaded->shown + ":" + std::to_string(a->line);
        return true;
    };
}

}  // namespace scene
