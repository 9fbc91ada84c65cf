#include "FileResolver.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(FileResolver, ExactPathsAreUsedAsTheyAre)
{
    TempFolder folder;
    folder.write("Textures/Brick.pcx", "x");
    EXPECT_EQ(ResolvePath("Textures/Brick.pcx"), "Textures/Brick.pcx");
    EXPECT_EQ(ResolvePath("Brick.pcx", folder.path() / "Textures"), folder.path() / "Textures" / "Brick.pcx");
}

TEST(FileResolver, CaseAndBackslashesAreForgiven)
{
    TempFolder folder;
    folder.write("Textures/Brick.pcx", "x");
    EXPECT_EQ(ResolvePath("TEXTURES\\BRICK.PCX"), "Textures/Brick.pcx");
    EXPECT_EQ(ResolvePath("textures//./brick.PCX"), "Textures/Brick.pcx");
    EXPECT_EQ(ResolvePath("TEXTURES\\BRICK.PCX", folder.path()), folder.path() / "Textures" / "Brick.pcx");
}

TEST(FileResolver, ExactSpellingWinsOverOtherCases)
{
    TempFolder folder;
    folder.write("brick.pcx", "lower");
    folder.write("BRICK.PCX", "upper");
    EXPECT_EQ(ResolvePath("BRICK.PCX"), "BRICK.PCX");
    EXPECT_EQ(ResolvePath("Brick.pcx"), "BRICK.PCX"); // the first in name order
}

// A name not (yet) on disk keeps the folders found as they are and the rest as written, part by
// part: what is made there is what the same name finds afterwards.
TEST(FileResolver, UnresolvedNamesNameWhereTheyWouldBe)
{
    TempFolder folder;
    folder.write("Textures/Brick.pcx", "x");
    EXPECT_EQ(ResolvePath("TEXTURES\\MISSING.PCX"), "Textures/MISSING.PCX");
    EXPECT_EQ(ResolvePath("Nowhere/x"), "Nowhere/x");
    EXPECT_EQ(ResolvePath("textures\\New\\A.PCX", folder.path()), folder.path() / "Textures" / "New" / "A.PCX");
    EXPECT_EQ(FileInCurrentFolder("new.ini"), folder.path() / "new.ini");
    std::filesystem::create_directories(ResolvePath("TEXTURES\\NEW\\DEEP"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Textures" / "NEW" / "DEEP"));
    EXPECT_EQ(ResolvePath("textures\\new\\deep"), "Textures/NEW/DEEP");
}

TEST(FileResolver, NameComparison)
{
    EXPECT_TRUE(SameNameIgnoringCase("Ormel2.DIC", "ormel2.dic"));
    EXPECT_FALSE(SameNameIgnoringCase("Ormel2.dic", "Ormel2.di"));
    // The 8-bit letters too, the accented capitals and those of the 0x80 row.
    EXPECT_TRUE(SameNameIgnoringCase("ÉTÉ ŒUVRE ŠKODA ŽELEZO ŸVES", "été œuvre škoda železo ÿves"));
    EXPECT_FALSE(SameNameIgnoringCase("×", "÷")); // signs, not letters
    EXPECT_FALSE(SameNameIgnoringCase("e", "é"));
}

TEST(FileResolver, NamesInsideTheFolderOnly)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name; // nullptr: refused
    } cases[] = {
        {"/game/brick.pcx", "/game", "brick.pcx"},
        {"/game/textures/brick.pcx", "/game", "textures/brick.pcx"},
        {"/GAME/Textures/brick.pcx", "/game", "Textures/brick.pcx"},
        {"/game/brick.pcx", "/game/", "brick.pcx"},
        {"C:\\Game\\brick.pcx", "c:\\game", "brick.pcx"},
        {"/game/./textures//brick.pcx", "/game/", "textures/brick.pcx"},
        {"/brick.pcx", "/", "brick.pcx"},
        {"/game2/brick.pcx", "/game", nullptr},      // a sibling that starts with the same text
        {"/gamebrick.pcx", "/game", nullptr},
        {"/other/game/brick.pcx", "/game", nullptr}, // contains the folder, but not inside it
        {"/game", "/game", nullptr},
        {"/game/", "/game", nullptr},
        {"/gam", "/game", nullptr},
        {"/game/brick.pcx", "", nullptr},
    };
    for (const auto& c : cases) {
        const auto name = NameInsideFolder(c.path, c.folder);
        if (c.name)
            EXPECT_EQ(name, std::optional<std::string>(c.name)) << c.path << " in " << c.folder;
        else
            EXPECT_FALSE(name.has_value()) << c.path << " in " << c.folder;
    }
}

TEST(HasExtension, ComparesTheLastFourCharactersWithoutRegardToCase)
{
    const struct {
        const char* name;
        const char* extension;
        bool has;
    } cases[] = {
        {"PIC.bmp", ".BMP", true}, {"ABMP", ".BMP", false}, {"PIC.jpeg", ".JPG", false},
        {".BMP", ".BMP", true},    {"BMP", ".BMP", false},  {"PIC.jpeg", ".JPEG", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasExtension(c.name, c.extension), c.has) << c.name << " against " << c.extension;
}
