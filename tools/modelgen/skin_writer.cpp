#include "modelgen/skin_writer.h"

namespace mg {

std::string skinText(const std::vector<SkinEntry>& entries, const std::string& lineBreak) {
    std::string text;
    for (const auto& e : entries) {
        text += e.key;
        text += ',';
        text += e.quoted ? "\"" + e.value + "\"" : e.value;
        text += lineBreak;
    }
    return text;
}

}  // namespace mg
