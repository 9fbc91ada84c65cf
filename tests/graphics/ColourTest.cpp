#include "BlendCache.h"
#include "ColourTables.h"
#include "GraphicsSamples.h"
#include "NearestColourSearch.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <tuple>

namespace {

TEST(NearestColour, PicksTheHighestOfEqualColours)
{
    PalettePlanes palette;
    palette.red.fill(200);
    palette.red[3] = palette.red[7] = 10;
    EXPECT_EQ(NearestColour(palette, 10, 0, 0, 0, 255), 7);
    EXPECT_EQ(NearestColour(palette, 10, 0, 0, 0, 6), 3);  // 7 outside the range
    EXPECT_EQ(NearestColour(palette, 10, 0, 0, 8, 255), 255); // all equal: the highest
    EXPECT_EQ(NearestColour(palette, 10, 0, 0, 9, 4), 9);  // empty range: first
}

// The cells must give exactly the plain search's answers, ties included, on palettes that are
// spread, clustered or full of repeated colours, for every range the library uses.
TEST(NearestColourSearch, AnswersAsThePlainSearch)
{
    PalettePlanes clustered = RandomPalette(21);
    for (int i = 0; i < 256; ++i) {
        clustered.red[i] = static_cast<std::uint8_t>(100 + clustered.red[i] % 8);
        clustered.green[i] = static_cast<std::uint8_t>(clustered.green[i] % 4 * 60);
    }
    PalettePlanes mostlyBlack; // many unused entries, as in real files
    for (int i = 0; i < 40; ++i) {
        mostlyBlack.red[i] = static_cast<std::uint8_t>(i * 6);
        mostlyBlack.blue[i] = static_cast<std::uint8_t>(255 - i * 6);
    }
    PalettePlanes grid; // many exact ties between neighbours
    for (int i = 0; i < 256; ++i) {
        grid.red[i] = static_cast<std::uint8_t>(i % 4 * 80);
        grid.green[i] = static_cast<std::uint8_t>(i / 4 % 4 * 80);
        grid.blue[i] = static_cast<std::uint8_t>(i / 16 % 4 * 80);
    }
    const PalettePlanes palettes[] = {RandomPalette(20), clustered, mostlyBlack, grid};
    const std::pair<int, int> ranges[] = {{0, 254}, {1, 254}, {1, 255}, {0, 255}, {17, 17}};
    std::mt19937 random(22);
    for (const PalettePlanes& palette : palettes) {
        for (const auto& [first, last] : ranges) {
            NearestColourSearch search(palette, first, last);
            for (int q = 0; q < 20000; ++q) {
                // Half anywhere, half on the multiples of 40 where the grid palette ties.
                const int r = q % 2 ? random() % 256 : random() % 7 * 40;
                const int g = q % 2 ? random() % 256 : random() % 7 * 40;
                const int b = q % 2 ? random() % 256 : random() % 7 * 40;
                ASSERT_EQ(search.find(r, g, b), NearestColour(palette, r, g, b, first, last))
                    << r << "," << g << "," << b << " in " << first << ".." << last;
            }
            for (const auto& [r, g, b] : {std::tuple{-5, 300, 128}, {256, 0, 0}, {0, 0, -1}})
                EXPECT_EQ(search.find(r, g, b), NearestColour(palette, r, g, b, first, last)); // outside the cube
        }
    }
}

TEST(BlendChannel, RoundsHalvesToEvenLikeSinglePrecision)
{
    for (int j = 0; j <= 16; ++j) {
        const float t = static_cast<float>(j) / 16.0f;
        for (int from = 0; from < 256; ++from)
            for (int to = 0; to < 256; ++to)
                ASSERT_EQ(BlendChannel(from, to, j), static_cast<int>(std::nearbyint(from + (to - from) * t)))
                    << from << " " << to << " " << j;
    }
}

TEST(BlendTables, MatchTheStraightforwardSearch)
{
    const PalettePlanes palette = RandomPalette(23);
    auto tables = std::make_unique<BlendTables>();
    BuildBlendTables(palette, *tables);
    std::mt19937 random(24);
    for (int q = 0; q < 60000; ++q) {
        const int j = static_cast<int>(random() % 17), a = static_cast<int>(random() % 256), b = static_cast<int>(random() % 256);
        const int expected = NearestColour(palette, BlendChannel(palette.red[a], palette.red[b], j),
                                           BlendChannel(palette.green[a], palette.green[b], j),
                                           BlendChannel(palette.blue[a], palette.blue[b], j), 0, 254);
        ASSERT_EQ(tables->level(j)[a * 256 + b], expected) << j << " " << a << " " << b;
    }
    for (int a = 0; a < 256; ++a) {
        const int self = NearestColour(palette, palette.red[a], palette.green[a], palette.blue[a], 0, 254);
        for (int j = 0; j <= 16; ++j)
            EXPECT_EQ(tables->level(j)[a * 256 + a], self); // a colour blended with itself
        for (int b = 0; b < 256; b += 15) {
            EXPECT_EQ(tables->level(0)[a * 256 + b], self);
            EXPECT_EQ(tables->level(16)[b * 256 + a], self);
        }
    }
    for (std::uint8_t entry : tables->entries)
        ASSERT_NE(entry, 255);
}

TEST(ShadeTable, DarkensTowardsTheFogWithinColours1To254)
{
    const PalettePlanes palette = RandomPalette(25);
    auto table = std::make_unique<ShadeTable>();
    // A fog brighter than some colours: (R - F) * L / 256 is negative there and truncates toward 0.
    BuildShadeTable(palette, 100, 40, 200, *table);
    for (int level = 0; level < 256; ++level) {
        EXPECT_EQ(table->row(level)[0], 0);
        for (int c = 1; c < 256; c += 3) {
            const int r = 100 + (palette.red[c] - 100) * level / 256;
            const int g = 40 + (palette.green[c] - 40) * level / 256;
            const int b = 200 + (palette.blue[c] - 200) * level / 256;
            ASSERT_EQ(table->row(level)[c], NearestColour(palette, r, g, b, 1, 254)) << level << " " << c;
        }
    }
    for (std::uint8_t entry : table->entries)
        ASSERT_NE(entry, 255);
}

TEST(ColourRemap, MapsFlatColoursOntoColours1To254)
{
    const PalettePlanes bank = RandomPalette(26), flat = RandomPalette(27);
    const ColourRemap remap = BuildColourRemap(bank, flat);
    EXPECT_EQ(remap[0], 0);
    for (int c = 1; c < 256; ++c)
        EXPECT_EQ(remap[c], NearestColour(bank, flat.red[c], flat.green[c], flat.blue[c], 1, 254));
}

class BlendCacheTest : public ::testing::Test {
protected:
    TempFolder folder;
    PalettePlanes palette = RandomPalette(28);
    std::unique_ptr<BlendTables> tables = std::make_unique<BlendTables>();
};

TEST_F(BlendCacheTest, NameDropsTheLastFourCharacters)
{
    EXPECT_EQ(BlendCacheName("walls.def"), "walls.POT");
    EXPECT_EQ(BlendCacheName("/games/demo/DEMO.DEF"), "/games/demo/DEMO.POT");
    EXPECT_EQ(BlendCacheName("a.d"), ".POT");
}

TEST_F(BlendCacheTest, BuildsWritesThenReadsTheCache)
{
    const BlendCacheResult built = LoadOrBuildBlendTables("walls.def", palette, *tables);
    EXPECT_FALSE(built.readFromCache);
    EXPECT_TRUE(built.writeError.empty());
    ASSERT_TRUE(folder.exists("walls.POT"));
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "walls.POT"), BlendTables::Size);

    // The cache is used as it stands, even for another palette.
    auto again = std::make_unique<BlendTables>();
    const BlendCacheResult read = LoadOrBuildBlendTables("walls.def", RandomPalette(29), *again);
    EXPECT_TRUE(read.readFromCache);
    EXPECT_EQ(again->entries, tables->entries);
}

TEST_F(BlendCacheTest, FindsTheCacheWhateverItsCase)
{
    BuildBlendTables(palette, *tables);
    folder.write("WALLS.pot", AsText(std::vector<std::uint8_t>(tables->entries.begin(), tables->entries.end())));
    auto read = std::make_unique<BlendTables>();
    EXPECT_TRUE(LoadOrBuildBlendTables("walls.def", RandomPalette(30), *read).readFromCache);
    EXPECT_EQ(read->entries, tables->entries);
}

TEST_F(BlendCacheTest, RebuildsACacheOfTheWrongSize)
{
    BuildBlendTables(palette, *tables);
    for (const std::size_t size : {std::size_t(0), std::size_t(1000), BlendTables::Size - 1, BlendTables::Size + 1}) {
        folder.write("walls.POT", std::string(size, '\x07'));
        auto read = std::make_unique<BlendTables>();
        const BlendCacheResult result = LoadOrBuildBlendTables("walls.def", palette, *read);
        EXPECT_FALSE(result.readFromCache) << size;
        EXPECT_EQ(read->entries, tables->entries) << size;
        EXPECT_EQ(std::filesystem::file_size(folder.path() / "walls.POT"), BlendTables::Size);
    }
}

TEST_F(BlendCacheTest, RebuildIgnoresTheCache)
{
    folder.write("walls.POT", std::string(BlendTables::Size, '\x07'));
    EXPECT_FALSE(LoadOrBuildBlendTables("walls.def", palette, *tables, BlendCacheUse::Rebuild).readFromCache);
    EXPECT_NE(folder.read("walls.POT"), std::string(BlendTables::Size, '\x07'));
}

TEST_F(BlendCacheTest, AFailedWriteIsReportedAndTheTablesStillBuilt)
{
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    const BlendCacheResult result = LoadOrBuildBlendTables("walls.def", palette, *tables);
    SetWriteFaultHook(nullptr);
    EXPECT_NE(result.writeError.find("walls.POT"), std::string::npos) << result.writeError;
    EXPECT_FALSE(folder.exists("walls.POT"));
    EXPECT_EQ(tables->level(0)[0], NearestColour(palette, palette.red[0], palette.green[0], palette.blue[0], 0, 254));
}

TEST_F(BlendCacheTest, DeletionTakesEverySpellingAndMissingIsNoError)
{
    folder.write("walls.pot", "x");
    folder.write("WALLS.POT", "x");
    folder.write("walls.def", "x");
    DeleteBlendCache("walls.def");
    EXPECT_FALSE(folder.exists("walls.pot"));
    EXPECT_FALSE(folder.exists("WALLS.POT"));
    EXPECT_TRUE(folder.exists("walls.def"));
    EXPECT_NO_THROW(DeleteBlendCache("walls.def"));
}

} // namespace
