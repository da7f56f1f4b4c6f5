#include "anim/tokens.h"

namespace anim {

namespace {

// Bytes up to the space count as white space, as in the game's parser
// (tabs, carriage returns and stray control bytes alike).
bool isSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool tokenize(std::string_view text, std::vector<Token>& tokens, std::string& error) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    int line = 1;
    bool newLine = true;
    while (i < n) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            newLine = true;
            ++i;
        } else if (isSpace(c)) {
            ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const int start = line;
            i += 2;
            while (i < n && !(text[i] == '*' && i + 1 < n && text[i + 1] == '/')) {
                if (text[i] == '\n') {
                    ++line;
                    newLine = true;
                }
                ++i;
            }
            if (i >= n) {
                error = std::to_string(start) + ": the comment opened here has no */";
                return false;
            }
            i += 2;
        } else if (c == '"') {
            const std::size_t close = text.find_first_of("\"\n", i + 1);
            if (close == std::string_view::npos || text[close] != '"') {
                error = std::to_string(line) + ": the quote opened here ends without its closing \"";
                return false;
            }
            tokens.push_back({std::string(text.substr(i + 1, close - i - 1)), line, newLine});
            newLine = false;
            i = close + 1;
        } else {
            const std::size_t start = i;
            while (i < n && !isSpace(text[i])) ++i;
            tokens.push_back({std::string(text.substr(start, i - start)), line, newLine});
            newLine = false;
        }
    }
    return true;
}

}  // namespace anim
