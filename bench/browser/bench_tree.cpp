// resolve + the whole structure tree (every frame filled) of a large
// synthetic model into a sink that only counts nodes; the tree that
// "Load New" builds of an 8 MB body, into that sink and into the store the
// dialog's tree view keeps its nodes in.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "browser/mds_file.h"
#include "browser/store_tree.h"
#include "browser/tree_builder.h"
#include "modelgen/samples.h"

namespace {

class CountingSink : public browser::TreeSink {
public:
    browser::TreeNode appendChild(browser::TreeNode, const char* label, int frameNumber, bool) override {
        ++nodes;
        bytes += label[0];
        if (frameNumber != -1) frames.push_back({reinterpret_cast<browser::TreeNode>(nodes), frameNumber});
        return reinterpret_cast<browser::TreeNode>(nodes);
    }
    browser::TreeNode appendLast(browser::TreeNode p, const char* label) override { return appendChild(p, label, -1, false); }
    void progressRange(int, int) override {}
    void progressPos(int) override {}
    std::int64_t nodes = 0;
    std::int64_t bytes = 0;
    std::vector<std::pair<browser::TreeNode, int>> frames;
};

void BM_ResolveAndFullTree(benchmark::State& state) {
    const auto image = mg::writeMds(mg::syntheticMds(20, 1000, 3, 60, 300)).bytes;
    browser::MdsFile model;
    model.adopt(image.data(), static_cast<std::uint32_t>(image.size()));
    std::int64_t total = 0;
    for (auto _ : state) {
        model.adopt(image.data(), static_cast<std::uint32_t>(image.size()));
        if (!model.resolve()) state.SkipWithError("resolve failed");
        CountingSink sink;
        sink.frames.reserve(300);
        if (!browser::toTreeView(model, nullptr, sink)) state.SkipWithError("tree failed");
        for (auto [node, k] : sink.frames) browser::fillFrame(model, sink, node, k);
        benchmark::DoNotOptimize(sink.bytes);
        total += sink.nodes;
    }
    state.counters["nodes"] = benchmark::Counter(static_cast<double>(total) / static_cast<double>(state.iterations()));
    state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResolveAndFullTree)->Unit(benchmark::kMillisecond);

// Argument 0: the counting sink; 1: the tree view's store.
void BM_LoadTreeOf8MBBody(benchmark::State& state) {
    static const auto image = mg::writeMds(mg::syntheticMds(25, 4000, 2, 70, 10)).bytes;
    browser::MdsFile model;
    std::size_t held = 0;
    for (auto _ : state) {
        model.adopt(image.data(), static_cast<std::uint32_t>(image.size()));
        if (!model.resolve()) state.SkipWithError("resolve failed");
        if (state.range(0) == 0) {
            CountingSink sink;
            if (!browser::toTreeView(model, nullptr, sink)) state.SkipWithError("tree failed");
        } else {
            browser::StoreTree tree("body.mds");
            if (!browser::toTreeView(model, tree.root(), tree)) state.SkipWithError("tree failed");
            held = tree.store().bytesHeld();
        }
    }
    state.counters["MB"] = static_cast<double>(image.size()) / 1e6;
    state.counters["held_per_byte"] = static_cast<double>(held) / static_cast<double>(image.size());
}
BENCHMARK(BM_LoadTreeOf8MBBody)->ArgName("store")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
