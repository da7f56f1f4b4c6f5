// One run of the viewer with a fault armed: start-up, model assembly of the
// demo player, ten frames (setFrame + render) and shutdown, on the fake shell
// and the recording device. The outcome describes what loaded, what the last
// frame drew, the error lines of the log and what was left on the device.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/sys/faults.h"
#include "recording_device.h"

namespace faults {

// The device's fail switches, by name, in the order the matrix prints them.
enum class DeviceCall : int {
    CreateVertexBuffer,
    CreateIndexBuffer,
    CreateTexture,
    LockVertexBuffer,
    UnlockVertexBuffer,
    LockIndexBuffer,
    UnlockIndexBuffer,
    LockTexture,
    UnlockTexture,
    Count
};
const char* name(DeviceCall call);
const char* name(sys::Step step);
rec::FailSwitch& failSwitch(rec::RecordingDevice& device, DeviceCall call);

struct Arming {
    // Before start-up: the Direct3D object and device creation.
    std::function<void(rec::ScopedRecordingDirect3D&)> beforeStart;
    // After start-up, before the assembly: device switches and states. The
    // device's switch counters already hold the start-up's calls.
    std::function<void(rec::RecordingDevice&)> afterStart;
    // System-layer faults, installed after start-up (counters start there).
    bool useSys = false;
    sys::Faults sysFaults;
};

struct Outcome {
    // "body", "body.s2.vb", "body.s2.ib", "body.s2.tex", "body.skeleton",
    // "head", "head.s0.vb", ... : what is there after the last frame.
    std::set<std::string> items;
    // Items with a vertex and an index buffer that the last frame did not draw.
    std::vector<std::string> undrawn;
    std::vector<std::string> errors;  // text of every ERROR line, in order
    std::string log;
    int lastFrameDraws = 0;
    int liveAfterShutdown = -1;  // -1: no device was made
    std::array<std::uint32_t, static_cast<int>(sys::Step::Count)> sysCalls{};
    std::array<unsigned, static_cast<int>(DeviceCall::Count)> deviceCalls{};  // after start-up
    double milliseconds = 0;
};

// Writes the demo player once per process; returns the base directory
// that holds models/players/infantryss.
const std::string& playerBase();

Outcome run(const Arming& arming);

// The error lines of `faulted` that `clean` does not have (multiset).
std::vector<std::string> newErrors(const Outcome& clean, const Outcome& faulted);
// Items of `clean` missing from `faulted`.
std::vector<std::string> lost(const Outcome& clean, const Outcome& faulted);
// Whether the lost items all hang on one thing that failed: the body, one
// attached model, one skin file's dependants, or a single item.
bool lossIsContained(const std::vector<std::string>& lostItems);

}  // namespace faults
