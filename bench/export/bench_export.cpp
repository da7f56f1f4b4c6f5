// Exporting a body the size of a shipped one (mkmodel's "body": 70 bones,
// 5,400 frames, 16 surfaces of 250 vertices, 5.2 MB) with every frame as
// one clip: reading it into an asset, choosing the bind frame, and the
// whole export to .glb bytes in memory. Counters: the input's bytes per
// second and the output's size over the input's.
//
//   build/bin/bench_export --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>

#include "export/bind_pose.h"
#include "export/gltf_build.h"
#include "export/load_model.h"
#include "modelgen/samples.h"
#include "platform/sys/sys.h"

namespace {

const mg::Bytes& body() {
    static const mg::Bytes bytes = mg::largeBody();
    return bytes;
}

exporter::Asset load() {
    const mg::Bytes& bytes = body();
    auto* block = static_cast<std::uint8_t*>(sys::allocateBlock(bytes.size()));
    std::memcpy(block, bytes.data(), bytes.size());
    exporter::Asset asset;
    std::string error;
    exporter::addMds(asset, std::make_shared<sys::Block>(block, static_cast<std::uint32_t>(bytes.size())), "body",
                     error);
    exporter::Clip all;
    all.name = "frames";
    all.numFrames = asset.numFrames();
    asset.clips.push_back(all);
    return asset;
}

void perInput(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body().size()));
}

void BM_ReadBody(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(load());
    perInput(state);
}
BENCHMARK(BM_ReadBody)->Unit(benchmark::kMillisecond);

void BM_ChooseBindFrame(benchmark::State& state) {
    const exporter::Asset asset = load();
    for (auto _ : state) benchmark::DoNotOptimize(exporter::chooseBindFrame(asset));
    perInput(state);
}
BENCHMARK(BM_ChooseBindFrame)->Unit(benchmark::kMillisecond);

void BM_ExportBodyAllFramesToGlb(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) {
        const exporter::Asset asset = load();
        tinygltf::Model model;
        exporter::ExportReport report;
        std::string error;
        exporter::buildGltf(asset, exporter::ExportOptions(), model, report, error);
        std::ostringstream out;
        tinygltf::TinyGLTF().WriteGltfSceneToStream(&model, out, false, true);
        size = out.str().size();
    }
    perInput(state);
    state.counters["output/input"] = static_cast<double>(size) / static_cast<double>(body().size());
}
BENCHMARK(BM_ExportBodyAllFramesToGlb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
