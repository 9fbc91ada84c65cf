#include "LocalisationUnit.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

void resetTable()
{
    LanguageName.clear();
    DictionaryTable.fill("");
}

} // namespace

TEST(Dictionary, LanguageSectionIgnoresCaseAndMissingEntriesArePlaceholders)
{
    TempFolder folder;
    const std::string text = "[Config]\r\nLanguage=English\r\n[english]\r\n0=&File\r\n07=x\r\n5=\r\n256=Last\r\n257=Beyond\r\n";
    folder.write("Test.dic", text);
    resetTable();
    LoadDictionary("Test.dic");
    EXPECT_EQ(LanguageName, "English");
    EXPECT_EQ(DictionaryTable[0], "&File");
    EXPECT_EQ(DictionaryTable[7], MissingEntry);
    EXPECT_EQ(DictionaryTable[5], MissingEntry);
    EXPECT_EQ(DictionaryTable[256], "Last");
    EXPECT_EQ(folder.read("Test.dic"), text) << "loading never writes";
}

TEST(Dictionary, LanguageWithoutSectionGivesPlaceholdersEverywhere)
{
    TempFolder folder;
    folder.write("Test.dic", "[Config]\nLanguage=Klingon\n[English]\n0=File\n");
    resetTable();
    LoadDictionary("Test.dic");
    for (const std::string& entry : DictionaryTable)
        EXPECT_EQ(entry, MissingEntry);
}

TEST(Dictionary, MissingDictionaryOrLanguageLeavesTheTable)
{
    TempFolder folder;
    resetTable();
    DictionaryTable[3] = "kept";
    LoadDictionary("Missing.dic");
    EXPECT_EQ(LanguageName, "");
    EXPECT_EQ(DictionaryTable[3], "kept");
    folder.write("NoLanguage.dic", "[English]\n3=changed\n");
    LoadDictionary("NoLanguage.dic");
    EXPECT_EQ(DictionaryTable[3], "kept");
    EXPECT_FALSE(folder.exists("Missing.dic"));
}

TEST(Dictionary, NameMatchesWithoutRegardToCase)
{
    TempFolder folder;
    folder.write("ormel2.DIC", "[Config]\nLanguage=Francais\n[Francais]\n1=Quitter\n");
    resetTable();
    LoadDictionary("Ormel2.dic");
    EXPECT_EQ(DictionaryTable[1], "Quitter");
}

TEST(HelpFile, LanguageFileThenPlainThenHtml)
{
    TempFolder folder;
    LanguageName = "Francais";
    EXPECT_FALSE(HelpFileFor("Ormel2"));
    folder.write("Ormel2.html", "");
    EXPECT_EQ(HelpFileFor("Ormel2")->filename(), "Ormel2.html");
    folder.write("Ormel2_Francais.html", "");
    EXPECT_EQ(HelpFileFor("Ormel2")->filename(), "Ormel2_Francais.html");
    folder.write("Ormel2.chm", "");
    EXPECT_EQ(HelpFileFor("Ormel2")->filename(), "Ormel2.chm");
    folder.write("Ormel2_Francais.chm", "");
    EXPECT_EQ(HelpFileFor("Ormel2")->filename(), "Ormel2_Francais.chm");
    LanguageName.clear();
    folder.write("Ormel2_.chm", "");
    EXPECT_EQ(HelpFileFor("Ormel2")->filename(), "Ormel2_.chm");
}
