#include "options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "anim_options.h"
#include "scene_options.h"
#include "app/answer_lengths.h"

namespace kr {

const char* const kUsage =
    "usage: korvane-render --base-dir DIR --model NAME [--body-skin F] [--head-skin F]\n"
    "                      [--frame K | --frames A-B | --anim NAME] [--size WxH] [--camera x,y,z,yaw,pitch]\n"
    "                      [--no-mesh] [--log FILE] [--strict] [--game-dir DIR]\n"
    "                      --out FILE.png (or FILE.webp with --anim)\n"
    "       korvane-render --base-dir DIR --model NAME --list-anims\n"
    "       korvane-render MODEL_FILE [--skin F] [--skeleton FILE.mdx] [--frame K | --frames A-B | --anim NAME]\n"
    "                      [--game-dir DIR] --out FILE.png       (MD3, MDC, MDS, MDM, by their first bytes)\n"
    "       korvane-render --char characters/.../NAME.char [--game-dir DIR|FILE.pk3]... [--anim NAME | --legs A --torso B]\n"
    "                      [--head-anim N] --out FILE.png (or FILE.webp)   (a character of the sibling game;\n"
    "                      --list-anims lists its rows and its hud head's)\n"
    "       korvane-render --help | --version\n"
    "pose: [--legs NAME --torso NAME] [--torso-aim PITCH,YAW] [--lod F | --lod-distance D] [--verbose]\n"
    "--body-skin may be given several times: one picture per skin, FILE-<skin>.png.\n";

namespace {

bool parseUnsigned(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value <= max;
}

bool parseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".png";
}

// A skin's name in a file name: without its folder and its ".skin" ending.
std::string skinTag(const std::string& skin) {
    const std::size_t slash = skin.find_last_of("/\\");
    std::string tag = slash == std::string::npos ? skin : skin.substr(slash + 1);
    if (tag.size() > 5 && tag.compare(tag.size() - 5, 5, ".skin") == 0) tag.resize(tag.size() - 5);
    return tag;
}

// The application state's buffers keep one byte for the terminator.
bool fits(const std::string& text, int bufferLength) { return text.size() < static_cast<std::size_t>(bufferLength); }

}  // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    bool haveFrame = false;
    bool haveFrames = false;
    bool haveSkin = false;
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
        if (arg == "--strict") {
            o.strict = true;
            continue;
        }
        const Taken anim = takeAnimArgument(argc, argv, i, o, error);
        if (anim == Taken::wrong) return false;
        if (anim == Taken::yes) continue;
        const PictureArgument picture = takePictureArgument(argc, argv, i, o.picture, error);
        if (picture == PictureArgument::wrong) return false;
        if (picture == PictureArgument::taken) continue;
        const Taken scene = takeSceneArgument(argc, argv, i, o, error);
        if (scene == Taken::wrong) return false;
        if (scene == Taken::yes) continue;
        if (arg == "--no-mesh") {
            o.noMesh = true;
            continue;
        }
        static const char* const kWithValue[] = {"--base-dir", "--model", "--body-skin", "--head-skin", "--frame",
                                                 "--frames",   "--size",  "--camera",    "--out",  "--log", "--game-dir"};
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
        unsigned long n = 0, m = 0;
        if (arg == "--base-dir") {
            o.baseDir = value;
        } else if (arg == "--model") {
            o.model = value;
        } else if (arg == "--body-skin") {
            if (!haveSkin) o.bodySkins.clear();
            haveSkin = true;
            o.bodySkins.push_back(value);
        } else if (arg == "--log") {
            if (value.empty()) {
                error = "--log wants a file name";
                return false;
            }
            o.log = value;
        } else if (arg == "--head-skin") {
            o.headSkin = value;
        } else if (arg == "--game-dir") {
            o.gameDir = value;
            o.gameDirs.push_back(value);
        } else if (arg == "--out") {
            o.out = value;
        } else if (arg == "--frame") {
            if (!parseUnsigned(value, 0xFFFFFFFFul, n)) {
                error = "--frame wants a frame number, not \"" + value + "\"";
                return false;
            }
            o.firstFrame = o.lastFrame = static_cast<std::uint32_t>(n);
            haveFrame = true;
        } else if (arg == "--frames") {
            const std::vector<std::string> p = split(value, '-');
            if (p.size() != 2 || !parseUnsigned(p[0], 0xFFFFFFFFul, n) || !parseUnsigned(p[1], 0xFFFFFFFFul, m) ||
                m < n) {
                error = "--frames wants A-B with A <= B, not \"" + value + "\"";
                return false;
            }
            o.firstFrame = static_cast<std::uint32_t>(n);
            o.lastFrame = static_cast<std::uint32_t>(m);
            o.range = true;
            haveFrames = true;
        } else if (arg == "--size") {
            const std::vector<std::string> p = split(value, 'x');
            if (p.size() != 2 || !parseUnsigned(p[0], 8192, n) || !parseUnsigned(p[1], 8192, m) || n == 0 ||
                m == 0) {
                error = "--size wants WxH, each 1 to 8192, not \"" + value + "\"";
                return false;
            }
            o.width = static_cast<int>(n);
            o.height = static_cast<int>(m);
        } else {  // --camera
            const std::vector<std::string> p = split(value, ',');
            CameraPose c;
            if (p.size() != 5 || !parseFloat(p[0], c.x) || !parseFloat(p[1], c.y) || !parseFloat(p[2], c.z) ||
                !parseFloat(p[3], c.yawDegrees) || !parseFloat(p[4], c.pitchDegrees)) {
                error = "--camera wants five numbers x,y,z,yaw,pitch, not \"" + value + "\"";
                return false;
            }
            o.camera = c;
        }
    }
    if (haveFrame && haveFrames) {
        error = "--frame and --frames exclude each other";
        return false;
    }
    if (!checkSceneOptions(o, haveFrame || haveFrames, error)) return false;
    if (!checkAnimOptions(o, haveFrame || haveFrames, error)) return false;
    if (!checkPictureOptions(o, haveFrame || haveFrames, error)) return false;
    if (drawsPlayer(o) && (o.baseDir.empty() || o.model.empty() || (o.out.empty() && !o.listAnims))) {
        error = "--base-dir, --model and --out are required";
        return false;
    }
    if (!drawsPlayer(o) && o.out.empty() && !o.listAnims) {
        error = "--out is required";
        return false;
    }
    if (!endsWithPng(o.out) && !animatedOutput(o) && !o.listAnims) {
        error = "--out must name a .png file (or a .webp file with --anim)";
        return false;
    }
    if (!fits(o.baseDir, kBaseDirLength) || !fits(o.model, kModelNameLength) ||
        !fits(o.headSkin, kSkinNameLength) ||
        std::any_of(o.bodySkins.begin(), o.bodySkins.end(),
                    [](const std::string& skin) { return !fits(skin, kSkinNameLength); })) {
        error = "too long: the base directory takes at most " + std::to_string(kBaseDirLength - 1) +
                " characters, the model and skin names " + std::to_string(kModelNameLength - 1) + " each";
        return false;
    }
    if (!o.anim.empty() && o.bodySkins.size() > 1) {
        error = "--anim draws one body skin; give --body-skin once";
        return false;
    }
    for (std::size_t i = 0; i < o.bodySkins.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (skinTag(o.bodySkins[i]) == skinTag(o.bodySkins[j])) {
                error = "--body-skin \"" + o.bodySkins[i] + "\" would write the same files as \"" + o.bodySkins[j] +
                        "\"";
                return false;
            }
        }
    }
    return true;
}

std::string outputPath(const Options& o, std::uint32_t frame, std::size_t skin) {
    if (!o.range && o.bodySkins.size() < 2) return o.out;
    std::string path = o.out.substr(0, o.out.size() - 4);
    if (o.bodySkins.size() > 1 && skin < o.bodySkins.size()) path += "-" + skinTag(o.bodySkins[skin]);
    if (o.range) {
        char number[16];
        std::snprintf(number, sizeof number, "-%04u", static_cast<unsigned>(frame));
        path += number;
    }
    return path + ".png";
}

std::string logPath(const Options& o, std::size_t skin) {
    if (o.log.empty()) return "log.htm";
    if (o.bodySkins.size() < 2 || skin >= o.bodySkins.size()) return o.log;
    const std::size_t slash = o.log.find_last_of("/\\");
    const std::size_t dot = o.log.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string tag = "-" + skinTag(o.bodySkins[skin]);
    return hasExtension ? o.log.substr(0, dot) + tag + o.log.substr(dot) : o.log + tag;
}

}  // namespace kr
