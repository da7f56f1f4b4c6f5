// The command line of korvane-export, parsed and checked before any file
// is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx {

struct Options {
    // A player folder: --base-dir and --model, or the folder as the input.
    std::string baseDir, model;
    std::string bodySkin = "body_default.skin";
    std::string headSkin = "head_default.skin";
    std::string input;     // a player folder or one model file
    std::string skeleton;  // --skeleton: the MDX of an MDM input
    std::string gameDir;
    std::string character;              // --char: a .char of the sibling game
    std::vector<std::string> gameDirs;  // every --game-dir: the character's search path, in order
    std::uint32_t frame = 0;
    std::optional<std::uint32_t> bindFrame;
    // Empty: every animation; {"none"}: none; otherwise these, in order.
    std::vector<std::string> anims;
    bool noAnims = false;
    // --legs and --torso: one animation of the two rows, the torso turned
    // by --torso-aim (degrees).
    std::string legs, torso;
    bool aim = false;
    float aimPitch = 0.0f, aimYaw = 0.0f;
    double fps = 20.0;  // the clip of a model file
    int weights = 4;
    double scale = 0.0254;
    std::string out;
    bool verbose = false;
    bool help = false, version = false;
};

// False with a one-line reason on a wrong or missing argument.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

extern const char* const kUsage;

}  // namespace kx
