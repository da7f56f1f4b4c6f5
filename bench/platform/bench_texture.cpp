// The texture loader on the recording device: D3DXCreateTextureFromFileA of
// 512 × 512 images (TGA uncompressed and RLE, JPEG), and the decoding on its
// own so the cost of the mipmap chain and the fill shows as the difference.
// The images are written here with stb_image_write into the temp folder.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d8/d3dx8.h"
#include "platform/d3d8/image_decode.h"
#include "recording_device.h"

namespace {

constexpr int kSide = 512;

// Smooth gradients with a little noise, like a painted skin texture. Every
// aligned group of four pixels in a row is one colour, so RLE finds short
// runs, and JPEG still has detail to code.
std::vector<std::uint8_t> skinLikePixels(int channels) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(kSide) * kSide * channels);
    std::uint32_t seed = 12345u;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            if (x % 4 == 0) seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>((seed >> 24) & 7u) - 3;
            const int band = (x / 32 + y / 32) % 2 == 0 ? 0 : 40;
            std::uint8_t* p = &px[(static_cast<std::size_t>(y) * kSide + x) * channels];
            p[0] = static_cast<std::uint8_t>(std::clamp(120 + x / 8 + noise + band, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(90 + y / 8 + noise, 0, 255));
            const int wave = static_cast<int>(40 * std::sin((x / 4) * 0.2));
            p[2] = static_cast<std::uint8_t>(std::clamp(60 + wave + noise, 0, 255));
            if (channels == 4) p[3] = 255;
        }
    return px;
}

enum class Kind { Tga, TgaRle, Jpeg };

struct ImageFile {
    explicit ImageFile(Kind kind) {
        const char* name = kind == Kind::Jpeg  ? "bench_texture.jpg"
                           : kind == Kind::Tga ? "bench_texture.tga"
                                               : "bench_texture_rle.tga";
        path = (std::filesystem::temp_directory_path() / name).string();
        if (kind == Kind::Jpeg) {
            const auto px = skinLikePixels(3);
            ok = stbi_write_jpg(path.c_str(), kSide, kSide, 3, px.data(), 90) != 0;
        } else {
            const auto px = skinLikePixels(4);
            stbi_write_tga_with_rle = kind == Kind::TgaRle ? 1 : 0;
            ok = stbi_write_tga(path.c_str(), kSide, kSide, 4, px.data()) != 0;
            stbi_write_tga_with_rle = 1;
        }
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ok = ok && !bytes.empty();
    }
    ~ImageFile() { std::filesystem::remove(path); }
    std::string path;
    std::vector<std::uint8_t> bytes;
    bool ok = false;
};

void BM_CreateTextureFromFile(benchmark::State& state, Kind kind) {
    const ImageFile file(kind);
    if (!file.ok) state.SkipWithError("cannot write the image");
    // The recording device keeps every texture it made; start a fresh one
    // every few loads so memory stays flat.
    auto device = std::make_unique<rec::RecordingDevice>();
    int made = 0;
    for (auto _ : state) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(D3DXCreateTextureFromFileA(device.get(), file.path.c_str(), &texture))) {
            state.SkipWithError("load failed");
            break;
        }
        texture->Release();
        if (++made == 16) {
            state.PauseTiming();
            device = std::make_unique<rec::RecordingDevice>();
            made = 0;
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes.size()));
    state.counters["file_kB"] = static_cast<double>(file.bytes.size()) / 1024.0;
}
BENCHMARK_CAPTURE(BM_CreateTextureFromFile, tga, Kind::Tga)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CreateTextureFromFile, tga_rle, Kind::TgaRle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CreateTextureFromFile, jpeg, Kind::Jpeg)->Unit(benchmark::kMillisecond);

void BM_DecodeImage(benchmark::State& state, Kind kind) {
    const ImageFile file(kind);
    if (!file.ok) state.SkipWithError("cannot write the image");
    for (auto _ : state) {
        d3dx::RgbaImage image;
        if (!d3dx::decodeImage(file.bytes.data(), file.bytes.size(), &image)) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes.size()));
}
BENCHMARK_CAPTURE(BM_DecodeImage, tga, Kind::Tga)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeImage, tga_rle, Kind::TgaRle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeImage, jpeg, Kind::Jpeg)->Unit(benchmark::kMillisecond);

}  // namespace
