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

std::string shaderGamePath(const char* shader) {
    std::string path = skin::lowered(shader);
    if (const auto stop = path.find('.'); stop != std::string::npos) path.resize(stop);
    return path;
}

std::string relativeTextureName(const char* modelName, const char* gamePath) {
    const std::string path = shaderGamePath(gamePath);
    return std::string(skin::afterModelName(path.c_str(), skin::lowered(modelName)));
}
