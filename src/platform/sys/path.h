// Path rules of the system layer.
//
// The system composes paths with backslashes and lower-cases the model
// directory, because the original platform's file system ignores case. On
// POSIX a '\' is a separator like '/', and a path that does not exist as
// written is resolved component by component with ASCII letter case
// ignored; among several matches of one component the first in byte order
// of the names wins, so the result does not depend on directory order.
#pragma once

#include <string>

namespace sys {

// Turns every '\' into '/'.
std::string normalizeSeparators(const std::string& path);

// The existing path that `path` names under the rules above, or an empty
// string when no such file or directory exists.
std::string resolvePath(const std::string& path);

}  // namespace sys
