// Lookups in 50 archives of 2,000 members each (the last archive overriding
// every tenth name of the others): the merged directory index alone, the
// whole open-size-read-close of a member, the same of a loose file, and the
// cold start (listing the folder and indexing all 50 archives). With the
// model library: a body loaded from an archive versus from disk.
//
//   build/bin/bench_pk3 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/sys/archive_index.h"
#include "platform/sys/sys.h"

#ifdef KV_BENCH_MODEL
#include "model/mds.h"
#include "modelgen/samples.h"
#include "recording_device.h"
#endif

namespace {

constexpr int kArchives = 50;
constexpr int kMembers = 2000;

std::string memberName(int archive, int member) {
    char name[64];
    std::snprintf(name, sizeof name, "models/players/p%02d/m%04d.txt", archive, member);
    return name;
}

bool writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& members) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (z == nullptr) return false;
    for (const auto& [name, data] : members) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        const zip_int64_t i = src ? zip_file_add(z, name.c_str(), src, 0) : -1;
        if (i < 0) {
            zip_discard(z);
            return false;
        }
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 0);
    }
    return zip_close(z) == 0;
}

// The game folder: <tmp>/bench_pk3/main/pakNN.pk3 and a loose copy of a
// few members under <tmp>/bench_pk3/loose.
struct Game {
    Game() : root((std::filesystem::temp_directory_path() / "bench_pk3").string()) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root + "/main");
        for (int a = 0; a < kArchives; ++a) {
            std::vector<std::pair<std::string, std::string>> members;
            for (int m = 0; m < kMembers; ++m) {
                const int owner = a == kArchives - 1 && m % 10 == 0 ? m % (kArchives - 1) : a;
                members.emplace_back(memberName(owner, m), "member " + std::to_string(a) + "/" + std::to_string(m));
            }
            char name[32];
            std::snprintf(name, sizeof name, "/main/pak%02d.pk3", a);
            ok &= writeZip(root + name, members);
        }
        for (int m = 0; m < 100; ++m) {
            const std::string path = root + "/loose/" + memberName(0, m);
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            std::ofstream(path) << "member 0/" << m;
        }
        std::mt19937 rng(7);
        for (int i = 0; i < 4096; ++i) {
            int a = static_cast<int>(rng() % kArchives);
            const int m = static_cast<int>(rng() % kMembers);
            if (a == kArchives - 1 && m % 10 == 0) a = m % (kArchives - 1);  // that name is another archive's
            keys.push_back(memberName(a, m));
        }
    }
    ~Game() { std::filesystem::remove_all(root); }
    std::string root;
    std::vector<std::string> keys;  // random members, lower-case already
    bool ok = true;
};

const Game& game() {
    static const Game g;
    return g;
}

void BM_IndexLookup(benchmark::State& state) {
    const Game& g = game();
    const sys::archive::ArchiveSet* set = sys::archive::archivesOf(g.root + "/main");
    if (!g.ok || set == nullptr || set->archiveCount() != kArchives) return state.SkipWithError("no archives");
    std::size_t i = 0, found = 0;
    sys::archive::MemberRef ref;
    for (auto _ : state) {
        found += set->find(g.keys[i++ & 4095], ref);
        benchmark::DoNotOptimize(ref.index);
    }
    if (found != static_cast<std::size_t>(state.iterations())) state.SkipWithError("a member was not found");
    state.SetItemsProcessed(state.iterations());
}

void readWhole(benchmark::State& state, const std::string& path) {
    sys::File f = sys::openForReading(path.c_str());
    const std::uint32_t size = sys::fileSize(f);
    char buf[64];
    if (!f.valid() || size > sizeof buf || sys::readFile(f, buf, size) != size) state.SkipWithError(path.c_str());
    sys::closeFile(f);
}

void BM_OpenMember(benchmark::State& state) {
    const Game& g = game();
    std::size_t i = 0;
    for (auto _ : state) readWhole(state, g.root + "/main/" + g.keys[i++ & 4095]);
    state.SetItemsProcessed(state.iterations());
}

void BM_OpenLooseFile(benchmark::State& state) {
    const Game& g = game();
    int m = 0;
    for (auto _ : state) readWhole(state, g.root + "/loose/" + memberName(0, m++ % 100));
    state.SetItemsProcessed(state.iterations());
}

void BM_ColdIndex(benchmark::State& state) {
    const Game& g = game();
    for (auto _ : state) {
        sys::archive::forgetArchives();
        readWhole(state, g.root + "/main/" + g.keys[0]);
    }
}

#ifdef KV_BENCH_MODEL
void BM_LoadBody(benchmark::State& state, bool fromArchive) {
    // The body in a folder of its own and in an archive of its own, so that
    // only the member's inflating is measured, not the 50 archives' index.
    static const std::string root = [] {
        const std::string r = game().root + "/body";
        const mg::Bytes body = mg::writeMds(mg::syntheticMds(20, 1000, 3, 60, 300)).bytes;
        const std::string disk = r + "/disk/models/players/big/body.mds";
        std::filesystem::create_directories(std::filesystem::path(disk).parent_path());
        std::filesystem::create_directories(r + "/main");
        std::ofstream(disk, std::ios::binary)
            .write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
        writeZip(r + "/main/pak0.pk3", {{"models/players/big/body.mds", std::string(body.begin(), body.end())}});
        return r;
    }();
    const std::string path = root + (fromArchive ? "/main" : "/disk") + "/models/players/big/body.mds";
    for (auto _ : state) {
        rec::RecordingDevice device;
        MDS mds(&device, "bench");
        if (mds.loadFromFile(path.c_str()) != 1) state.SkipWithError("load failed");
    }
}
BENCHMARK_CAPTURE(BM_LoadBody, disk, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBody, archive, true)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_IndexLookup);
BENCHMARK(BM_OpenMember)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenLooseFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
