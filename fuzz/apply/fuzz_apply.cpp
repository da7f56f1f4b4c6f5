// Arbitrary bytes as a skin applied to an MDS body: the first two bytes
// (little-endian) give the skin's length, the skin's text follows, the rest
// is the body. Each goes through its own in-memory file. The body is loaded,
// the skin applied (one texture attempt per surface: none exist), and the
// accessories and the head loaded from what the skin names. Checks that the
// skin's indexed lookup finds, for every surface, the entry a walk in file
// order finds, and that nothing made on the device outlives the body.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/mds.h"
#include "recording_device.h"
#include "skin/skin.h"

namespace {

// One in-memory file per role, rewritten with each input.
class MemoryFile {
public:
    explicit MemoryFile(const char* name)
        : fd_(::memfd_create(name, 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
    const std::string& hold(const std::uint8_t* data, std::size_t size) const {
        if (fd_ < 0 || ::ftruncate(fd_, 0) != 0 ||
            (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            std::abort();
        return path_;
    }

private:
    int fd_;
    std::string path_;
};

const Skin::Entry* walk(const Skin& skin, const char* key) {
    for (const Skin::Entry& e : skin.entries())
        if (std::strcmp(e.key, key) == 0) return &e;
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::size_t skinSize = static_cast<std::size_t>(data[0]) | static_cast<std::size_t>(data[1]) << 8;
    if (skinSize > size - 2) skinSize = size - 2;
    static const MemoryFile skinFile("skin"), bodyFile("body");
    const std::string& skinPath = skinFile.hold(data + 2, skinSize);
    const std::string& bodyPath = bodyFile.hold(data + 2 + skinSize, size - 2 - skinSize);

    rec::RecordingDevice device;
    {
        MDS body(&device, "fuzz");
        Skin skin("fuzz");
        if (skin.load(skinPath.c_str()) != 1) std::abort();
        if (body.loadFromFile(bodyPath.c_str()) != 1) return 0;
        for (std::uint32_t s = 0; s < body.numSurfaces(); ++s) {
            const std::string name = formats::nameOf(body.surface(s).Name);
            if (skin.find(name.c_str()) != walk(skin, name.c_str())) std::abort();
        }
        if (body.applySkin("/proc/self/fd/none", &skin) != 1) std::abort();
        body.loadAccessories("/proc/self/fd/none", &skin);
        body.loadHead("/proc/self/fd/none", &skin);
        body.setFrame(0);
        body.draw(&device);
    }
    if (device.liveResources() != 0) std::abort();
    return 0;
}
