// The command line of korvane-render, parsed and checked before anything
// else starts, so that a wrong argument needs neither a display nor a log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kr {

struct CameraPose {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float yawDegrees = 0.0f;    // positive turns the view to the right
    float pitchDegrees = 0.0f;  // positive tilts the view down
};

struct Options {
    std::string baseDir;
    std::string model;
    std::string bodySkin = "body_default.skin";
    std::string headSkin = "head_default.skin";
    std::uint32_t firstFrame = 0;
    std::uint32_t lastFrame = 0;
    bool range = false;  // --frames: one numbered file per frame
    int width = 500;
    int height = 500;
    std::optional<CameraPose> camera;  // unset: the viewer's start pose
    bool noMesh = false;
    // Textures and attachments not below the model's folder are also looked
    // for relative to this folder (the game's, holding models/).
    std::string gameDir;
    std::string out;
    bool help = false;
};

// Fills `options` from argv; on a wrong or missing argument returns false
// with a one-line reason in `error`.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

// The file for `frame`: `out` itself for a single frame; for a range, `out`
// without its ".png" ending, a dash, the frame in four digits and ".png".
std::string outputPath(const Options& options, std::uint32_t frame);

extern const char* const kUsage;

}  // namespace kr
