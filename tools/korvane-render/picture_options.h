// The picture options of korvane-render, taken apart from the rest of the
// command line: which views (--view, --sheet), anti-aliasing (--samples),
// the background (--background), --no-grid and --standing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framing.h"

namespace kr {

struct Options;

struct PictureOptions {
    // --view: one; --sheet: several side by side, each framed on its own.
    std::vector<View> views = {View::threeQuarter};
    bool viewGiven = false;           // --view or --sheet was given
    int samples = 1;                  // --samples: 1, 2, 4 or 8
    bool transparent = false;         // --background transparent: RGBA files
    std::uint32_t background = 0xFFFFFFu;  // RGB; white is the viewer's
    bool grid = true;                 // --no-grid: no ground grid, no axis lines
    bool standing = false;            // --standing: the idle animation's first frame
};

enum class PictureArgument { other, taken, wrong };

// Takes argv[i] (and its value, advancing i) when it is a picture option.
PictureArgument takePictureArgument(int argc, char** argv, int& i, PictureOptions& picture, std::string& error);

// Once every argument is read: --camera excludes --view and --sheet,
// --standing excludes --frame, --frames and --anim, and a sheet is at most
// 8192 pixels wide.
bool checkPictureOptions(const Options& options, bool frameGiven, std::string& error);

// The width of the written picture: one view's width times the views.
int pictureWidth(const Options& options);

extern const char* const kPictureUsage;

}  // namespace kr
