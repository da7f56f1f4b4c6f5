// Writes a small player model folder for the viewer tests: body.mds (the
// sample body, or one with a chosen number of frames), the two skins and
// a head.
#pragma once

#include <string>

namespace app_test {

// Writes dir/body.mds with `frames` frames (0 for the sample body's three).
void writeBody(const std::string& dir, int frames = 0);
// Writes body.mds, body_default.skin, head_default.skin and head.mdc.
void writeModelFolder(const std::string& dir);

}  // namespace app_test
