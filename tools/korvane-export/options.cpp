#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "cli/pose_values.h"

namespace kx {

const char* const kUsage =
    "usage: korvane-export --base-dir DIR --model NAME [--body-skin F] [--head-skin F] [OPTIONS] --out FILE.glb\n"
    "       korvane-export [OPTIONS] --out FILE.glb PLAYER_FOLDER\n"
    "       korvane-export [--skeleton FILE.mdx] [OPTIONS] --out FILE.glb MODEL_FILE\n"
    "       korvane-export --char characters/.../NAME.char [--game-dir DIR|FILE.pk3]... [OPTIONS] --out FILE.glb\n"
    "       korvane-export --help | --version\n"
    "options: [--frame K] [--bind-frame K] [--anims all|none|NAME,NAME... | --anim NAME] [--fps N]\n"
    "         [--legs NAME --torso NAME [--torso-aim PITCH,YAW]] [--weights 4|8] [--scale S] [--game-dir DIR]\n"
    "         [--verbose]\n"
    "--out FILE.gltf writes FILE.bin and the images beside it. MODEL_FILE is MDS, MDC, MD3, or MDM with\n"
    "--skeleton; --scale 0.0254 (the default) turns game units into metres, 1 keeps them.\n";

namespace {

bool parseUnsigned(const std::string& text, std::uint32_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v > 0xFFFFFFFFull) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

bool parsePositive(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value) && value > 0.0;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

bool endsWith(const std::string& text, const char* tail) {
    const std::string t = tail;
    if (text.size() < t.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = text[text.size() - t.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != t[i]) return false;
    }
    return true;
}

}  // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    bool haveAnims = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return true;
        }
        if (arg == "--version") {
            o.version = true;
            return true;
        }
        if (arg == "--verbose" || arg == "-v") {
            o.verbose = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') {
            if (!o.input.empty()) {
                error = "one input only, not \"" + o.input + "\" and \"" + arg + "\"";
                return false;
            }
            o.input = arg;
            continue;
        }
        static const char* const kWithValue[] = {"--base-dir", "--model",  "--body-skin", "--head-skin", "--skeleton",
                                                 "--game-dir", "--frame",  "--bind-frame", "--anims",    "--anim",
                                                 "--fps",      "--weights", "--scale",     "--out",      "--char",
                                                 "--legs",     "--torso",   "--torso-aim"};
        bool known = false;
        for (const char* name : kWithValue) known = known || arg == name;
        if (!known) {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (arg == "--base-dir") {
            o.baseDir = value;
        } else if (arg == "--model") {
            o.model = value;
        } else if (arg == "--body-skin") {
            o.bodySkin = value;
        } else if (arg == "--head-skin") {
            o.headSkin = value;
        } else if (arg == "--skeleton") {
            o.skeleton = value;
        } else if (arg == "--game-dir") {
            o.gameDir = value;
            o.gameDirs.push_back(value);
        } else if (arg == "--char") {
            o.character = value;
        } else if (arg == "--out") {
            o.out = value;
        } else if (arg == "--legs" || arg == "--torso") {
            if (value.empty()) {
                error = arg + " wants an animation name";
                return false;
            }
            (arg == "--legs" ? o.legs : o.torso) = value;
        } else if (arg == "--torso-aim") {
            if (!cli::parseTorsoAim(value, o.aimPitch, o.aimYaw, error)) return false;
            o.aim = true;
        } else if (arg == "--frame" || arg == "--bind-frame") {
            std::uint32_t k = 0;
            if (!parseUnsigned(value, k)) {
                error = arg + " wants a frame number, not \"" + value + "\"";
                return false;
            }
            if (arg == "--frame")
                o.frame = k;
            else
                o.bindFrame = k;
        } else if (arg == "--anims" || arg == "--anim") {
            if (haveAnims) {
                error = "--anims and --anim are given once, together";
                return false;
            }
            haveAnims = true;
            o.anims.clear();
            if (arg == "--anim") {
                o.anims.push_back(value);
            } else if (value == "none") {
                o.noAnims = true;
            } else if (value != "all") {
                o.anims = splitList(value);
            }
            for (const std::string& name : o.anims) {
                if (name.empty()) {
                    error = arg + " wants animation names, not \"" + value + "\"";
                    return false;
                }
            }
        } else if (arg == "--fps") {
            if (!parsePositive(value, o.fps)) {
                error = "--fps wants a positive number, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--scale") {
            if (!parsePositive(value, o.scale)) {
                error = "--scale wants a positive number, not \"" + value + "\"";
                return false;
            }
        } else {  // --weights
            if (value != "4" && value != "8") {
                error = "--weights wants 4 or 8, not \"" + value + "\"";
                return false;
            }
            o.weights = value == "4" ? 4 : 8;
        }
    }
    const bool player = !o.baseDir.empty() || !o.model.empty();
    if (player && (o.baseDir.empty() || o.model.empty())) {
        error = "--base-dir and --model go together";
        return false;
    }
    if (!o.character.empty()) {
        if (player || !o.input.empty() || !o.skeleton.empty()) {
            error = "--char excludes --base-dir/--model, an input and --skeleton";
            return false;
        }
    } else if (player == !o.input.empty()) {
        error = player ? "give --base-dir/--model or an input, not both" : "no input: give --base-dir and --model, "
                                                                            "a player folder, a model file or --char";
        return false;
    }
    if (o.legs.empty() != o.torso.empty()) {
        error = "--legs and --torso come together";
        return false;
    }
    if (!o.legs.empty() && haveAnims) {
        error = "--anims and --anim exclude --legs and --torso: the pair is the file's one animation";
        return false;
    }
    if (o.aim && o.legs.empty()) {
        error = "--torso-aim turns the torso of --legs and --torso";
        return false;
    }
    if (o.out.empty()) {
        error = "--out is required";
        return false;
    }
    if (!endsWith(o.out, ".glb") && !endsWith(o.out, ".gltf")) {
        error = "--out must name a .glb or .gltf file";
        return false;
    }
    return true;
}

}  // namespace kx
