// Building the blend tables: the library's BuildBlendTables against the straightforward search
// (17 x 65,536 nearest-colour searches over colours 0..254), on the demo bank's palette and on a
// palette of random colours. Both must give the same bytes; the run stops when they do not.
#include "ColourTables.h"
#include "Pcx.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

// The straightforward version: each entry by its own search, the blend in single precision.
void buildBlendTablesStraightforward(const PalettePlanes& palette, BlendTables& tables)
{
    for (int j = 0; j <= 16; ++j) {
        const float t = static_cast<float>(j) / 16.0f;
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                auto blend = [t](int from, int to) { return static_cast<int>(std::nearbyint(from + (to - from) * t)); };
                tables.entries[j * BlendTables::LevelSize + a * 256 + b] =
                    NearestColour(palette, blend(palette.red[a], palette.red[b]), blend(palette.green[a], palette.green[b]),
                                  blend(palette.blue[a], palette.blue[b]), 0, 254);
            }
        }
    }
}

PalettePlanes demoPalette() { return LoadPcx(ORMEL_DEMO_DIR "/TEXTURES/PALETTE.PCX").palette; }

PalettePlanes randomPalette()
{
    std::mt19937 random(1234);
    PalettePlanes palette;
    for (int i = 0; i < 256; ++i) {
        palette.red[i] = static_cast<std::uint8_t>(random());
        palette.green[i] = static_cast<std::uint8_t>(random());
        palette.blue[i] = static_cast<std::uint8_t>(random());
    }
    return palette;
}

PalettePlanes paletteFor(int which) { return which == 0 ? demoPalette() : randomPalette(); }

void checkSame(const PalettePlanes& palette)
{
    auto fast = std::make_unique<BlendTables>(), plain = std::make_unique<BlendTables>();
    BuildBlendTables(palette, *fast);
    buildBlendTablesStraightforward(palette, *plain);
    if (fast->entries != plain->entries) {
        std::fprintf(stderr, "BuildBlendTables differs from the straightforward search\n");
        std::exit(1);
    }
}

void BM_BlendTablesStraightforward(benchmark::State& state)
{
    const PalettePlanes palette = paletteFor(static_cast<int>(state.range(0)));
    auto tables = std::make_unique<BlendTables>();
    for (auto _ : state) {
        buildBlendTablesStraightforward(palette, *tables);
        benchmark::DoNotOptimize(tables->entries.data());
    }
    state.SetLabel(state.range(0) == 0 ? "demo palette" : "random palette");
}

void BM_BlendTables(benchmark::State& state)
{
    const PalettePlanes palette = paletteFor(static_cast<int>(state.range(0)));
    checkSame(palette);
    auto tables = std::make_unique<BlendTables>();
    for (auto _ : state) {
        BuildBlendTables(palette, *tables);
        benchmark::DoNotOptimize(tables->entries.data());
    }
    state.SetLabel(state.range(0) == 0 ? "demo palette" : "random palette");
}

} // namespace

BENCHMARK(BM_BlendTablesStraightforward)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
