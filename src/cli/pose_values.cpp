#include "cli/pose_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace cli {

bool parseFinite(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool parseTorsoAim(const std::string& value, float& pitch, float& yaw, std::string& error) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos || !parseFinite(value.substr(0, comma), pitch) ||
        !parseFinite(value.substr(comma + 1), yaw)) {
        error = "--torso-aim wants PITCH,YAW in degrees, not \"" + value + "\"";
        return false;
    }
    return true;
}

}  // namespace cli
