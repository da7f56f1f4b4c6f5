// Seed corpora for the fuzz targets, one writer per target name.
#pragma once

#include <string>

namespace seeds {

// Each writes a few files into dir; false when one cannot be written.
bool browser(const std::string& dir);

}  // namespace seeds
