// The texture bank editor: how long a bank takes to come up (the demo bank, and a full bank of
// 512 images made of the demo textures), how long a new palette slot takes to remap all of them,
// and drawing the slot grid once per repaint against the straightforward drawing that visits
// every slot pixel by pixel through SetPixel.
#include "BankEditing.h"
#include "EditorBank.h"
#include "SlotGrid.h"
#include "SlotGridPainter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A folder holding FULL.DEF: slots 0 to 511 named IMG000.PCX ..., copies of the demo textures
// in turn, the palette image first, and 64 textures. Made once per run.
const fs::path& fullBankFolder()
{
    static const fs::path folder = [] {
        const fs::path out = fs::temp_directory_path() / "pigmenta-bench";
        fs::create_directories(out);
        std::vector<fs::path> sources{fs::path(ORMEL_DEMO_DIR) / "TEXTURES" / "PALETTE.PCX"};
        for (const auto& entry : fs::directory_iterator(fs::path(ORMEL_DEMO_DIR) / "TEXTURES"))
            if (entry.path().filename() != "PALETTE.PCX")
                sources.push_back(entry.path());
        std::ofstream bank(out / "FULL.DEF", std::ios::binary);
        bank << "#images\r\n";
        for (int i = 0; i < 512; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "IMG%03d.PCX", i);
            fs::copy_file(sources[static_cast<std::size_t>(i) % sources.size()], out / name,
                          fs::copy_options::overwrite_existing);
            bank << i << "=" << name << "\r\n";
        }
        bank << "#textures\r\n";
        for (int t = 0; t < 64; ++t)
            bank << t << "=" << 8 * t << "-" << 8 * t + 7 << "\r\n";
        return out;
    }();
    return folder;
}

// What the editor does on Load: read the bank, then the view's colour table.
void loadBank(benchmark::State& state, const fs::path& folder, const char* bankName)
{
    fs::current_path(folder);
    auto bank = std::make_unique<EditorBank>();
    DisplayImage view;
    CreateImage(view, 548, 328);
    for (auto _ : state) {
        const EditorBankLoad load = LoadEditorBank(bankName, *bank);
        if (!load.problems.empty())
            state.SkipWithError(("cannot read " + load.problems.front().name).c_str());
        SetColourTable(view, bank->bankPalette);
    }
}

void BM_LoadDemoBank(benchmark::State& state) { loadBank(state, ORMEL_DEMO_DIR, "DEMO.DEF"); }
void BM_LoadBankOf512Images(benchmark::State& state) { loadBank(state, fullBankFolder(), "FULL.DEF"); }

void BM_NewPaletteSlotRemaps511Images(benchmark::State& state)
{
    fs::current_path(fullBankFolder());
    auto bank = std::make_unique<EditorBank>();
    LoadEditorBank("FULL.DEF", *bank);
    for (auto _ : state) {
        const SlotImageLoad load = LoadImageIntoSlot(*bank, 0, "IMG000.PCX");
        if (!load.loaded)
            state.SkipWithError("palette image not loaded");
    }
}

// The first rows of a full bank, as the window shows them at its start size.
struct GridFixture {
    std::unique_ptr<EditorBank> bank = std::make_unique<EditorBank>();
    DisplayImage view;
    GridLayout layout;
    GridFixture()
    {
        fs::current_path(fullBankFolder());
        LoadEditorBank("FULL.DEF", *bank);
        CreateImage(view, 552, 332);
        layout = {64, 2, 0, 552 / 68};
    }
};

void BM_DrawSlotGrid(benchmark::State& state)
{
    GridFixture f;
    for (auto _ : state) {
        DrawSlotGrid(f.view, *f.bank, f.layout, 0);
        benchmark::DoNotOptimize(f.view.pixels.data());
    }
}

// The drawing as first written: every one of the 513 slots, each thumbnail pixel through
// SetPixel (which clips).
void drawStraightforward(DisplayImage& view, const EditorBank& bank, const GridLayout& layout)
{
    for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x)
            SetPixel(view, x, y, 0);
    for (int i = 0; i <= LastSlot; ++i) {
        const int x = (i % layout.columns) * 68, y = (i / layout.columns) * 68;
        if (const DisplayImage* image = bank.slots[i].image.get())
            for (int v = 0; v < 64; ++v)
                for (int u = 0; u < 64; ++u)
                    SetPixel(view, x + 2 + u, view.height - 1 - (y + 2 + v), image->pixels[2 * v * 128 + 2 * u]);
    }
}

void BM_DrawSlotGridStraightforward(benchmark::State& state)
{
    GridFixture f;
    for (auto _ : state) {
        drawStraightforward(f.view, *f.bank, f.layout);
        benchmark::DoNotOptimize(f.view.pixels.data());
    }
}

} // namespace

BENCHMARK(BM_LoadDemoBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBankOf512Images)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewPaletteSlotRemaps511Images)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSlotGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSlotGridStraightforward)->Unit(benchmark::kMicrosecond);
