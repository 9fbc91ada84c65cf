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

TEST(FileResolver, UnresolvedNamesKeepTheirText)
{
    TempFolder folder;
    folder.write("Textures/Brick.pcx", "x");
    EXPECT_EQ(ResolvePath("TEXTURES\\MISSING.PCX"), "TEXTURES\\MISSING.PCX");
    EXPECT_EQ(ResolvePath("Nowhere/x"), "Nowhere/x");
    EXPECT_EQ(FileInCurrentFolder("new.ini"), folder.path() / "new.ini");
}

TEST(FileResolver, NameComparison)
{
    EXPECT_TRUE(SameNameIgnoringCase("Ormel2.DIC", "ormel2.dic"));
    EXPECT_FALSE(SameNameIgnoringCase("Ormel2.dic", "Ormel2.di"));
}
