// Loads 2048 x 2048 24-bit pictures from files in the page cache. Throughput counts the
// decoded picture (12 MiB per load).
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <benchmark/benchmark.h>

namespace zel::test {
namespace {

constexpr int side = 2048;

// Terrain-like: smooth bands that repeat in runs, with a noisy stretch in every row.
Bytes groundPicture() {
    Bytes pixels;
    pixels.reserve(side * side * 3);
    unsigned noise = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            noise = noise * 1103515245u + 12345u;
            const bool noisy = x % 256 < 96;
            for (int c = 0; c < 3; ++c)
                pixels.push_back(static_cast<unsigned char>(noisy ? noise >> (8 + 8 * c)
                                                                  : (x / 16 + y / 8 + c * 40)));
        }
    return pixels;
}

void loadFileRepeatedly(benchmark::State& state, const Bytes& file) {
    const ScratchDirectory scratch;
    const auto path = (scratch.path() / "bench.tga");
    writeFile(path, file);
    TgaImage image;
    for (auto _ : state) {
        if (image.loadFile(path.c_str()) != TgaStatus::Success) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * side * side * 3);
    state.counters["file_MiB"] = static_cast<double>(file.size()) / (1 << 20);
}

void LoadRaw24(benchmark::State& state) {
    static const Bytes file = tgaFile(trueColourHeader(side, side), {}, groundPicture());
    loadFileRepeatedly(state, file);
}

void LoadRunLength24(benchmark::State& state) {
    static const Bytes file =
        tgaFile(trueColourHeader(side, side, 24, 0, true), {}, encodeRunLength(groundPicture(), 3));
    loadFileRepeatedly(state, file);
}

// Only run packets of 128: the decoder's replicating loop at its busiest.
void LoadRunLength24AllRuns(benchmark::State& state) {
    static const Bytes file = [] {
        Bytes packets;
        for (int i = 0; i < side * side / 128; ++i)
            packets.insert(packets.end(), {0xff, static_cast<unsigned char>(i), 80, 160});
        return tgaFile(trueColourHeader(side, side, 24, 0, true), {}, packets);
    }();
    loadFileRepeatedly(state, file);
}

BENCHMARK(LoadRaw24)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadRunLength24)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadRunLength24AllRuns)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zel::test

BENCHMARK_MAIN();
