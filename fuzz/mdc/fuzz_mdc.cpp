// Arbitrary bytes as an MDC file: load (through an in-memory file), every
// frame the header names up to a few, draw, and both texture operations, on
// the recording device. A loaded model's buffers must match its surfaces.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/mdc.h"
#include "recording_device.h"
#include "common/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzzing::memoryFile(data, size);
    rec::RecordingDevice device;
    MDC model(&device);
    if (model.loadFromFile(path.c_str()) != 1) {
        if (model.loaded() || !device.resources.empty()) std::abort();
        return 0;
    }
    const auto frames = static_cast<std::uint32_t>(model.header().NumFrames);
    for (std::uint32_t f = 1; f < frames && f < 4; ++f) model.setFrame(f);
    if (model.setFrame(frames) != -2) std::abort();
    model.draw(&device);
    // Every index drawn names a vertex of its own surface.
    for (const rec::Draw& d : device.draws) {
        if (!d.indexed) continue;
        if (d.numVertices == 0) std::abort();
        for (WORD index : d.indices->indices())
            if (index >= d.numVertices || std::size_t{index} * 24 >= d.stream->data.size()) std::abort();
    }
    // Texture paths below a folder that does not exist: every attempt fails.
    model.loadShaderTextures("Fuzz", "/nonexistent-kv-fuzz");
    model.applySkin("/nonexistent-kv-fuzz", nullptr);
    model.draw(&device);
    return 0;
}
