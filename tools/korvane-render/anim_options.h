// The animation options of korvane-render: --list-anims and --anim NAME
// (with --out FILE.png for numbered pictures or FILE.webp for one animated
// file), taken apart from the rest of the command line.
#pragma once

#include <string>

#include "options.h"

namespace kr {

enum class Taken { no, yes, wrong };

// Takes argv[i] (and its value, advancing i) when it is an animation option.
Taken takeAnimArgument(int argc, char** argv, int& i, Options& options, std::string& error);

// Once every argument is read: --anim excludes --frame and --frames, and a
// .webp output needs --anim.
bool checkAnimOptions(const Options& options, bool frameGiven, std::string& error);

// --out names a .webp file (letter case ignored).
bool animatedOutput(const Options& options);

}  // namespace kr
