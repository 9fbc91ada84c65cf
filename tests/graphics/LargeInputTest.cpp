// The largest banks and images the editors meet: a skinning-editor bank filling all of its
// 32,768 slots and textures, and a 2,000 x 2,000 picture named in a bank, which both editors
// refuse with a message.
#include "EditorBank.h"
#include "Errors.h"
#include "GraphicsSamples.h"
#include "SkinnerBank.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

// Rows of one colour each: quick to decode, so that the loads' own work is what takes time.
std::vector<std::uint8_t> stripes(int side, unsigned seed)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i / side * 7 + seed);
    return pixels;
}

void writeImage(const TempFolder& folder, const std::string& name, int side, unsigned seed,
                const PalettePlanes& palette)
{
    folder.write(name, PcxFile(side, side, stripes(side, seed), palette));
}

} // namespace

TEST(LargeBank, EverySlotAndTextureOfTheSkinnerBankLoads)
{
    // Three files shared by every slot keep the test short; each slot still gets its own copy.
    // The palette image comes first, then the textures, drawn with one palette as banks mostly are.
    const TempFolder folder;
    writeImage(folder, "TEXTURES/PAL.PCX", 128, 1, RandomPalette(1));
    writeImage(folder, "TEXTURES/ONE.PCX", 128, 2, RandomPalette(2));
    writeImage(folder, "TEXTURES/TWO.PCX", 128, 3, RandomPalette(2));
    std::string text = "#images\r\n";
    for (int i = 0; i < SkinnerBank::Capacity; ++i)
        text += std::to_string(i) + (i == 0 ? "=TEXTURES\\PAL.PCX\r\n" : i % 2 ? "=TEXTURES\\ONE.PCX\r\n" : "=textures\\two.pcx\r\n");
    text += "#textures\r\n";
    for (int t = 0; t < SkinnerBank::Capacity; ++t)
        text += std::to_string(t) + "=" + std::to_string(t) + "-" + std::to_string(SkinnerBank::Capacity - 1 - t) + "\r\n";
    folder.write("full.def", text);

    SkinnerBank bank;
    const SkinnerBankLoad load = LoadSkinnerBank("full.def", bank);
    EXPECT_EQ(load.imageCount, SkinnerBank::Capacity);
    EXPECT_EQ(load.textureCount, SkinnerBank::Capacity);
    EXPECT_EQ(bank.lastTexture, SkinnerBank::Capacity - 1);
    ASSERT_NE(bank.image(SkinnerBank::Capacity - 1), nullptr);
    // Slots 1 and 32,767 hold the same file, translated onto the bank palette alike.
    const std::uint8_t* first = bank.image(1);
    const std::uint8_t* last = bank.image(SkinnerBank::Capacity - 1);
    EXPECT_NE(first, last);
    EXPECT_TRUE(std::equal(first, first + 16384, last));
    const ColourTranslation translation = BuildTranslation(RandomPalette(2), RandomPalette(1), 1, 254);
    EXPECT_EQ(last[1000], translation[stripes(128, 2)[1000]]);
    AnimateTextures(bank);
    EXPECT_EQ(bank.textures[SkinnerBank::Capacity - 1].current, SkinnerBank::Capacity - 2);
}

TEST(LargeBank, A2000By2000PictureIsRefusedByBothEditors)
{
    const TempFolder folder;
    writeImage(folder, "PAL.PCX", 128, 1, RandomPalette(1));
    writeImage(folder, "HUGE.PCX", 2000, 4, RandomPalette(4));
    folder.write("big.def", "#images\r\n0=PAL.PCX\r\n1=HUGE.PCX\r\n#textures\r\n0=0-1\r\n");

    // The texture bank editor keeps the entry, names the file and reads the rest.
    const auto editor = std::make_unique<EditorBank>();
    const EditorBankLoad load = LoadEditorBank("big.def", *editor);
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_EQ(load.problems[0].name, "HUGE.PCX");
    EXPECT_EQ(load.problems[0].detail, "2000 x 2000");
    EXPECT_EQ(editor->slots[1].name, "HUGE.PCX");
    EXPECT_EQ(editor->bankPalette, RandomPalette(1));

    // The skinning editor takes no part of the bank and keeps the one it had.
    SkinnerBank bank;
    bank.lastTexture = 7;
    try {
        LoadSkinnerBank("big.def", bank);
        FAIL() << "no error";
    } catch (const FormatError& error) {
        EXPECT_STREQ(error.what(), "HUGE.PCX: the image is 2000 x 2000 pixels; bank images are 128 x 128");
    }
    EXPECT_EQ(bank.lastTexture, 7);
    EXPECT_EQ(bank.image(0), nullptr);
}
