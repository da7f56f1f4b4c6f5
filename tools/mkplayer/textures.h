// The soldier's textures: the uniform (tunic, trousers with boots, sleeves),
// the hands, the face, the belt pouch with its buckle, the back pack and the
// helmet. Each has a pattern that shows where it landed on the model.
#pragma once

#include "mkplayer/image.h"

namespace mp {

Image torsoTexture();
Image legsTexture();
Image armsTexture();
Image handsTexture();
Image faceTexture();
Image beltTexture();
Image packTexture();
Image helmetTexture();

}  // namespace mp
