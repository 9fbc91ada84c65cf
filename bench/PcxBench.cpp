// Reading the demo bank's 128 x 128 textures from their files: LoadPcx against the
// straightforward decoder that takes the file one byte at a time.
#include "Pcx.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> demoTextures()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ORMEL_DEMO_DIR "/TEXTURES"))
        names.push_back(entry.path().string());
    return names;
}

// Byte by byte through the C library's buffered input, the palette from the file's last 768 bytes.
bool decodeStraightforward(const std::string& name, std::vector<std::uint8_t>& pixels, PalettePlanes& palette)
{
    std::FILE* in = std::fopen(name.c_str(), "rb");
    if (!in)
        return false;
    std::uint8_t header[128];
    bool ok = std::fread(header, 1, 128, in) == 128;
    const int width = (header[8] | header[9] << 8) + 1, height = (header[10] | header[11] << 8) + 1;
    pixels.assign(static_cast<std::size_t>(width) * height, 0);
    std::size_t pos = 0;
    while (ok && pos < pixels.size()) {
        const int d = std::fgetc(in);
        if (d < 0)
            ok = false;
        else if (d < 192)
            pixels[pos++] = static_cast<std::uint8_t>(d);
        else {
            const int colour = std::fgetc(in);
            ok = colour >= 0;
            for (int i = 0; ok && i < d - 192 && pos < pixels.size(); ++i)
                pixels[pos++] = static_cast<std::uint8_t>(colour);
        }
    }
    std::uint8_t triples[768];
    ok = ok && std::fseek(in, -768, SEEK_END) == 0 && std::fread(triples, 1, 768, in) == 768;
    for (int i = 0; ok && i < 256; ++i) {
        palette.red[i] = triples[3 * i];
        palette.green[i] = triples[3 * i + 1];
        palette.blue[i] = triples[3 * i + 2];
    }
    std::fclose(in);
    return ok;
}

void BM_PcxStraightforward(benchmark::State& state)
{
    const std::vector<std::string> names = demoTextures();
    std::vector<std::uint8_t> pixels;
    PalettePlanes palette;
    for (auto _ : state) {
        for (const std::string& name : names) {
            decodeStraightforward(name, pixels, palette);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}

void BM_LoadPcx(benchmark::State& state)
{
    const std::vector<std::string> names = demoTextures();
    for (auto _ : state) {
        for (const std::string& name : names) {
            PcxImage image = LoadPcx(name);
            benchmark::DoNotOptimize(image.pixels.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}

} // namespace

BENCHMARK(BM_PcxStraightforward);
BENCHMARK(BM_LoadPcx);
