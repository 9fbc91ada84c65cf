#include "AnimTexture.h"
#include "BankFile.h"
#include "EditorBank.h"
#include "FatalError.h"
#include "GraphicsSamples.h"
#include "SafeWrite.h"
#include "SkinnerBank.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using ::testing::HasSubstr;

namespace {

// ---- The file format ----

TEST(BankFile, FindsHeadersWhateverTheirCaseAndBlanks)
{
    const BankFile bank = ParseBank("skipped\r\n=also skipped\r\n # Images \r\n0=a.pcx\r\n#TeXtUrEs\t\r\n2=0-0\r\n");
    EXPECT_TRUE(bank.hasImagesHeader);
    EXPECT_TRUE(bank.hasTexturesHeader);
    ASSERT_EQ(bank.images.size(), 1u);
    EXPECT_EQ(bank.images[0].name, "A.PCX");
    ASSERT_EQ(bank.textures.size(), 1u);
    EXPECT_EQ(bank.textures[0].index, 2);
}

TEST(BankFile, KeepsTheLinesItsHolderCannotShowAsWritten)
{
    const std::string path = std::string(ORMEL_TEST_DATA) + "/def/blanks.def";
    const BankFile bank = ReadBankFile(path, 513);
    ASSERT_EQ(bank.images.size(), 2u);
    EXPECT_EQ(bank.images[0].index, 0);
    EXPECT_EQ(bank.images[0].name, "TEXTURES\\ONE.PCX");
    EXPECT_EQ(bank.images[1].name, "TEXTURES\\TWO.PCX");
    EXPECT_EQ(bank.images[1].order, 2); // the third image entry: the far one comes before it
    ASSERT_EQ(bank.textures.size(), 2u);
    EXPECT_EQ(bank.textures[1].index, 5);
    EXPECT_EQ(bank.textures[1].first, 1);
    EXPECT_EQ(bank.textures[1].last, -1); // 5=1--1
    EXPECT_EQ(bank.kept.leading, std::vector<std::string>{"Made by hand: blanks, case, and lines the reader skips."});
    EXPECT_EQ(bank.kept.images, (std::vector<std::string>{"no equals sign here", "x=TEXTURES\\BAD.PCX",
                                                          "99999=TEXTURES\\FAR.PCX"}));
    EXPECT_EQ(bank.kept.textures, (std::vector<std::string>{"7=1", "z=0-1", "40000=0-0"}));
    EXPECT_EQ(bank.kept.imagesFirst, 0u);
    ASSERT_TRUE(bank.colourImage);
    EXPECT_EQ(bank.colourImage->index, 99999); // the second entry, whatever its index

    // Written again, every kept line comes back unchanged in its section.
    EXPECT_EQ(FormatBank(bank.images, bank.textures, bank.kept),
              "Made by hand: blanks, case, and lines the reader skips.\r\n#images\r\n0=TEXTURES\\ONE.PCX\r\n"
              "1=TEXTURES\\TWO.PCX\r\nno equals sign here\r\nx=TEXTURES\\BAD.PCX\r\n99999=TEXTURES\\FAR.PCX\r\n"
              "#textures\r\n0=0-1\r\n5=1--1\r\n7=1\r\nz=0-1\r\n40000=0-0\r\n");
}

TEST(BankFile, EachHolderKeepsWhatItHasNoRoomFor)
{
    const std::string text = "#images\n600=a.pcx\n40000=b.pcx\n-1=c.pcx\n#textures\n600=0-0\n40000=0-0\n";
    const struct {
        std::int32_t capacity;
        std::size_t images, textures;
    } cases[] = {{513, 0, 0}, {32768, 1, 1}, {AnyBankIndex, 2, 2}};
    for (const auto& c : cases) {
        const BankFile bank = ParseBank(text, c.capacity);
        EXPECT_EQ(bank.images.size(), c.images) << c.capacity;
        EXPECT_EQ(bank.textures.size(), c.textures) << c.capacity;
        EXPECT_EQ(bank.kept.images.size(), 3 - c.images) << c.capacity;
        EXPECT_EQ(bank.kept.textures.size(), 2 - c.textures) << c.capacity;
        ASSERT_TRUE(bank.paletteImage);
        EXPECT_EQ(bank.paletteImage->index, 600) << c.capacity;
        EXPECT_EQ(bank.kept.imagesFirst, c.capacity == 513 ? 1u : 0u);
    }
}

TEST(BankFile, AKeptPaletteEntryStaysTheFirstImage)
{
    const BankFile bank = ParseBank("junk\r\n#images\r\nstray\r\n 900 = Pal.pcx\r\n5=a.pcx\r\nmore\r\n", 513);
    EXPECT_EQ(bank.kept.imagesFirst, 2u);
    EXPECT_EQ(FormatBank(bank.images, bank.textures, bank.kept),
              "junk\r\n#images\r\nstray\r\n 900 = Pal.pcx\r\n5=A.PCX\r\nmore\r\n#textures\r\n");
}

TEST(BankFile, ReadsAndWritesWindows1252)
{
    const TempFolder folder;
    folder.write("bank.def", "#images\r\n0=caf\xe9.pcx\r\n\x80 note\r\n");
    const BankFile bank = ReadBankFile("bank.def", 513);
    ASSERT_EQ(bank.images.size(), 1u);
    EXPECT_EQ(bank.images[0].name, "CAF\xc3\xa9.PCX"); // UTF-8 in memory; only a..z are capitalised
    EXPECT_EQ(bank.kept.images, std::vector<std::string>{"\xe2\x82\xac note"});
    WriteBankFile("out.def", FormatBank(bank.images, bank.textures, bank.kept));
    EXPECT_EQ(folder.read("out.def"), "#images\r\n0=CAF\xe9.PCX\r\n\x80 note\r\n#textures\r\n");
    EXPECT_THROW(WriteBankFile("bad.def", "#images\r\n0=\xe2\x88\x9e.pcx\r\n"), FormatError);
    EXPECT_FALSE(folder.exists("bad.def"));
}

TEST(BankFile, NamesABankCannotKeep)
{
    const std::string longest(249, 'a');
    const struct {
        std::string name;
        BankNameProblem problem;
    } cases[] = {
        {"TEXTURES\\WALL.PCX", BankNameProblem::None},
        {"TEXTURES\\my wall.pcx", BankNameProblem::Blank},
        {"tab\tname.pcx", BankNameProblem::Blank},
        {"line\nend.pcx", BankNameProblem::Blank},
        {longest, BankNameProblem::None},
        {longest + "b", BankNameProblem::TooLong},
        {"caf\xc3\xa9.pcx", BankNameProblem::None},
        {"\xe2\x88\x9e.pcx", BankNameProblem::Character},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckBankImageName(c.name), c.problem) << c.name;
    // The longest name allowed comes back whole behind the longest index a bank line carries.
    EXPECT_EQ(ParseBank("#images\n32767=" + longest).images.at(0).name, std::string(249, 'A'));
}

TEST(BankFile, WithoutTexturesHeaderEveryLineIsAnImage)
{
    const BankFile bank = ParseBank("#images\n0=a.pcx\n1=0-0\n");
    EXPECT_FALSE(bank.hasTexturesHeader);
    EXPECT_EQ(bank.images.size(), 2u);
    EXPECT_TRUE(ParseBank("0=a.pcx\n#textures\n0=0-0\n").images.empty());
    EXPECT_TRUE(ParseBank("0=a.pcx\n#textures\n0=0-0\n").textures.empty());
}

TEST(BankFile, WriterOrderAndLineEnds)
{
    const BankImageEntry images[] = {{0, "TEXTURES\\A.PCX"}, {5, "B.PCX"}};
    const BankTextureEntry textures[] = {{1, 3, -1}, {4, 7, 2}};
    EXPECT_EQ(FormatBank(images, textures),
              "#images\r\n0=TEXTURES\\A.PCX\r\n5=B.PCX\r\n#textures\r\n1=3--1\r\n4=7-2\r\n");
}

// ---- Animation ----

TEST(AnimTexture, StepsUpDownOrStays)
{
    const struct {
        AnimTexture start;
        std::vector<int> shown;
    } cases[] = {
        {{4, 2, 4}, {3, 2, 4, 3, 2, 4}},
        {{2, 4, 2}, {3, 4, 2, 3}},
        {{-1, -1, -1}, {-1, -1}},
        {{5, 5, 9}, {5, 5}},
        // A current past the end of its run starts it again, whichever way it runs.
        {{2, 4, 9}, {2, 3}},
        {{4, 2, -7}, {4, 3}},
        // Runs ending at the limits of the 32-bit range wrap without overflowing.
        {{INT32_MAX - 1, INT32_MAX, INT32_MAX - 1}, {INT32_MAX, INT32_MAX - 1, INT32_MAX}},
        {{INT32_MIN + 1, INT32_MIN, INT32_MIN + 1}, {INT32_MIN, INT32_MIN + 1, INT32_MIN}},
    };
    for (const auto& c : cases) {
        AnimTexture t = c.start;
        for (int expected : c.shown) {
            StepTexture(t);
            EXPECT_EQ(t.current, expected) << c.start.first << ".." << c.start.last;
        }
    }
}

// ---- Banks on disk ----

class BankTest : public ::testing::Test {
protected:
    TempFolder folder;
    PalettePlanes paletteA = RandomPalette(50), paletteB = RandomPalette(51), paletteC = RandomPalette(52);

    // A 128 x 128 image of one colour with its own palette.
    void texture(const std::string& name, std::uint8_t colour, const PalettePlanes& palette, int side = 128)
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side, colour);
        pixels[0] = 0;
        folder.write(name, PcxFile(side, side, pixels, palette));
    }
};

TEST_F(BankTest, EditorSavesSlotsInOrderAndReadsThemBack)
{
    texture("TEXTURES/PAL.PCX", 10, paletteA);
    texture("TEXTURES/WALL.PCX", 20, paletteB);
    EditorBank bank;
    bank.slots[5].name = "TEXTURES\\WALL.PCX";
    bank.slots[0].name = "TEXTURES\\PAL.PCX";
    bank.textures[1] = {3, -1, 3};  // written with its last image -1
    bank.textures[2] = {-1, 4, -1}; // first -1: not written
    folder.write("walls.pot", "stale");
    SaveEditorBank("walls.def", bank);
    EXPECT_EQ(folder.read("walls.def"), "#images\r\n0=TEXTURES\\PAL.PCX\r\n5=TEXTURES\\WALL.PCX\r\n#textures\r\n1=3--1\r\n");
    EXPECT_FALSE(folder.exists("walls.pot"));

    EditorBank read;
    const EditorBankLoad load = LoadEditorBank("walls.def", read);
    EXPECT_TRUE(load.problems.empty());
    EXPECT_EQ(read.bankPalette, paletteA);
    ASSERT_TRUE(read.slots[0].image && read.slots[5].image);
    EXPECT_EQ(read.slots[0].image->pixels[1], 10); // the palette's image keeps its colours
    EXPECT_EQ(read.slots[5].image->pixels[1], NearestColour(paletteA, paletteB.red[20], paletteB.green[20], paletteB.blue[20], 1, 255));
    EXPECT_EQ(read.slots[5].image->pixels[0], 0);
    EXPECT_EQ(read.textures[1], (AnimTexture{3, -1, 3}));
    EXPECT_EQ(read.textures[2], EditorBank::Undefined);
}

// The bank palette comes from the file's first image entry, whatever its index; when that file
// cannot be read, from the first one that can. Every other image is translated onto it.
TEST_F(BankTest, BothEditorsTakeThePaletteFromTheFirstImageEntry)
{
    texture("b.pcx", 1, paletteB);
    texture("c.pcx", 1, paletteC);
    texture("small.pcx", 1, paletteA, 64);
    const auto onto = [](const PalettePlanes& from, const PalettePlanes& palette, int last) {
        return NearestColour(palette, from.red[1], from.green[1], from.blue[1], 1, last);
    };
    const struct {
        const char* images;
        const PalettePlanes* palette;
    } cases[] = {
        {"7=B.PCX\r\n3=C.PCX\r\n", &paletteB},                    // listed first, though its slot is higher
        {"7=B.PCX\r\n2=SMALL.PCX\r\n3=C.PCX\r\n", &paletteB},    // a wrong size between two good ones
        {"2=SMALL.PCX\r\n7=B.PCX\r\n3=C.PCX\r\n", &paletteB},    // the first one cannot be read
        {"9000=B.PCX\r\n3=C.PCX\r\n7=B.PCX\r\n", &paletteB},     // beyond the texture bank editor's slots
        {"40000=B.PCX\r\n3=C.PCX\r\n7=B.PCX\r\n", &paletteB},    // beyond both editors' slots
    };
    for (const auto& c : cases) {
        folder.write("bank.def", std::string("#images\r\n") + c.images);
        EditorBank editor;
        LoadEditorBank("bank.def", editor);
        EXPECT_EQ(editor.bankPalette, *c.palette) << c.images;
        ASSERT_TRUE(editor.slots[3].image) << c.images;
        EXPECT_EQ(editor.slots[3].image->pixels[1], onto(paletteC, *c.palette, 255)) << c.images;
    }
    for (const auto& c : cases) {
        if (std::string(c.images).find("SMALL") != std::string::npos)
            continue; // the skinning editor takes a bank only whole
        folder.write("bank.def", std::string("#images\r\n") + c.images);
        SkinnerBank skinner;
        LoadSkinnerBank("bank.def", skinner); // the blend cache of an earlier case does no harm here
        EXPECT_EQ(skinner.bankPalette, *c.palette) << c.images;
        EXPECT_EQ(skinner.colourPalette, paletteC) << c.images; // the second image entry
        ASSERT_NE(skinner.image(3), nullptr) << c.images;
        EXPECT_EQ(skinner.image(3)[1], onto(paletteC, *c.palette, 254)) << c.images;
    }
}

TEST_F(BankTest, EditorReadsEveryEntryAndLosesNoLine)
{
    texture("pal.pcx", 10, paletteA);
    texture("small.pcx", 10, paletteB, 64);
    texture("late.pcx", 10, paletteB);
    const std::string text = "; made by hand\r\n#images\r\n0=pal.pcx\r\n1=gone1.pcx\r\n2=small.pcx\r\n3=gone2.pcx\r\n"
                             "600=late.pcx\r\n4=late.pcx\r\njunk\r\n32767=Far.pcx\r\n"
                             "#textures\r\n0=1-4\r\n513=0-0\r\n40000=600-600\r\n9=oops\r\n";
    folder.write("bank.def", text);
    EditorBank bank;
    bank.slots[9].name = "OLD.PCX";
    const EditorBankLoad load = LoadEditorBank("bank.def", bank);
    ASSERT_EQ(load.problems.size(), 3u);
    EXPECT_EQ(load.problems[0].name, "GONE1.PCX");
    EXPECT_EQ(load.problems[0].fault, ImageFault::Missing);
    EXPECT_EQ(load.problems[1].name, "SMALL.PCX");
    EXPECT_EQ(load.problems[1].fault, ImageFault::WrongSize);
    EXPECT_EQ(load.problems[1].detail, "64 x 64");
    EXPECT_EQ(load.problems[2].name, "GONE2.PCX");
    EXPECT_EQ(bank.slots[1].name, "GONE1.PCX"); // kept, so a save loses nothing
    EXPECT_FALSE(bank.slots[1].image);
    EXPECT_EQ(bank.slots[2].name, "SMALL.PCX");
    EXPECT_FALSE(bank.slots[2].image); // as when slot 0 is loaded again: no image, the name stays
    EXPECT_TRUE(bank.slots[4].image);  // read after the missing ones
    EXPECT_TRUE(bank.slots[9].name.empty());
    EXPECT_EQ(bank.textures[0], (AnimTexture{1, 4, 1}));
    EXPECT_EQ(bank.kept.size(), 7u);

    // Saved and read again by the skinning editor's reader, the bank means what it meant.
    SaveEditorBank("saved.def", bank);
    EXPECT_EQ(folder.read("saved.def"),
              "; made by hand\r\n#images\r\n0=PAL.PCX\r\n1=GONE1.PCX\r\n2=SMALL.PCX\r\n3=GONE2.PCX\r\n4=LATE.PCX\r\n"
              "600=late.pcx\r\njunk\r\n32767=Far.pcx\r\n#textures\r\n0=1-4\r\n513=0-0\r\n40000=600-600\r\n9=oops\r\n");
    const BankFile before = ReadBankFile("bank.def", SkinnerBank::Capacity);
    const BankFile after = ReadBankFile("saved.def", SkinnerBank::Capacity);
    const auto entries = [](const BankFile& bank) {
        std::set<std::pair<std::int32_t, std::string>> images;
        for (const BankImageEntry& image : bank.images)
            images.insert({image.index, image.name});
        return images;
    };
    EXPECT_EQ(entries(after), entries(before));
    EXPECT_EQ(after.textures.size(), before.textures.size());
    EXPECT_EQ(after.paletteImage->name, before.paletteImage->name);
}

TEST_F(BankTest, EditorKeepsAFarPaletteEntryFirstUntilSlot0IsLoaded)
{
    texture("pal.pcx", 10, paletteA);
    texture("wall.pcx", 20, paletteB);
    folder.write("bank.def", "#images\r\n9000=pal.pcx\r\n5=wall.pcx\r\n");
    EditorBank bank;
    LoadEditorBank("bank.def", bank);
    EXPECT_EQ(bank.bankPalette, paletteA);
    EXPECT_EQ(EditorBankText(bank), "#images\r\n9000=pal.pcx\r\n5=WALL.PCX\r\n#textures\r\n");
    bank.slots[0].name = "WALL.PCX";
    bank.kept.imagesFirst = 0; // what loading an image into slot 0 does
    EXPECT_EQ(EditorBankText(bank), "#images\r\n0=WALL.PCX\r\n5=WALL.PCX\r\n9000=pal.pcx\r\n#textures\r\n");
}

TEST_F(BankTest, EditorKeepsItsBankWhenTheFileIsMissing)
{
    EditorBank bank;
    bank.slots[2].name = "KEEP.PCX";
    EXPECT_THROW(LoadEditorBank("nothere.def", bank), FatalError);
    EXPECT_EQ(bank.slots[2].name, "KEEP.PCX");
}

TEST_F(BankTest, AFailedSaveKeepsTheOldFileAndCache)
{
    folder.write("walls.def", "old");
    folder.write("walls.pot", "cache");
    EditorBank bank;
    bank.slots[0].name = "A.PCX";
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    EXPECT_THROW(SaveEditorBank("walls.def", bank), IoError);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(folder.read("walls.def"), "old");
    EXPECT_TRUE(folder.exists("walls.pot"));
}

TEST_F(BankTest, SkinnerLoadsPalettesTablesAndTextures)
{
    texture("Textures/Pal.pcx", 10, paletteA);
    texture("Textures/Flat.pcx", 20, paletteB);
    texture("Textures/Wall.pcx", 30, paletteC);
    folder.write("demo.def", "#images\r\n0=textures\\pal.pcx\r\n1=TEXTURES\\FLAT.PCX\r\n40000=x.pcx\r\n9=textures\\wall.pcx\r\n"
                             "#textures\r\n3=9-0\r\n1=0-1\r\n");
    SkinnerBank bank;
    bank.textures[7] = {5, 6, 5};
    const SkinnerBankLoad load = LoadSkinnerBank("demo.def", bank);
    EXPECT_EQ(load.imageCount, 3);
    EXPECT_EQ(bank.bankPalette, paletteA);
    EXPECT_EQ(bank.colourPalette, paletteB);
    EXPECT_EQ(bank.colourRemap, BuildColourRemap(paletteA, paletteB));
    ASSERT_NE(bank.image(9), nullptr);
    EXPECT_EQ(bank.image(0)[1], 10);
    EXPECT_EQ(bank.image(1)[1], NearestColour(paletteA, paletteB.red[20], paletteB.green[20], paletteB.blue[20], 1, 254));
    EXPECT_EQ(bank.image(9)[1], NearestColour(paletteA, paletteC.red[30], paletteC.green[30], paletteC.blue[30], 1, 254));
    EXPECT_EQ(bank.image(2), nullptr);
    EXPECT_EQ(bank.image(-1), nullptr);
    EXPECT_EQ(bank.image(SkinnerBank::Capacity), nullptr);
    EXPECT_EQ(bank.lastTexture, 3);
    EXPECT_EQ(bank.textures[3], (AnimTexture{9, 0, 9}));
    EXPECT_EQ(bank.textures[7], (AnimTexture{5, 6, 5})); // not listed: kept
    EXPECT_FALSE(load.cache.readFromCache);
    EXPECT_TRUE(folder.exists("demo.POT"));
    EXPECT_TRUE(LoadSkinnerBank("demo.def", bank).cache.readFromCache);

    AnimateTextures(bank);
    EXPECT_EQ(bank.textures[3].current, 8);
    EXPECT_EQ(bank.textures[1].current, 1);
    EXPECT_EQ(bank.textures[7].current, 5); // beyond lastTexture
}

TEST_F(BankTest, RunsAtTheLimitsOfTheRangeAnimateInBothEditors)
{
    std::filesystem::copy_file(std::string(ORMEL_TEST_DATA) + "/def/runs-at-int-limits.def", folder.path() / "limits.def");
    SkinnerBank skinner;
    LoadSkinnerBank("limits.def", skinner);
    EditorBank editor;
    LoadEditorBank("limits.def", editor);
    for (int tick = 0; tick < 3; ++tick) {
        AnimateTextures(skinner);
        for (AnimTexture& texture : editor.textures)
            StepTexture(texture);
    }
    EXPECT_EQ(skinner.textures[0].current, INT32_MAX);
    EXPECT_EQ(skinner.textures[1].current, INT32_MAX - 1);
    EXPECT_EQ(skinner.textures[2].current, -3);
    EXPECT_EQ(editor.textures[0], skinner.textures[0]);
    EXPECT_EQ(editor.textures[1], skinner.textures[1]);
}

TEST_F(BankTest, SkinnerWithOneImageKeepsItsFlatColours)
{
    texture("pal.pcx", 10, paletteA);
    folder.write("one.def", "#images\r\n0=pal.pcx\r\n");
    SkinnerBank bank;
    bank.colourPalette = paletteC;
    bank.colourRemap[5] = 42;
    bank.lastTexture = 12;
    LoadSkinnerBank("one.def", bank);
    EXPECT_EQ(bank.colourPalette, paletteC);
    EXPECT_EQ(bank.colourRemap[5], 42);
    EXPECT_EQ(bank.lastTexture, 0);
}

TEST_F(BankTest, SkinnerKeepsItsBankWhenAFileIsMissingOrWrong)
{
    texture("pal.pcx", 10, paletteA);
    texture("small.pcx", 10, paletteA, 64);
    texture("old.pcx", 10, paletteC);
    folder.write("old.def", "#images\r\n0=old.pcx\r\n#textures\r\n0=0-0\r\n");
    folder.write("missing.def", "#images\r\n0=pal.pcx\r\n1=textures\\gone.pcx\r\n#textures\r\n0=1-1\r\n");
    folder.write("wrong.def", "#images\r\n0=pal.pcx\r\n1=small.pcx\r\n");
    SkinnerBank bank;
    LoadSkinnerBank("old.def", bank);
    const std::uint8_t* oldImage = bank.image(0);

    try {
        LoadSkinnerBank("missing.def", bank);
        FAIL();
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "K3X: The file TEXTURES\\GONE.PCX is missing");
    }
    try {
        LoadSkinnerBank("wrong.def", bank);
        FAIL();
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("SMALL.PCX: the image is 64 x 64 pixels"));
    }
    EXPECT_THROW(LoadSkinnerBank("nothere.def", bank), FatalError);
    EXPECT_EQ(bank.image(0), oldImage);
    EXPECT_EQ(bank.bankPalette, paletteC);
    EXPECT_EQ(bank.textures[0], (AnimTexture{0, 0, 0}));
    EXPECT_FALSE(folder.exists("missing.POT"));
}

} // namespace
