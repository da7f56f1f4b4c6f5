// Reading the config file whole through the system layer (so letter case
// and .pk3 archives resolve as for every model file), refusing files larger
// than the game accepts before reading them.
#include "anim/anim_config.h"
#include "platform/sys/whole_file.h"

namespace anim {

bool loadConfig(const char* path, const std::string& shownName, Config& config, std::string& error) {
    config = Config{};
    const sys::WholeFile file = sys::readWholeFile(path, kMaxFileBytes);
    switch (file.failed) {
    case sys::ReadStep::Done:
    case sys::ReadStep::Memory:
        if (file.failed == sys::ReadStep::Done || file.size == 0) break;
        error = shownName + ": no memory for " + std::to_string(file.size) + " bytes";
        return false;
    case sys::ReadStep::Open: error = shownName + ": no such file"; return false;
    case sys::ReadStep::Size: error = shownName + ": cannot read its size"; return false;
    case sys::ReadStep::TooLarge:
        error = shownName + ": " + std::to_string(file.size) + " bytes, more than the " +
                std::to_string(kMaxFileBytes) + " the game reads";
        return false;
    case sys::ReadStep::Read: error = shownName + ": read fewer bytes than its size"; return false;
    }
    const std::string text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    return parseConfig(text, shownName, config, error);
}

}  // namespace anim
