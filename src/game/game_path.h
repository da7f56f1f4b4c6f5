// How the game names its files: paths below its folders and inside its
// archives, whatever separator and letter case they are written with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace game {

// Paths the game composes or reads are cut to this many characters, and
// it refuses to load a model or skin whose path is longer.
constexpr std::size_t kMaxGamePath = 63;

// The lookup key of a game path: '\' and '/' alike, ASCII letters
// lower-cased, empty and "." components dropped, one leading separator
// dropped (the game drops it). Empty when the game refuses the path: it
// holds ".." or "::" anywhere (the game's own test), is still absolute,
// names a folder (ends in a separator) or is empty.
std::string gamePathKey(std::string_view path);

// The path up to its first '.', as the game strips an extension (a '.' in
// a folder name cuts there too).
std::string stripExtension(std::string_view path);

// The folder part of a path, with its trailing separator ("a/b/" for
// "a/b/c.x"); empty when it has none.
std::string folderOf(std::string_view path);

// ASCII letter case ignored, as the game compares keywords and names.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// ASCII letters lower-cased.
std::string lowerAscii(std::string_view text);

}  // namespace game
