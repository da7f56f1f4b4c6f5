// D3DX math throughput: matrix products and point transforms over arrays
// large enough to leave the loop overhead behind but small enough for L1.
//
//   build/bin/bench_platform --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/d3d8/d3dx8.h"

namespace {

constexpr int kCount = 256;

std::vector<D3DXMATRIX> someMatrices() {
    std::vector<D3DXMATRIX> out(kCount);
    for (int i = 0; i < kCount; ++i) {
        D3DXMATRIX r, t;
        const D3DXVECTOR3 axis(std::sin(i * 0.1f), 1.0f, std::cos(i * 0.3f));
        D3DXMatrixRotationAxis(&r, &axis, i * 0.01f);
        D3DXMatrixTranslation(&t, i * 0.5f, -i * 0.25f, 3.0f);
        D3DXMatrixMultiply(&out[i], &r, &t);
    }
    return out;
}

void BM_MatrixMultiply(benchmark::State& state) {
    const std::vector<D3DXMATRIX> a = someMatrices();
    std::vector<D3DXMATRIX> out(kCount);
    D3DXMATRIX b;
    D3DXMatrixRotationY(&b, 0.7f);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) D3DXMatrixMultiply(&out[i], &a[i], &b);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_MatrixMultiply);

// Chained in place, as the skeleton does down a bone hierarchy.
void BM_MatrixMultiplyAliased(benchmark::State& state) {
    const std::vector<D3DXMATRIX> a = someMatrices();
    for (auto _ : state) {
        D3DXMATRIX acc;
        D3DXMatrixIdentity(&acc);
        for (int i = 0; i < kCount; ++i) D3DXMatrixMultiply(&acc, &acc, &a[i]);
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_MatrixMultiplyAliased);

void BM_Vec3TransformCoord(benchmark::State& state) {
    std::vector<D3DXVECTOR3> in(kCount), out(kCount);
    for (int i = 0; i < kCount; ++i) in[i] = D3DXVECTOR3(i * 0.5f, std::sin(i * 0.2f), -i * 0.125f);
    D3DXMATRIX view, projection, both;
    D3DXMatrixTranslation(&view, 0.0f, -40.0f, 80.0f);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 500.0f);
    D3DXMatrixMultiply(&both, &view, &projection);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) D3DXVec3TransformCoord(&out[i], &in[i], &both);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Vec3TransformCoord);

}  // namespace
