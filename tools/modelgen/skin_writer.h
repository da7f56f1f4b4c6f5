// Builds the text of a .skin file: one "key,value" line per entry, the value
// optionally in double quotes, with the chosen line break. Odd texts (comments,
// lines without a comma, a missing final line break) are easiest written
// directly with writeFile.
#pragma once

#include <string>
#include <vector>

namespace mg {

struct SkinEntry {
    std::string key;
    std::string value;
    bool quoted = true;
};

std::string skinText(const std::vector<SkinEntry>& entries, const std::string& lineBreak = "\r\n");

}  // namespace mg
