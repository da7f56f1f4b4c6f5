// Name rules shared by skin parsing and texture lookup: ASCII lowering and
// dropping everything up to the model's own folder from a game path.
#pragma once

#include <string>

namespace skin {

// A copy with the ASCII letters A-Z turned into a-z (other bytes unchanged).
std::string lowered(const char* text);
void lowerInPlace(char* text);

// Where a game path continues after the model's folder: when `text` holds
// `loweredModelName`, the position two characters past the end of its
// first occurrence (the name and the separator after it are dropped);
// otherwise `text` itself. When the name ends the text, or is followed only
// by that one character, the result is the empty string at the text's end,
// so nothing beyond the terminator is ever read. An empty model name is
// found nowhere.
const char* afterModelName(const char* text, const std::string& loweredModelName);
char* afterModelName(char* text, const std::string& loweredModelName);

}  // namespace skin

// The texture name of a game path (a shader name) relative to the model's
// folder: lowered, cut at the first full stop, and without the part up to
// and including the model's folder. For the model "infantryss",
// "models/players/infantryss/acc/belt.tga" gives "acc/belt".
std::string relativeTextureName(const char* modelName, const char* gamePath);

// A shader name as the game looks it up below its folder: lowered, cut at
// the first full stop ("Models/X/Belt.TGA" gives "models/x/belt").
std::string shaderGamePath(const char* shader);
