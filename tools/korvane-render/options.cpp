#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/app_state.h"

namespace kr {

const char* const kUsage =
    "usage: korvane-render --base-dir DIR --model NAME [--body-skin F] [--head-skin F]\n"
    "                      [--frame K | --frames A-B] [--size WxH] [--camera x,y,z,yaw,pitch]\n"
    "                      [--no-mesh] [--game-dir DIR] --out FILE.png\n";

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

// The application state's buffers keep one byte for the terminator.
bool fits(const std::string& text, int bufferLength) { return text.size() < static_cast<std::size_t>(bufferLength); }

}  // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    bool haveFrame = false;
    bool haveFrames = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return true;
        }
        if (arg == "--no-mesh") {
            o.noMesh = true;
            continue;
        }
        static const char* const kWithValue[] = {"--base-dir", "--model", "--body-skin", "--head-skin", "--frame",
                                                 "--frames",   "--size",  "--camera",    "--out", "--game-dir"};
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
            o.bodySkin = value;
        } else if (arg == "--head-skin") {
            o.headSkin = value;
        } else if (arg == "--game-dir") {
            o.gameDir = value;
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
    if (o.baseDir.empty() || o.model.empty() || o.out.empty()) {
        error = "--base-dir, --model and --out are required";
        return false;
    }
    if (!endsWithPng(o.out)) {
        error = "--out must name a .png file";
        return false;
    }
    if (!fits(o.baseDir, kBaseDirLength) || !fits(o.model, kModelNameLength) || !fits(o.bodySkin, kSkinNameLength) ||
        !fits(o.headSkin, kSkinNameLength)) {
        error = "too long: the base directory takes at most " + std::to_string(kBaseDirLength - 1) +
                " characters, the model and skin names " + std::to_string(kModelNameLength - 1) + " each";
        return false;
    }
    return true;
}

std::string outputPath(const Options& o, std::uint32_t frame) {
    if (!o.range) return o.out;
    char number[16];
    std::snprintf(number, sizeof number, "-%04u.png", static_cast<unsigned>(frame));
    return o.out.substr(0, o.out.size() - 4) + number;
}

}  // namespace kr
