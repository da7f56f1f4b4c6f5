#include "modelgen/bytes.h"

#include <algorithm>
#include <fstream>

namespace mg {

void writeName(char (&field)[64], const std::string& name) {
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, name.data(), std::min<std::size_t>(name.size(), sizeof(field)));
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool writeFile(const std::string& path, const std::string& text) {
    return writeFile(path, Bytes(text.begin(), text.end()));
}

}  // namespace mg
