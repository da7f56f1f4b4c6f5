// The skin files of the demo player: the body skin (surface textures, belt
// and back accessories), the head skin (face, head model, hat) and the hat's
// own skin. Values are game paths; the viewer drops the extension and the
// part up to the model's folder.
#pragma once

#include <string>

namespace mp {

std::string bodySkin();
std::string headSkin();
std::string hatSkin();

}  // namespace mp
