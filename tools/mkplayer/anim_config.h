// The demo player's animation config "wolfanim.cfg": its walk cycle and idle
// turn as named frame ranges of body.mds (skeletal, version 2).
#pragma once

#include <string>

namespace mp {

std::string animConfig();

}  // namespace mp
