#include "skin/names.h"

#include <cstring>

namespace skin {

namespace {
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string lowered(const char* text) {
    std::string out = text ? text : "";
    for (char& c : out) c = lowerAscii(c);
    return out;
}

void lowerInPlace(char* text) {
    for (; *text != '\0'; ++text) *text = lowerAscii(*text);
}

const char* afterModelName(const char* text, const std::string& loweredModelName) {
    if (loweredModelName.empty()) return text;
    const char* found = std::strstr(text, loweredModelName.c_str());
    if (!found) return text;
    const char* end = found + loweredModelName.size();
    return *end == '\0' ? end : end + 1;
}

char* afterModelName(char* text, const std::string& loweredModelName) {
    const char* at = afterModelName(static_cast<const char*>(text), loweredModelName);
    return text + (at - text);
}

}  // namespace skin

std::string relativeTextureName(const char* modelName, const char* gamePath) {
    const std::string name = skin::lowered(modelName);
    std::string path = skin::lowered(gamePath);
    const auto stop = path.find('.');
    if (stop != std::string::npos) path.resize(stop);
    const char* rest = skin::afterModelName(path.c_str(), name);
    return std::string(rest);
}
