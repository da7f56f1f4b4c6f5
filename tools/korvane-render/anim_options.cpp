#include "anim_options.h"

namespace kr {

bool animatedOutput(const Options& o) {
    if (o.out.size() < 5) return false;
    std::string tail = o.out.substr(o.out.size() - 5);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".webp";
}

Taken takeAnimArgument(int argc, char** argv, int& i, Options& o, std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--list-anims") {
        o.listAnims = true;
        return Taken::yes;
    }
    if (arg != "--anim") return Taken::no;
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        error = "--anim needs an animation name";
        return Taken::wrong;
    }
    o.anim = argv[++i];
    return Taken::yes;
}

bool checkAnimOptions(const Options& o, bool frameGiven, std::string& error) {
    if (!o.anim.empty() && frameGiven) {
        error = "--anim excludes --frame and --frames";
        return false;
    }
    if (o.listAnims && !o.anim.empty()) {
        error = "--list-anims and --anim exclude each other";
        return false;
    }
    if (o.anim.empty() && animatedOutput(o) && o.scene.legs.empty()) {
        error = "--out FILE.webp needs --anim NAME";
        return false;
    }
    return true;
}

}  // namespace kr
