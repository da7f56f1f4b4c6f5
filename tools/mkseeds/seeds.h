// Seed corpora for the fuzz targets, one writer per target name.
#pragma once

#include <string>

namespace seeds {

// Each writes a few files into dir; false when one cannot be written.
bool browser(const std::string& dir);
bool mdc(const std::string& dir);
bool skin(const std::string& dir);
bool texture(const std::string& dir);
bool textures(const std::string& dir);
bool mds(const std::string& dir);
bool pk3(const std::string& dir);
bool anim(const std::string& dir);
bool check(const std::string& dir);
bool apply(const std::string& dir);
bool md3(const std::string& dir);
bool mdm(const std::string& dir);
bool mdx(const std::string& dir);
bool gameText(const std::string& dir);

}  // namespace seeds
