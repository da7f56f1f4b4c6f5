// The config's tokens as the game splits them: white space between tokens,
// "//" comments to the end of the line, "/* */" comments over lines, and
// quoted tokens that may hold white space.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace anim {

struct Token {
    std::string text;
    int line = 1;
    bool startsLine = true;  // no earlier token on its line
};

// All tokens of `text` in order; false with `error` ("LINE: reason", the
// caller adds the file name) for an unterminated quote or comment.
bool tokenize(std::string_view text, std::vector<Token>& tokens, std::string& error);

}  // namespace anim
