// Putting images into slots: slot 0 gives the palette and the others follow it.
#include "BankEditing.h"
#include "TempFolder.h"
#include "TexturePcx.h"

#include "Errors.h"

#include <gtest/gtest.h>

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

TEST(BankEditing, OtherSlotsAreTranslatedOntoTheBankPalette)
{
    const TempFolder folder;
    folder.write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    EditorBank bank;
    bank.bankPalette = RampPalette(200);
    const SlotImageLoad load = LoadImageIntoSlot(bank, 7, "A.PCX");
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(bank.slots[7].name, "A.PCX");
    EXPECT_EQ(slotPixels(bank, 7), translated(1, RampPalette(10), RampPalette(200)));
    EXPECT_EQ(bank.bankPalette, RampPalette(200));
}

TEST(BankEditing, ANewPaletteSlotRemapsEveryNamedSlot)
{
    const TempFolder folder;
    folder.write("PAL.PCX", PcxFile(128, 128, 5, RampPalette(90)));
    folder.write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    folder.write("TWO.PCX", PcxFile(128, 128, 2, RampPalette(30)));
    EditorBank bank;
    ASSERT_TRUE(LoadImageIntoSlot(bank, 1, "ONE.PCX").loaded);
    ASSERT_TRUE(LoadImageIntoSlot(bank, 512, "TWO.PCX").loaded);
    bank.slots[9].name = "GONE.PCX"; // named, file missing

    const SlotImageLoad load = LoadImageIntoSlot(bank, 0, "PAL.PCX");
    ASSERT_TRUE(load.loaded);
    EXPECT_EQ(bank.bankPalette, RampPalette(90));
    EXPECT_EQ(slotPixels(bank, 0), PatternPixels(128, 128, 5)); // its own colours, untranslated
    EXPECT_EQ(slotPixels(bank, 1), translated(1, RampPalette(10), RampPalette(90)));
    EXPECT_EQ(slotPixels(bank, 512), translated(2, RampPalette(30), RampPalette(90)));
    EXPECT_EQ(load.reloads.missingFiles, std::vector<std::string>{"GONE.PCX"});
    EXPECT_EQ(bank.slots[9].name, "GONE.PCX");
    EXPECT_FALSE(bank.slots[9].image);
}

TEST(BankEditing, AFileThatVanishedBeforeTheRemapLosesItsStaleImage)
{
    const TempFolder folder;
    folder.write("PAL.PCX", PcxFile(128, 128, 5, RampPalette(90)));
    folder.write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    folder.write("SMALL.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    EditorBank bank;
    ASSERT_TRUE(LoadImageIntoSlot(bank, 1, "ONE.PCX").loaded);
    ASSERT_TRUE(LoadImageIntoSlot(bank, 2, "SMALL.PCX").loaded);
    std::filesystem::remove(folder.path() / "ONE.PCX");
    folder.write("SMALL.PCX", PcxFile(64, 64, 1, RampPalette(10)));

    const SlotImageLoad load = LoadImageIntoSlot(bank, 0, "PAL.PCX");
    EXPECT_EQ(load.reloads.missingFiles, std::vector<std::string>{"ONE.PCX"});
    ASSERT_EQ(load.reloads.unreadImages.size(), 1u);
    EXPECT_NE(load.reloads.message().find("SMALL.PCX"), std::string::npos);
    EXPECT_FALSE(bank.slots[1].image);
    EXPECT_FALSE(bank.slots[2].image);
    EXPECT_EQ(bank.slots[2].name, "SMALL.PCX");
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
        EXPECT_THROW(LoadImageIntoSlot(bank, slot, "NONE.PCX"), IoError);
        EXPECT_EQ(bank.slots[slot].name, "GOOD.PCX");
    }
}

TEST(BankEditing, ClearingASlotAndSlotsOutOfRange)
{
    const TempFolder folder;
    folder.write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
    EditorBank bank;
    ASSERT_TRUE(LoadImageIntoSlot(bank, 3, "A.PCX").loaded);
    ClearSlot(bank, 3);
    EXPECT_TRUE(bank.slots[3].name.empty());
    EXPECT_FALSE(bank.slots[3].image);
    EXPECT_FALSE(LoadImageIntoSlot(bank, 513, "A.PCX").loaded);
    EXPECT_FALSE(LoadImageIntoSlot(bank, -1, "A.PCX").loaded);
    ClearSlot(bank, 513);
    ClearSlot(bank, -1);
}

TEST(BankEditing, FrameColoursAreTheNearestOfAllColours)
{
    PalettePlanes palette; // all black but three
    palette.red[255] = 250;
    palette.red[0] = 255, palette.green[0] = 255, palette.blue[0] = 255;
    palette.green[17] = 200;
    const FrameColours frames = ComputeFrameColours(palette);
    EXPECT_EQ(frames.red, 255);   // colour 255 takes part
    EXPECT_EQ(frames.white, 0);   // and so does colour 0
    EXPECT_EQ(frames.green, 17);
}
