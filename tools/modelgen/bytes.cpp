#include "modelgen/bytes.h"

#include <fstream>

#include "platform/sys/path.h"

namespace mg {

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(sys::fsPath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool writeFile(const std::string& path, const std::string& text) {
    return writeFile(path, Bytes(text.begin(), text.end()));
}

}  // namespace mg
