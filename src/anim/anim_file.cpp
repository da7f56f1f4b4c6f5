// Reading the config file whole through the system layer (so letter case
// and .pk3 archives resolve as for every model file), refusing files larger
// than the game accepts before reading them.
#include <new>

#include "anim/anim_config.h"
#include "platform/sys/sys.h"

namespace anim {

bool loadConfig(const char* path, const std::string& shownName, Config& config, std::string& error) {
    config = Config{};
    sys::File file = sys::openForReading(path);
    if (!file.valid()) {
        error = shownName + ": no such file";
        return false;
    }
    const std::uint32_t size = sys::fileSize(file);
    if (size == sys::kInvalidFileSize) {
        error = shownName + ": cannot read its size";
        return false;
    }
    if (size > kMaxFileBytes) {
        error = shownName + ": " + std::to_string(size) + " bytes, more than the " + std::to_string(kMaxFileBytes) +
                " the game reads";
        return false;
    }
    std::string text;
    try {
        text.resize(size);
    } catch (const std::bad_alloc&) {
        error = shownName + ": no memory for " + std::to_string(size) + " bytes";
        return false;
    }
    if (size > 0 && sys::readFile(file, text.data(), size) != size) {
        error = shownName + ": read fewer bytes than its size";
        return false;
    }
    sys::closeFile(file);
    return parseConfig(text, shownName, config, error);
}

}  // namespace anim
