// korvane-check's entry into the checks: one PATH (a player folder, or a
// single .mds, .mdc, .skin or wolfanim.cfg file; paths.h says how it is
// found) checked into a report.
#pragma once

#include <string>

#include "check/limits.h"
#include "check/report.h"

namespace check {

struct Options {
    Limits limits;
    // The game's folder (the one that holds models/); empty for none. Names
    // that are not found below the model's folder are also looked for here.
    std::string gameDir;
    // The skeleton (an MDX file) that MDM files name the bones of; empty
    // for none.
    std::string skeleton;
};

void checkPath(const std::string& path, const Options& options, Report& report);

// The animation config of a player folder (or given alone), checked against
// the model's frame count (-1 when no body was read): the file must read
// (src/anim), must say SKELETAL when `skeletalBody` (an MDS body was read
// beside it), every animation must have frames and its range, its loop
// included, must lie inside the model's frames, and frames that no
// animation uses are noted.
void checkAnimationConfig(const std::string& path, long long numFrames, bool skeletalBody, Report& report);

}  // namespace check
