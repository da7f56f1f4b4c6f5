// The body model on the recording device: loadFromFile of a large synthetic
// body, setFrame (skeleton evaluation plus skinning of every surface) and
// the two together over every frame.
//
//   build/bin/bench_model --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/mds.h"
#include "modelgen/samples.h"
#include "recording_device.h"

namespace {

struct BodyFile {
    BodyFile(int surfaces, int vertices, int weights, int bones, int frames)
        : path((std::filesystem::temp_directory_path() /
                ("bench_body_" + std::to_string(surfaces) + "x" + std::to_string(vertices) + ".mds"))
                   .string()),
          weightsPerFrame(static_cast<std::int64_t>(surfaces) * vertices * weights),
          frames(frames) {
        mg::writeFile(path, mg::writeMds(mg::syntheticMds(surfaces, vertices, weights, bones, frames)).bytes);
    }
    ~BodyFile() { std::filesystem::remove(path); }
    std::string path;
    std::int64_t weightsPerFrame;
    int frames;
};

// A body on its own recording device. The device keeps every buffer it ever
// made, so benchmarks start a fresh one now and then.
struct LoadedBody {
    explicit LoadedBody(const BodyFile& file) : mds(&device, "bench") { loaded = mds.loadFromFile(file.path.c_str()) == 1; }
    rec::RecordingDevice device;
    MDS mds;
    bool loaded = false;
};

void BM_LoadFromFile(benchmark::State& state, int surfaces, int vertices) {
    const BodyFile file(surfaces, vertices, 3, 60, 300);
    for (auto _ : state) {
        state.PauseTiming();
        auto device = std::make_unique<rec::RecordingDevice>();
        auto mds = std::make_unique<MDS>(device.get(), "bench");
        state.ResumeTiming();
        if (mds->loadFromFile(file.path.c_str()) != 1) state.SkipWithError("load failed");
        state.PauseTiming();
        mds.reset();  // before the device: it releases into the device
        device.reset();
        state.ResumeTiming();
    }
}

void BM_SetFrame(benchmark::State& state, int surfaces, int vertices) {
    const BodyFile file(surfaces, vertices, 3, 60, 300);
    auto body = std::make_unique<LoadedBody>(file);
    if (!body->loaded) state.SkipWithError("load failed");
    std::uint32_t frame = 0;
    std::int64_t calls = 0;
    for (auto _ : state) {
        if (body->mds.setFrame(frame) != 1) state.SkipWithError("setFrame failed");
        frame = (frame + 1) % static_cast<std::uint32_t>(file.frames);
        if (++calls % 2000 == 0) {
            state.PauseTiming();
            body.reset();
            body = std::make_unique<LoadedBody>(file);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(calls * file.weightsPerFrame);  // weight transforms
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Load, then every frame once: what stepping through a whole animation costs.
void BM_LoadAndEveryFrame(benchmark::State& state) {
    const BodyFile file(20, 1000, 3, 60, 300);
    for (auto _ : state) {
        LoadedBody body(file);
        if (!body.loaded) state.SkipWithError("load failed");
        for (int f = 0; f < file.frames; ++f)
            if (body.mds.setFrame(static_cast<std::uint32_t>(f)) != 1) state.SkipWithError("setFrame failed");
    }
    state.SetItemsProcessed(state.iterations() * file.frames * file.weightsPerFrame);
}

BENCHMARK_CAPTURE(BM_LoadFromFile, body_5x1000, 5, 1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadFromFile, body_20x1000, 20, 1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SetFrame, body_5x1000, 5, 1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFrame, body_20x1000, 20, 1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAndEveryFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
