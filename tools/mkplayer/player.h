// Writes the complete demo player "infantryss" below a base directory:
//
//   models/players/infantryss/body.mds            skeleton, walk and idle turn
//   models/players/infantryss/body_default.skin   body textures, belt and back pieces
//   models/players/infantryss/head_default.skin   face, head model, hat
//   models/players/infantryss/head.mdc
//   models/players/infantryss/wolfanim.cfg        walk and idle as named frame ranges
//   models/players/infantryss/acc/{beltl,beltr,pack,hat}.mdc, acc/hat.skin
//   textures: torso.jpg legs.jpg arms.tga hands.tga face.tga,
//             acc/belt.jpg acc/pack.tga acc/hat.jpg
//
// Everything is made from code and the same on every run.
#pragma once

#include <string>
#include <vector>

namespace mp {

// The folder below the base directory that holds the model.
inline constexpr const char* kModelFolder = "models/players/infantryss";

struct WriteResult {
    bool ok = true;
    std::vector<std::string> written;  // paths of the files written
    std::string error;                 // the first failure
};

WriteResult writePlayer(const std::string& baseDir);

}  // namespace mp
