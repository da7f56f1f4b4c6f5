// Arbitrary bytes as an MDS body: load (through an in-memory file), then
// every frame up to 64, each followed by a draw, on the recording device. A
// refused file leaves nothing loaded and nothing made on the device; every
// frame below NumFrames can be shown.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/mds.h"
#include "recording_device.h"
#include "common/memory_file.h"

namespace {

constexpr std::uint32_t kMaxFrames = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzzing::memoryFile(data, size);
    rec::RecordingDevice device;
    MDS model(&device, "fuzz");
    if (model.loadFromFile(path.c_str()) != 1) {
        if (model.loaded() || device.liveResources() != 0) std::abort();
        return 0;
    }
    // Every index buffer holds three indices per triangle of its surface.
    // (Indices that name no vertex are kept as stored: the device refuses
    // such a draw, the model does not.)
    for (std::uint32_t s = 0; s < model.numSurfaces(); ++s) {
        const auto* ib = static_cast<const rec::IndexBuffer*>(model.indexBuffer(s));
        if (ib && ib->indices().size() != 3 * static_cast<std::size_t>(model.surface(s).NumTriangles)) std::abort();
    }
    const std::uint32_t frames = model.numFrames();
    for (std::uint32_t f = 0; f < frames && f < kMaxFrames; ++f) {
        if (model.setFrame(f) != 1) std::abort();
        model.draw(&device);
    }
    if (model.setFrame(frames) != -2) std::abort();
    model.meshVisible = false;
    model.draw(&device);
    return 0;
}
