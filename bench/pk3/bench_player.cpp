// The whole demo player (body, skins, textures, belt pieces, pack, head,
// hat) assembled by the viewer's entry steps on the recording device, from
// loose files and from one pak0.pk3 holding the same files.
#include <benchmark/benchmark.h>

#include "player_assembly.h"
#include "scoped_log.h"

namespace {

void BM_AssemblePlayer(benchmark::State& state, bool fromArchive) {
    testing_support::TempDir loose, packed;
    std::string error;
    if (!pk3_fixture::writePlayerBothWays(loose.path(), packed.path(), &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::string dir = fromArchive ? packed.path() : loose.path();
    for (auto _ : state) {
        const pk3_fixture::Assembly a = pk3_fixture::assembleIn(dir);
        if (a.report.find("ERROR") != std::string::npos) state.SkipWithError("the player did not load cleanly");
        benchmark::DoNotOptimize(a.report.size());
    }
}
BENCHMARK_CAPTURE(BM_AssemblePlayer, disk, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AssemblePlayer, archive, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
