// Every format's reader over one large generated file each: the index a
// viewer or a tree asks for (Reader::Draw or Print, first fatal finding)
// and the full walk of the checker (every finding collected). Reported as
// bytes and records per second; the files are about the size of the
// largest the game ships.
//
//   build/bin/bench_formats --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>

#include "formats/diagnostics.h"
#include "formats/md3_index.h"
#include "formats/mdc_index.h"
#include "formats/mdm_index.h"
#include "formats/mds_index.h"
#include "formats/mdx_index.h"
#include "modelgen/data_sets.h"
#include "modelgen/mds_writer.h"
#include "modelgen/samples.h"

namespace {

struct Sample {
    mg::Bytes bytes;
    std::int64_t records;  // vertices x frames, or bones x frames: what the walk visits most
};

const Sample& mds() {
    static const Sample s{mg::writeMds(mg::syntheticMds(20, 1000, 3, 60, 200)).bytes, 20 * 1000 + 60 * 200};
    return s;
}
const Sample& mdc() {
    static const Sample s{mg::largeMdc(20000), 2 * 3 * 20000};
    return s;
}
const Sample& md3() {
    static const Sample s{mg::largeMd3(2000), 2000 * 4};
    return s;
}
const Sample& mdm() {
    static const Sample s{mg::largeMdm(10, 2800, 53), 10 * 2800};
    return s;
}
const Sample& mdx() {
    static const Sample s{mg::largeMdx(53, 4887), 53 * 4887};
    return s;
}

formats::ByteView view(const Sample& s) { return formats::ByteView(s.bytes.data(), s.bytes.size()); }

template <typename Index>
void run(benchmark::State& state, const Sample& sample, const std::function<Index(formats::ByteView)>& read) {
    for (auto _ : state) {
        Index index = read(view(sample));
        benchmark::DoNotOptimize(index);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample.bytes.size()));
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(sample.records), benchmark::Counter::kIsIterationInvariantRate);
}

template <typename Index>
std::function<Index(formats::ByteView)> walked(Index (*index)(formats::ByteView, formats::Report&)) {
    return [index](formats::ByteView bytes) {
        formats::Report report;
        report.beginFile("bench");
        return index(bytes, report);
    };
}

void MdsDraw(benchmark::State& st) {
    run<formats::MdsIndex>(st, mds(), [](formats::ByteView b) { return formats::indexMds(b, formats::Reader::Draw); });
}
void MdsWalk(benchmark::State& st) {
    run<formats::MdsIndex>(st, mds(), walked<formats::MdsIndex>(&formats::indexMds));
}
void MdcDraw(benchmark::State& st) {
    run<formats::MdcIndex>(st, mdc(), [](formats::ByteView b) { return formats::indexMdc(b, formats::Reader::Draw); });
}
void MdcWalk(benchmark::State& st) { run<formats::MdcIndex>(st, mdc(), walked<formats::MdcIndex>(&formats::indexMdc)); }
void Md3Print(benchmark::State& st) {
    run<formats::Md3Index>(st, md3(), [](formats::ByteView b) { return formats::indexMd3(b, formats::Reader::Print); });
}
void Md3Walk(benchmark::State& st) { run<formats::Md3Index>(st, md3(), walked<formats::Md3Index>(&formats::indexMd3)); }
void MdmPrint(benchmark::State& st) {
    run<formats::MdmIndex>(st, mdm(), [](formats::ByteView b) { return formats::indexMdm(b, formats::Reader::Print); });
}
void MdmWalk(benchmark::State& st) { run<formats::MdmIndex>(st, mdm(), walked<formats::MdmIndex>(&formats::indexMdm)); }
void MdxPrint(benchmark::State& st) {
    run<formats::MdxIndex>(st, mdx(), [](formats::ByteView b) { return formats::indexMdx(b, formats::Reader::Print); });
}
void MdxWalk(benchmark::State& st) { run<formats::MdxIndex>(st, mdx(), walked<formats::MdxIndex>(&formats::indexMdx)); }

BENCHMARK(MdsDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(MdsWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(MdcDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(MdcWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(Md3Print)->Unit(benchmark::kMillisecond);
BENCHMARK(Md3Walk)->Unit(benchmark::kMillisecond);
BENCHMARK(MdmPrint)->Unit(benchmark::kMillisecond);
BENCHMARK(MdmWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(MdxPrint)->Unit(benchmark::kMillisecond);
BENCHMARK(MdxWalk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
