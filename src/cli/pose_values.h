// Values of the options that pose a body, read alike by every program that
// takes them.
#pragma once

#include <string>

namespace cli {

// The whole text as one finite float; false for anything else.
bool parseFinite(const std::string& text, float& value);

// --torso-aim PITCH,YAW: two finite numbers of degrees; false with the
// one-line reason otherwise.
bool parseTorsoAim(const std::string& value, float& pitch, float& yaw, std::string& error);

}  // namespace cli
