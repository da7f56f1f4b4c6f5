#include "scene_options.h"

#include <cerrno>
#include <cstdlib>

#include "cli/pose_values.h"

namespace kr {

Taken takeSceneArgument(int argc, char** argv, int& i, Options& o, std::string& error) {
    const std::string arg = argv[i];
    SceneOptions& s = o.scene;
    if (arg == "--verbose") {
        s.verbose = true;
        return Taken::yes;
    }
    if (!arg.empty() && arg[0] != '-') {
        if (!s.file.empty()) {
            error = "one model file at a time: \"" + s.file + "\" and \"" + arg + "\"";
            return Taken::wrong;
        }
        s.file = arg;
        return Taken::yes;
    }
    static const char* const kWithValue[] = {"--skin", "--skeleton", "--char",        "--legs",
                                             "--torso", "--lod",     "--lod-distance", "--torso-aim",
                                             "--head-anim"};
    bool known = false;
    for (const char* name : kWithValue) known = known || arg == name;
    if (!known) return Taken::no;
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        error = arg + " needs a value";
        return Taken::wrong;
    }
    const std::string value = argv[++i];
    float f = 0.0f;
    if (arg == "--skin") {
        s.skin = value;
    } else if (arg == "--skeleton") {
        s.skeletons.push_back(value);
    } else if (arg == "--char") {
        s.character = value;
    } else if (arg == "--legs") {
        s.legs = value;
    } else if (arg == "--torso") {
        s.torso = value;
    } else if (arg == "--lod") {
        if (!cli::parseFinite(value, f) || f < 0.0f || f > 1.0f) {
            error = "--lod wants a factor from 0 to 1, not \"" + value + "\"";
            return Taken::wrong;
        }
        s.lod = f;
    } else if (arg == "--lod-distance") {
        if (!cli::parseFinite(value, f) || f <= 0.0f) {
            error = "--lod-distance wants a distance above 0, not \"" + value + "\"";
            return Taken::wrong;
        }
        s.lodDistance = f;
    } else if (arg == "--head-anim") {
        char* end = nullptr;
        errno = 0;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (errno != 0 || *end != '\0' || n < 0 || n > 1000) {
            error = "--head-anim wants the number of a hud head animation (0 is the first), not \"" + value + "\"";
            return Taken::wrong;
        }
        s.headAnim = static_cast<int>(n);
    } else {  // --torso-aim
        if (!cli::parseTorsoAim(value, s.aimPitch, s.aimYaw, error)) return Taken::wrong;
        s.aim = true;
    }
    return Taken::yes;
}

bool checkSceneOptions(const Options& o, bool frameGiven, std::string& error) {
    const SceneOptions& s = o.scene;
    const auto fail = [&error](const char* text) {
        error = text;
        return false;
    };
    if (!s.file.empty() && !s.character.empty()) return fail("a model file and --char exclude each other");
    if (s.legs.empty() != s.torso.empty()) return fail("--legs and --torso come together");
    if (!s.legs.empty() && !o.anim.empty()) return fail("--anim plays one animation on the whole body: it excludes --legs and --torso");
    if (s.lod && s.lodDistance) return fail("--lod and --lod-distance exclude each other");
    if (!s.legs.empty() && o.picture.standing) return fail("--standing excludes --legs and --torso");
    if ((!s.skin.empty() || !s.skeletons.empty()) && s.file.empty())
        return fail("--skin and --skeleton go with a model file");
    if (!drawsPlayer(o) && (!o.baseDir.empty() || !o.model.empty()))
        return fail("a model file or --char excludes --base-dir and --model");
    if (s.posesPlayer() && o.bodySkins.size() > 1) return fail("--legs, --torso-aim and --lod draw one body skin");
    if (s.headAnim && s.character.empty()) return fail("--head-anim plays a row of a character's hudheadanims: it goes with --char");
    if (o.listAnims && !s.file.empty()) return fail("--list-anims lists a player's or a character's animations");
    if (animatedOutput(o) && o.anim.empty() && s.legs.empty())
        return fail("--out FILE.webp needs --anim NAME, or --legs and --torso");
    if (animatedOutput(o) && frameGiven) return fail("--out FILE.webp draws every step: it excludes --frame and --frames");
    return true;
}

bool drawsPosedScene(const Options& o) { return !drawsPlayer(o) || o.scene.posesPlayer(); }

}  // namespace kr
