#include "Errors.h"
#include "FixedPoint.h"
#include "K3xFiles.h"
#include "TempFolder.h"
#include "TextLine.h"

#include <gtest/gtest.h>

namespace {

TEST(NormaliseLine, DropsBlanksAndCapitalises)
{
    const std::pair<const char*, const char*> cases[] = {
        {" \t0 = textures\\brick.pcx\r", "0=TEXTURES\\BRICK.PCX"},
        {"  # Images  ", "#IMAGES"},
        {"\r\n", "\n"},
        {"\xe9t\xe9", "\xe9T\xe9"}, // letters outside a..z stay
        {"", ""},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(NormaliseLine(line), expected) << line;
    EXPECT_EQ(NormaliseLine(std::string(300, 'a')), std::string(255, 'A'));
    // 255 characters of the file, however long they are in UTF-8 ("\xc3\xa9" is one).
    std::string accents;
    for (int i = 0; i < 300; ++i)
        accents += "\xc3\xa9";
    EXPECT_EQ(NormaliseLine(accents), accents.substr(0, 2 * 255));
}

TEST(FixedPoint, ShiftsKeepTheSignAndWrap)
{
    static_assert(ShiftRight(-8, 1) == -4);
    static_assert(ShiftRight(-1, 31) == -1);
    static_assert(ShiftRight(0x7fffffff, 30) == 1);
    static_assert(ShiftLeft(-1, 4) == -16);
    static_assert(ShiftLeft(0x40000000, 1) == static_cast<std::int32_t>(0x80000000u));
    static_assert(ShiftLeft(3, 0) == 3);
}

TEST(FileExists, OnlyForFilesThatOpen)
{
    const TempFolder folder;
    folder.write("there.bin", "x");
    std::filesystem::create_directory(folder.path() / "sub");
    EXPECT_TRUE(FileExists("there.bin"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("sub"));
    EXPECT_FALSE(FileExists("absent.bin"));
}

TEST(ReadWholeFile, ReadsEveryByteAndNamesWhatFails)
{
    const TempFolder folder;
    folder.write("data.bin", std::string("a\0b\xff", 4));
    EXPECT_EQ(ReadWholeFile("data.bin"), (std::vector<std::uint8_t>{'a', 0, 'b', 0xff}));
    folder.write("empty.bin", "");
    EXPECT_TRUE(ReadWholeFile("empty.bin").empty());
    std::filesystem::create_directory(folder.path() / "sub");
    for (const char* name : {"absent.bin", "sub"}) {
        try {
            ReadWholeFile(name);
            ADD_FAILURE() << name;
        } catch (const IoError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
}

TEST(BinaryFile, ReadsAndWritesAtOffsetsWithoutShortening)
{
    const TempFolder folder;
    folder.write("blocks.bin", "0123456789");
    {
        BinaryFile file = BinaryFile::OpenOrCreate("blocks.bin");
        EXPECT_EQ(file.size(), 10u);
        const std::uint8_t ab[] = {'A', 'B'};
        EXPECT_EQ(file.WriteAt(ab, 4), 2u);
        std::uint8_t three[3] = {};
        EXPECT_EQ(file.ReadAt(three, 3), 3u);
        EXPECT_EQ(std::string(three, three + 3), "3AB");
        std::uint8_t past[4] = {};
        EXPECT_EQ(file.ReadAt(past, 8), 2u); // only what is there
    }
    EXPECT_EQ(folder.read("blocks.bin"), "0123AB6789");

    BinaryFile created = BinaryFile::OpenOrCreate("new.bin");
    EXPECT_EQ(created.size(), 0u);
    const std::uint8_t z[] = {'z'};
    created.WriteAt(z, 2);
    created.CloseFile();
    EXPECT_EQ(folder.read("new.bin"), std::string("\0\0z", 3));
}

} // namespace
