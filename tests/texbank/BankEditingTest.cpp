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

TEST(BankEditing, MakeTextureTakesTheLowestFreeNumberAsOneChange)
{
    EditorBank bank;
    bank.textures[0] = {2, 2, 2};
    bank.textures[2] = {9, 4, 5};
    const struct {
        std::int32_t first, last;
        std::optional<std::int32_t> texture;
    } cases[] = {{5, 8, 1}, {7, 7, 1}, {8, 5, 1}, {-1, 3, std::nullopt}, {4, 513, std::nullopt}};
    for (const auto& c : cases) {
        std::optional<NewTexture> made = MakeTextureChange(bank, c.first, c.last);
        ASSERT_EQ(made.has_value(), c.texture.has_value()) << c.first << "-" << c.last;
        if (!made)
            continue;
        EXPECT_EQ(made->texture, *c.texture);
        ExchangeBankChange(bank, made->change);
        EXPECT_EQ(bank.textures[1], (AnimTexture{c.first, c.last, c.first}));
        ExchangeBankChange(bank, made->change); // and back: undone
        EXPECT_EQ(bank.textures[1], EditorBank::Undefined);
    }
    bank.textures.fill({0, 0, 0});
    EXPECT_FALSE(MakeTextureChange(bank, 3, 3)); // every number taken
}

TEST(BankEditing, AnEditThatChangesNothingIsNoStep)
{
    EditorBank bank;
    EXPECT_FALSE(TextureChange(bank, 4, EditorBank::Undefined));
    EXPECT_TRUE(TextureChange(bank, 4, {1, 2, 1}));
    EXPECT_FALSE(TextureChange(bank, EditorBank::Capacity, {1, 2, 1}));
    EXPECT_FALSE(ClearSlotChange(bank, 3));
}
