// Arbitrary bytes as a .skin file (through an in-memory file): the first
// byte picks the model name, the rest is the text. Checks that every entry
// has a value, and that lookup returns the first entry of its key; then the
// same text with the game's rule: entries in line order inside the text,
// each on a line that gives the viewer an entry too (skipping blanks never
// makes an entry).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "skin/names.h"
#include "skin/skin.h"
#include "skin/skin_text.h"

namespace {

const std::string& memoryFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("fuzz_skin", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
    return path;
}

const char* const kModelNames[] = {"Soldier", "", "s", "InfantrySS", "a/b"};
const char* const kKeys[] = {"md3_beltl", "md3_beltr", "md3_back", "md3_part", "md3_hat", "u_body", "h_head", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* modelName = kModelNames[data[0] % (sizeof kModelNames / sizeof kModelNames[0])];
    Skin skin(modelName);
    if (skin.load(memoryFile(data + 1, size - 1).c_str()) != 1) std::abort();
    for (const Skin::Entry& e : skin.entries()) {
        if (e.value[0] == '\0') std::abort();
        if (skin.lookup(e.key) == nullptr) std::abort();
        // The same value cut as a texture name stays inside the value.
        if (relativeTextureName(modelName, e.value).size() > std::strlen(e.value)) std::abort();
    }
    for (const char* key : kKeys) {
        const char* value = skin.lookup(key);
        for (const Skin::Entry& e : skin.entries())
            if (std::strcmp(e.key, key) == 0) {
                if (value != e.value) std::abort();
                break;
            }
    }
    const skin::ParsedSkin game(data + 1, size - 1, modelName, skin::ValueBlanks::Skipped);
    std::uint32_t lastLine = 0;
    std::size_t viewer = 0;
    for (const skin::Entry& e : game.entries()) {
        const std::size_t n = std::strlen(e.value);
        if (e.line <= lastLine || e.offset >= size - 1 || n == 0) std::abort();
        while (viewer < skin.entries().size() && skin.entries()[viewer].line < e.line) ++viewer;
        if (viewer == skin.entries().size() || skin.entries()[viewer].line != e.line) std::abort();
        lastLine = e.line;
    }
    return 0;
}
