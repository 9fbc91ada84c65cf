#include "Errors.h"
#include "IniFiles32.h"
#include "NumberText.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string makeIni(const TempFolder& folder, std::string_view text) { return folder.write("test.ini", text).string(); }

} // namespace

TEST(IniLookup, MissingFileReadsDefaults)
{
    TempFolder folder;
    const TIniFile32 ini((folder.path() / "none.ini").string());
    EXPECT_EQ(ini.ReadString("Config", "Language", ""), "");
    EXPECT_EQ(ini.ReadInteger("Config", "Renderer", 42), 42);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Config", "Speed", 1.5), 1.5);
}

TEST(IniLookup, SectionsIgnoreCaseKeysDoNot)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, "[game]\r\ngametitle=Quest\r\nGameTitle=Other\r\n[ Game ]\r\nX=1\r\n"));
    EXPECT_EQ(ini.ReadString("Game", "gametitle", "-"), "Quest");
    EXPECT_EQ(ini.ReadString("Game", "GameTitle", "-"), "Other");
    EXPECT_EQ(ini.ReadString("Game", "X", "-"), "-"); // blanks inside the brackets count
    EXPECT_EQ(ini.ReadString(" Game ", "X", "-"), "1");
}

TEST(IniLookup, TrimsKeysValuesAndControlCharacters)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, "\t[S]  \n  Width  =  12  \r\nTitle=a=b\rTabbed\t=\tv\x01\r\n"));
    EXPECT_EQ(ini.ReadInteger("S", "Width", 0), 12);
    EXPECT_EQ(ini.ReadString("S", "Title", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", "Tabbed", ""), "v");
}

TEST(IniLookup, FirstOccurrenceWinsEvenWhenEmpty)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, "[S]\nKey=\nKey=5\n[T]\nA=1\n[t]\nA=2\n"));
    EXPECT_EQ(ini.ReadString("S", "Key", "def"), "def");
    EXPECT_EQ(ini.ReadString("T", "A", ""), "1");
}

TEST(IniLookup, CommentsBlankLinesAndStrayLines)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, "Orphan=1\n; comment\n\n   \n[S]\nno equals sign\n;A=2\nA=3\n"));
    EXPECT_EQ(ini.Lines, (std::vector<std::string>{"Orphan=1", "[S]", "no equals sign", "A=3"}));
    EXPECT_EQ(ini.ReadString("S", "A", ""), "3");
    EXPECT_EQ(ini.ReadString("S", "", "def"), "def");
}

TEST(IniLookup, NulEndsTheText)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, std::string("[S]\nA=1\0\nB=2\n", 13)));
    EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "B", "none"), "none");
}

TEST(IniLookup, UnreadableFileFailsCreation)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "folder.ini");
    EXPECT_THROW(TIniFile32((folder.path() / "folder.ini").string()), IoError);
}

struct IntegerCase {
    const char* text;
    std::int32_t expected;
};

class IniIntegers : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegers, ConvertOrGiveDefault)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, std::string("[S]\nV=") + GetParam().text + "\n"));
    EXPECT_EQ(ini.ReadInteger("S", "V", -99), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, IniIntegers,
                         testing::Values(IntegerCase{"12", 12}, IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31},
                                         IntegerCase{"1F", -99}, IntegerCase{"", -99}, IntegerCase{"-5", -5},
                                         IntegerCase{"+7", 7}, IntegerCase{"$10", 16}, IntegerCase{"0x", -99},
                                         IntegerCase{"2147483647", 2147483647},
                                         IntegerCase{"-2147483648", -2147483647 - 1},
                                         IntegerCase{"2147483648", -99}, IntegerCase{"99999999999999999999", -99},
                                         IntegerCase{"0xFFFFFFFF", -99}, IntegerCase{"0x80000000", -99},
                                         IntegerCase{"0x7FFFFFFF", 2147483647}, IntegerCase{"0x000000002", 2},
                                         IntegerCase{"0x100000000", -99},
                                         IntegerCase{"1 2", -99}, IntegerCase{"0x-5", -99}, IntegerCase{"12.0", -99}));

TEST(IniFloats, ReadWithTheCurrentSeparator)
{
    TempFolder folder;
    const TIniFile32 ini(makeIni(folder, "[S]\nA=2.5\nB=2,5\nC=-1E-5\nD=0x10\nE=abc\nF=1e400\nG=.5\nH=3\n"));
    SetDecimalSeparator('.');
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "A", 9), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "B", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "C", 9), -1e-5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "D", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "E", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "F", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "G", 9), 0.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "H", 9), 3);
    SetDecimalSeparator(',');
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "A", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "B", 9), 2.5);
    SetDecimalSeparator('.');
}

TEST(IniFloats, WriteAndReadBackUnderEitherSeparator)
{
    TempFolder folder;
    for (char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        TIniFile32 ini((folder.path() / "f.ini").string());
        ini.WriteFloat("S", "V", 2.5);
        EXPECT_EQ(ini.ReadString("S", "V", ""), separator == '.' ? "2.5" : "2,5");
        EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "V", 0), 2.5);
        ini.Destroy();
    }
    SetDecimalSeparator('.');
}

TEST(IniWrite, KeyGoesBeforeTheNextSectionAndIndicesFollow)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[One]\nA=1\n[Two]\nC=3\n");
    TIniFile32 ini(path);
    ini.WriteString("One", "B", "2");
    EXPECT_EQ(ini.Lines, (std::vector<std::string>{"[One]", "A=1", "B=2", "[Two]", "C=3"}));
    EXPECT_EQ(ini.ReadString("Two", "C", ""), "3");
    ini.WriteString("Two", "D", "4");
    ini.WriteString("Three", "E", "5");
    ini.WriteString("Four", "", "ignored");
    EXPECT_EQ(ini.Lines, (std::vector<std::string>{"[One]", "A=1", "B=2", "[Two]", "C=3", "D=4", "[Three]", "E=5", "[Four]"}));
    ini.Destroy();
    EXPECT_EQ(folder.read("test.ini"), "[One]\r\nA=1\r\nB=2\r\n[Two]\r\nC=3\r\nD=4\r\n[Three]\r\nE=5\r\n[Four]\r\n");
}

TEST(IniWrite, ReplacesAKeyAndNormalisesTheFile)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "; settings\n\n[Config]\n  Renderer = 1 \n\n;end");
    TIniFile32 ini(path);
    ini.WriteInteger("config", "Renderer", -5);
    EXPECT_EQ(folder.read("test.ini"), "; settings\n\n[Config]\n  Renderer = 1 \n\n;end"); // nothing before Destroy
    ini.Destroy();
    EXPECT_EQ(folder.read("test.ini"), "[Config]\r\nRenderer=-5\r\n");
    EXPECT_EQ(TIniFile32(path).ReadInteger("Config", "Renderer", 0), -5);
}

TEST(IniWrite, EmptyKeyOnlyMakesTheSection)
{
    TempFolder folder;
    TIniFile32 ini((folder.path() / "new.ini").string());
    ini.WriteString("Config", "", "x");
    ini.WriteString("Config", "", "x");
    EXPECT_EQ(ini.Lines, std::vector<std::string>{"[Config]"});
    EXPECT_TRUE(ini.Modified);
    ini.Destroy();
}

TEST(IniWrite, ReadOnlyUseLeavesTheFileUntouched)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "; keep me\n[S]\nA = 1\n");
    const auto stamp = std::filesystem::last_write_time(path);
    {
        TIniFile32 ini(path);
        EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
        ini.Destroy();
    }
    EXPECT_EQ(folder.read("test.ini"), "; keep me\n[S]\nA = 1\n");
    EXPECT_EQ(std::filesystem::last_write_time(path), stamp);
}

TEST(IniWrite, FailedSaveReachesTheCallerAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[S]\nA=1\n");
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    TIniFile32 ini(path);
    ini.WriteString("S", "A", "2");
    EXPECT_THROW(ini.Destroy(), IoError);
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(folder.read("test.ini"), "[S]\nA=1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary file left";
}

TEST(IniWrite, SaveIntoAMissingFolderFails)
{
    TempFolder folder;
    TIniFile32 ini((folder.path() / "missing" / "x.ini").string());
    ini.WriteString("S", "A", "1");
    EXPECT_THROW(ini.Destroy(), IoError);
}

// The files are Windows-1252 on disk, the texts UTF-8 in memory, both ways.
TEST(IniText, Windows1252OnDiskUtf8InMemory)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[Espa\xF1ol]\r\nTitle=Ch\xE2teau\x92s caves\r\n");
    TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("Español", "Title", ""), "Château’s caves");
    ini.WriteString("Español", "Menu", "l’été œuvre €");
    ini.Destroy();
    EXPECT_EQ(folder.read("test.ini"), "[Espa\xF1ol]\r\nTitle=Ch\xE2teau\x92s caves\r\nMenu=l\x92\xE9t\xE9 \x9Cuvre \x80\r\n");
}

TEST(IniText, ByteOrderMarkIsSkippedAndNotWrittenBack)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "\xEF\xBB\xBF[Game]\r\nGameTitle=Ch\xC3\xA2teau\r\n");
    TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("Game", "GameTitle", ""), "Château");
    ini.WriteString("Game", "GameTitle", "Quest");
    ini.Destroy();
    EXPECT_EQ(folder.read("test.ini"), "[Game]\r\nGameTitle=Quest\r\n"); // one [Game] section
}

TEST(IniText, ACharacterTheFileCannotHoldIsRefusedAndTheOldFileKept)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[S]\nA=1\n");
    TIniFile32 ini(path);
    ini.WriteString("S", "A", "Zoë 日本");
    try {
        ini.Destroy();
        ADD_FAILURE() << "saved";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("日"), std::string::npos) << error.what();
    }
    EXPECT_EQ(folder.read("test.ini"), "[S]\nA=1\n");
}

TEST(IniText, AWrittenValueIsOneLine)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[Game]\nGameTitle=Old\n");
    TIniFile32 ini(path);
    ini.WriteString("Game", "GameTitle", "My Game\r\n[Game]\r\nStartLevel=EVIL.LEV");
    ini.WriteString("Game", "HelpFile", std::string("a\rb\nc\0d", 7));
    EXPECT_EQ(ini.Lines, (std::vector<std::string>{"[Game]", "GameTitle=My Game [Game] StartLevel=EVIL.LEV", "HelpFile=a b c d"}));
    ini.Destroy();
    const TIniFile32 again(path);
    EXPECT_EQ(again.Sections.size(), 1u);
    EXPECT_EQ(again.ReadString("Game", "StartLevel", "none"), "none");
}

TEST(IniText, SectionNamesMatchTheirCapitalsInEveryLetterOfTheCodePage)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[\xC9T\xC9 \x8C\x8A]\nA=1\n");
    TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("été œš", "A", ""), "1");
    ini.WriteString("été œš", "B", "2");
    EXPECT_EQ(ini.Sections.size(), 1u);
    ini.Destroy();
}

#ifndef NDEBUG
TEST(IniWriteDeathTest, AWriterDroppedWithoutDestroyAbortsADebugBuild)
{
    TempFolder folder;
    const std::string path = makeIni(folder, "[S]\n");
    EXPECT_DEATH(
        {
            TIniFile32 ini(path);
            ini.WriteString("S", "A", "1");
        },
        "test.ini were dropped");
    // A caller giving up on an exception may drop them.
    EXPECT_THROW(
        {
            TIniFile32 ini(path);
            ini.WriteString("S", "A", "1");
            throw IoError("given up");
        },
        IoError);
}
#endif
