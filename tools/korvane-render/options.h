// The command line of korvane-render, parsed and checked before anything
// else starts, so that a wrong argument needs neither a display nor a log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture_options.h"
#include "scene_request.h"

namespace kr {

struct CameraPose {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float yawDegrees = 0.0f;    // positive turns the view to the right
    float pitchDegrees = 0.0f;  // positive tilts the view down
};

struct Options {
    std::string baseDir;
    std::string model;
    // One picture (or range) per body skin, the body loaded once; the
    // first --body-skin replaces the default.
    std::vector<std::string> bodySkins = {"body_default.skin"};
    std::string headSkin = "head_default.skin";
    std::uint32_t firstFrame = 0;
    std::uint32_t lastFrame = 0;
    bool range = false;  // --frames: one numbered file per frame
    int width = 500;
    int height = 500;
    std::optional<CameraPose> camera;  // unset: framed by picture.views
    bool noMesh = false;
    // Textures and attachments not below the model's folder are also looked
    // for relative to this folder (the game's, holding models/).
    std::string gameDir;
    // Every --game-dir in order: the search path of a --char (folders and
    // .pk3 files, each over those before it).
    std::vector<std::string> gameDirs;
    std::string out;
    std::string log;              // --log; unset: "log.htm", one for the whole run
    bool strict = false;          // an ERROR line in a log: exit status 3
    bool help = false;
    bool version = false;
    std::string anim;        // --anim: the frames of this animation of the model's config
    bool listAnims = false;  // --list-anims: print the config's animations, draw nothing
    PictureOptions picture;  // views, samples, background, grid, standing frame
    SceneOptions scene;      // a model file, a character, legs and torso, level of detail
};

// Fills `options` from argv; on a wrong or missing argument returns false
// with a one-line reason in `error`.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

// The file for `frame` of body skin number `skin`: `out` itself for a single
// frame; for a range, `out` without its ".png" ending, a dash, the frame in
// four digits and ".png". With several skins the skin's name (without
// folder and ".skin") and a dash come before the frame: FILE-<skin>.png,
// FILE-<skin>-000A.png.
std::string outputPath(const Options& options, std::uint32_t frame, std::size_t skin = 0);

// The log of body skin number `skin`: "log.htm" without --log; the --log
// file itself for one skin; with several, "-<skin>" before its extension
// (run.htm: run-<skin>.htm).
std::string logPath(const Options& options, std::size_t skin);

extern const char* const kUsage;

}  // namespace kr
