// Putting images into slots: slot 0 gives the palette and the others follow it.
#include "BankEditing.h"
#include "TempFolder.h"
#include "TexturePcx.h"

#include "Errors.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::vector<std::uint8_t> slotPixels(const EditorBank& bank, int slot)
{
    const auto& image = *bank.slots[slot].image;
    return {image.pixels.begin(), image.pixels.begin() + TexturePixels};
}

// The pixels `seed` draws, each translated from `from` onto `onto` (colours 1..255, 0 kept).
std::vector<std::uint8_t> translated(int seed, const PalettePlanes& from, const PalettePlanes& onto)
{
    std::vector<std::uint8_t> pixels = PatternPixels(128, 128, seed);
    Translate(pixels, BuildTranslation(from, onto, 1, 255));
    return pixels;
}

} // namespace

TEST(BankEditing, ANewPaletteSlotRemapsEveryNamedSlot)
{
    const TempFolder folder;
    folder.write("PAL.PCX", PcxFile(128, 128, 5, RampPalette(90)));
    folder.write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    folder.write("TWO.PCX", PcxFile(128, 128, 2, RampPalette(30)));
    folder.write("GONE.PCX", PcxFile(128, 128, 3, RampPalette(30)));
    folder.write("SMALL.PCX", PcxFile(128, 128, 4, RampPalette(30)));
    EditorBank bank;
    for (const auto& [slot, name] : {std::pair{1, "ONE.PCX"}, {512, "TWO.PCX"}, {9, "GONE.PCX"}, {10, "SMALL.PCX"}})
        ASSERT_TRUE(LoadImageIntoSlot(bank, slot, name).loaded);
    // Files changed since: an image left on the old palette would show wrong colours.
    std::filesystem::remove(folder.path() / "GONE.PCX");
    folder.write("SMALL.PCX", PcxFile(64, 64, 4, RampPalette(30)));

    const SlotImageLoad load = LoadImageIntoSlot(bank, 0, "PAL.PCX");
    ASSERT_TRUE(load.loaded);
    EXPECT_EQ(bank.bankPalette, RampPalette(90));
    EXPECT_EQ(slotPixels(bank, 0), PatternPixels(128, 128, 5)); // its own colours, untranslated
    EXPECT_EQ(slotPixels(bank, 1), translated(1, RampPalette(10), RampPalette(90)));
    EXPECT_EQ(slotPixels(bank, 512), translated(2, RampPalette(30), RampPalette(90)));
    ASSERT_EQ(load.reloads.problems.size(), 2u);
    EXPECT_EQ(load.reloads.problems[0].name, "GONE.PCX");
    EXPECT_EQ(load.reloads.problems[0].fault, ImageFault::Missing);
    EXPECT_EQ(load.reloads.problems[1].name, "SMALL.PCX");
    EXPECT_EQ(load.reloads.problems[1].fault, ImageFault::WrongSize);
    for (int slot : {9, 10}) {
        EXPECT_FALSE(bank.slots[slot].name.empty());
        EXPECT_FALSE(bank.slots[slot].image);
    }
}

TEST(BankEditing, ImagesThatAreNotTexturesLeaveTheSlotAsItWas)
{
    const TempFolder folder;
    folder.write("GOOD.PCX", PcxFile(128, 128, 4, RampPalette(10)));
    folder.write("SMALL.PCX", PcxFile(64, 128, 4, RampPalette(20)));
    folder.write("WIDE.PCX", PcxFile(130, 128, 4, RampPalette(20)));
    folder.write("JUNK.PCX", std::string(2000, 'x'));
    for (int slot : {0, 5}) {
        EditorBank bank;
        ASSERT_TRUE(LoadImageIntoSlot(bank, slot, "GOOD.PCX").loaded);
        const PalettePlanes palette = bank.bankPalette;
        const std::vector<std::uint8_t> pixels = slotPixels(bank, slot);
        for (const char* name : {"SMALL.PCX", "WIDE.PCX", "JUNK.PCX"}) {
            EXPECT_FALSE(LoadImageIntoSlot(bank, slot, name).loaded) << name;
            EXPECT_EQ(bank.slots[slot].name, "GOOD.PCX");
            EXPECT_EQ(slotPixels(bank, slot), pixels) << name;
            EXPECT_EQ(bank.bankPalette, palette) << name;
        }
        const SlotImageLoad missing = LoadImageIntoSlot(bank, slot, "NONE.PCX");
        ASSERT_TRUE(missing.refused);
        EXPECT_EQ(missing.refused->fault, ImageFault::Missing);
        EXPECT_EQ(bank.slots[slot].name, "GOOD.PCX");
    }
    EditorBank bank;
    EXPECT_FALSE(LoadImageIntoSlot(bank, 513, "GOOD.PCX").loaded);
    ClearSlot(bank, -1); // out of range: nothing
}

TEST(BankEditing, FrameColoursAreTheNearestOfAllColours)
{
    // Each frame colour exactly in one place of a grey palette, colours 0 and 255 included.
    const std::uint8_t pure[3][3] = {{255, 0, 0}, {255, 255, 255}, {0, 255, 0}};
    for (int frame = 0; frame < 3; ++frame)
        for (int at : {0, 17, 255}) {
            PalettePlanes palette;
            palette.red.fill(100), palette.green.fill(100), palette.blue.fill(100);
            palette.red[at] = pure[frame][0], palette.green[at] = pure[frame][1], palette.blue[at] = pure[frame][2];
            const FrameColours frames = ComputeFrameColours(palette);
            EXPECT_EQ((std::array{frames.red, frames.white, frames.green}[frame]), at) << "frame " << frame;
        }
}

TEST(BankEditing, AnEditThatChangesNothingIsNoStep)
{
    EditorBank bank;
    EXPECT_FALSE(TextureChange(bank, 4, EditorBank::Undefined));
    EXPECT_TRUE(TextureChange(bank, 4, {1, 2, 1}));
    EXPECT_FALSE(TextureChange(bank, EditorBank::Capacity, {1, 2, 1}));
    EXPECT_FALSE(ClearSlotChange(bank, 3));
}
