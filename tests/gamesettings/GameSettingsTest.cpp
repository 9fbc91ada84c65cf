#include "GameSettings.h"

#include "Errors.h"
#include "NumberText.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

// The game folder is the test's folder, as at a program start there.
class GameSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartGameSettings();
        GameSettings = {};
    }
    void TearDown() override
    {
        SetWriteFaultHook(nullptr);
        SetDecimalSeparator('.');
    }

    TempFolder folder;
};

const char* const SavedDefaults =
    "[Game]\r\n"
    "SmallFontBitmap=\r\n"
    "SmallFontWidth=3\r\n"
    "SmallFontHeight=7\r\n"
    "BigFontBitmap=\r\n"
    "BigFontWidth=8\r\n"
    "BigFontHeight=15\r\n"
    "DeveloperVideo=\r\n"
    "IntroVideo=\r\n"
    "IntroMusic=\r\n"
    "ExtroVideo=\r\n"
    "ExtroMusic=\r\n"
    "InventoryLeft=0\r\n"
    "InventoryTop=0\r\n"
    "InventoryStringLeft=0\r\n"
    "InventoryStringTop=0\r\n"
    "InventoryAlpha=0\r\n"
    "WeaponLeft=0.800000011920929\r\n"
    "WeaponTop=0\r\n"
    "WeaponStringLeft=0.800000011920929\r\n"
    "WeaponStringTop=0\r\n"
    "WeaponAlpha=0\r\n"
    "LifeIcon=\r\n"
    "LifeLeft=0\r\n"
    "LifeStringTop=0.870000004768372\r\n"
    "LifeStringLeft=0\r\n"
    "LifeTop=0.870000004768372\r\n"
    "LifeWidth=0.103000000119209\r\n"
    "LifeHeight=0.120999999344349\r\n"
    "LifeAlpha=0\r\n"
    "GolemIcon=\r\n"
    "GolemLeft=0.400000005960464\r\n"
    "GolemTop=0.870000004768372\r\n"
    "GolemStringLeft=0.400000005960464\r\n"
    "GolemStringTop=0.870000004768372\r\n"
    "GolemWidth=0.103000000119209\r\n"
    "GolemHeight=0.120999999344349\r\n"
    "GolemAlpha=0\r\n"
    "CrossIcon=\r\n"
    "CrossLeft=0\r\n"
    "CrossTop=0.870000004768372\r\n"
    "CrossWidth=0.103000000119209\r\n"
    "CrossHeight=0.120999999344349\r\n"
    "CrossAlpha=0\r\n"
    "TimerHealth=2.5\r\n"
    "TimerLeft=0\r\n"
    "TimerTop=0\r\n"
    "StartLevel=\r\n"
    "StartSaveNumber=1000\r\n"
    "CameraMinDistance=0\r\n"
    "CameraMaxDistance=0\r\n"
    "CameraStep=0\r\n"
    "MenuSound=\r\n"
    "TimerSound=\r\n"
    "CameraSound=\r\n"
    "HelpFile=\r\n"
    "GameTitle=Ormel 2 Player\r\n";

TEST_F(GameSettingsTest, SavesDefaultsAsTheExactTextWhateverTheLocaleSeparator)
{
    SetDecimalSeparator(','); // the user's locale; the start forces "."
    StartGameSettings();
    LoadGameSettings();
    SaveGameSettings();
    EXPECT_EQ(folder.read("game.ini"), SavedDefaults);

    // Read back under the same start, every value is what was written.
    GameSettings.WeaponLeft = 0;
    LoadGameSettings();
    EXPECT_EQ(GameSettings.WeaponLeft, 0.8f);
    EXPECT_EQ(GameSettings.TimerHealth, 2.5f);
}

TEST_F(GameSettingsTest, LoadsEachValueOrItsDefault)
{
    const struct {
        const char* file;
        std::function<void(const TGameSettings&)> check;
    } cases[] = {
        {"[Game]\r\nStartSaveNumber=0x10\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.StartSaveNumber, 16); }},
        {"[Game]\r\nCameraStep=abc\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.CameraStep, 0); }},
        {"[Game]\r\nTimerHealth=abc\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.TimerHealth, 2.5f); }},
        {"[Game]\r\nTimerHealth=0x10\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.TimerHealth, 2.5f); }},
        {"[Game]\r\nGameTitle=\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.GameTitle, "Ormel 2 Player"); }},
        {"[Game]\r\nCameraStep=5\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.GameTitle, "Ormel 2 Player"); }},
        {"[Game]\r\nWeaponLeft=0.5\r\nCrossAlpha=-5\r\n",
         [](const TGameSettings& s) {
             EXPECT_EQ(s.WeaponLeft, 0.5f);
             EXPECT_EQ(s.CrossAlpha, -5);
         }},
        // A number that does not fit a 32-bit float does not convert.
        {"[Game]\r\nTimerTop=1e50\r\nTimerLeft=-1e39\r\n",
         [](const TGameSettings& s) {
             EXPECT_EQ(s.TimerTop, 0.0f);
             EXPECT_EQ(s.TimerLeft, 0.0f);
         }},
        {"[game]\r\ngametitle=Lower\r\nMenuSound = SOUND\\A.WAV \r\n",
         [](const TGameSettings& s) {
             EXPECT_EQ(s.GameTitle, "Ormel 2 Player"); // keys are compared exactly
             EXPECT_EQ(s.MenuSound, "SOUND\\A.WAV");   // sections are not
         }},
        {"[Other]\r\nGameTitle=Not mine\r\n", [](const TGameSettings& s) { EXPECT_EQ(s.GameTitle, "Ormel 2 Player"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        folder.write("game.ini", c.file);
        GameSettings.CameraStep = 99;
        LoadGameSettings();
        c.check(GameSettings);
    }
}

TEST_F(GameSettingsTest, SaveKeepsOtherKeysAndSections)
{
    folder.write("game.ini", "[Other]\r\nA=1\r\n[Game]\r\nCustom=yes\r\nGameTitle=Old\r\n[Last]\r\nB=2\r\n");
    LoadGameSettings();
    EXPECT_EQ(GameSettings.GameTitle, "Old");
    GameSettings.GameTitle = "New";
    SaveGameSettings();

    const std::string text = folder.read("game.ini");
    EXPECT_EQ(text.rfind("[Other]\r\nA=1\r\n[Game]\r\nCustom=yes\r\nGameTitle=New\r\nSmallFontBitmap=\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("HelpFile=\r\n[Last]\r\nB=2\r\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\r\n[Last]\r\nB=2\r\n")) << text;
}

// One file, one encoding: the title and the paths stay Windows-1252 through a load and a save.
TEST_F(GameSettingsTest, EightBitTextsKeepTheirBytes)
{
    folder.write("game.ini", "[Game]\r\nGameTitle=Ch\xE2teau\x92s caves\r\nHelpFile=AIDE\\\xC9T\xC9.HTM\r\n");
    LoadGameSettings();
    EXPECT_EQ(GameSettings.GameTitle, "Château’s caves");
    SaveGameSettings();
    const std::string text = folder.read("game.ini");
    EXPECT_NE(text.find("GameTitle=Ch\xE2teau\x92s caves\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("HelpFile=AIDE\\\xC9T\xC9.HTM\r\n"), std::string::npos) << text;
}

TEST_F(GameSettingsTest, GolemKeysAreCarriedThrough)
{
    folder.write("game.ini", "[Game]\r\nGolemIcon=GOLEM.PCX\r\nGolemLeft=0.3\r\nGolemAlpha=0x20\r\n");
    LoadGameSettings();
    SaveGameSettings();
    const std::string text = folder.read("game.ini");
    EXPECT_NE(text.find("GolemIcon=GOLEM.PCX\r\n"), std::string::npos);
    EXPECT_NE(text.find("GolemLeft=0.300000011920929\r\n"), std::string::npos);
    EXPECT_NE(text.find("GolemAlpha=32\r\n"), std::string::npos);
    EXPECT_NE(text.find("GolemHeight=0.120999999344349\r\n"), std::string::npos); // absent: its default
}

TEST_F(GameSettingsTest, FailedSaveKeepsTheOldFileAndTheValues)
{
    folder.write("game.ini", "[Game]\r\nGameTitle=Kept\r\n; a comment\r\n");
    LoadGameSettings();
    GameSettings.GameTitle = "Changed";
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    try {
        SaveGameSettings();
        FAIL() << "the save should fail";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("game.ini"), std::string::npos);
    }
    EXPECT_EQ(folder.read("game.ini"), "[Game]\r\nGameTitle=Kept\r\n; a comment\r\n");
    EXPECT_EQ(GameSettings.GameTitle, "Changed");
}

// A minimum above its maximum is refused and nothing is written (equal values agree: the form's
// test saves them).
TEST_F(GameSettingsTest, AMinimumAboveItsMaximumIsNotSaved)
{
    folder.write("game.ini", "[Game]\r\nCameraMinDistance=1\r\n");
    GameSettings.CameraMinDistance = 5000;
    GameSettings.CameraMaxDistance = 1200;
    EXPECT_THROW(SaveGameSettings(), FormatError);
    EXPECT_EQ(folder.read("game.ini"), "[Game]\r\nCameraMinDistance=1\r\n");
}

TEST_F(GameSettingsTest, UnreadableFileGivesDefaultsAndTheSaveFails)
{
    std::filesystem::create_directory(folder.path() / "game.ini");
    GameSettings.CameraStep = 7;
    EXPECT_THROW(LoadGameSettings(), IoError);
    EXPECT_EQ(GameSettings.CameraStep, 0);
    EXPECT_EQ(GameSettings.GameTitle, "Ormel 2 Player");
    EXPECT_THROW(SaveGameSettings(), IoError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "game.ini"));
}

TEST_F(GameSettingsTest, LoadEntersTheGameFolder)
{
    std::filesystem::create_directory(folder.path() / "elsewhere");
    std::filesystem::current_path(folder.path() / "elsewhere");
    folder.write("game.ini", "[Game]\r\nGameTitle=Found\r\n");
    LoadGameSettings();
    EXPECT_EQ(GameSettings.GameTitle, "Found");
    EXPECT_EQ(std::filesystem::current_path(), folder.path());
}

TEST(RelativePaths, OnlyPathsInsideTheFolderAreStoredUpperCaseWithBackslashes)
{
    const struct {
        const char* folder;
        const char* path;
        const char* game;  // RelativeToGameFolder
        const char* level; // RelativeToLevelFolder
    } cases[] = {
        {"/games/Demo", "/games/Demo/Sound/Click.wav", "SOUND\\CLICK.WAV", ""},
        {"/games/Demo", "/GAMES/DEMO/sound/click.wav", "SOUND\\CLICK.WAV", ""},
        {"/GAMES/DEMO", "/games/Demo/Fonts/./Old/../Big.pcx", "FONTS\\BIG.PCX", ""},
        {"/games/Demo", "/games/Demo2/X.PCX", "", ""},           // a longer folder name is outside
        {"/games/Demo", "/other/games/Demo/X.pcx", "", ""},      // so is a match further in
        {"/games/Demo", "/games/Demo", "", ""},                  // the folder itself names no file
        {"/games/Demo", "/games/Demo/", "", ""},
        {"/games/Demo/", "/games/Demo/A.lev", "A.LEV", ""},
        {"/games/Demo", "/games/Demo/Level/First.lev", "LEVEL\\FIRST.LEV", "FIRST.LEV"},
        {"/games/Demo", "/games/Demo/LEVEL/Sub/x.lev", "LEVEL\\SUB\\X.LEV", "SUB\\X.LEV"},
        {"/games/Demo", "/games/Demo/LEVEL2/x.lev", "LEVEL2\\X.LEV", ""},
        {"/games/Demo", "/games/Demo/First.lev", "FIRST.LEV", ""},
        {"C:\\GAMES\\DEMO", "C:\\Games\\Demo\\Sfx\\Menu.wav", "SFX\\MENU.WAV", ""},
        {"C:\\GAMES\\DEMO", "D:\\Other\\Font.pcx", "", ""},
        {"C:\\GAME", "C:\\GAME2\\X.PCX", "", ""},
        {"/", "/x/y.wav", "X\\Y.WAV", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + c.path);
        GameFolder = c.folder;
        GameFolderPath.clear();
        EXPECT_EQ(RelativeToGameFolder(c.path), c.game);
        EXPECT_EQ(RelativeToLevelFolder(c.path), c.level);
    }
}

TEST(RelativePaths, AFileReachedThroughALinkedFolderIsInside)
{
    const TempFolder folder;
    std::filesystem::create_directories(folder.path() / "real" / "Sound");
    folder.write("real/Sound/Tick.wav", "");
    std::filesystem::create_directory_symlink(folder.path() / "real", folder.path() / "link");
    std::filesystem::current_path(folder.path() / "real");
    StartGameSettings();
    EXPECT_EQ(RelativeToGameFolder((folder.path() / "link" / "Sound" / "Tick.wav").string()), "SOUND\\TICK.WAV");
    EXPECT_EQ(RelativeToGameFolder((folder.path() / "Sound" / "Tick.wav").string()), "");
}

TEST(Fractions, AcceptOnlyDecimalNumbersThatFitA32BitFloat)
{
    SetDecimalSeparator('.');
    EXPECT_EQ(ParseFraction("0.5"), 0.5f);
    EXPECT_EQ(ParseFraction("-1E-5"), -1e-5f);
    EXPECT_EQ(ParseFraction("3.4e38"), 3.4e38f);
    EXPECT_EQ(ParseFraction("-3.40282356e38"), -std::numeric_limits<float>::max()); // rounds to the largest float
    for (const char* refused : {"", "-", "0,5", "1e50", "-1e39", "3.4028236e38", "abc", "0x10", "$10", "1e"})
        EXPECT_FALSE(ParseFraction(refused)) << refused;
}

// The page shows the fewest digits that read back as the same float; game.ini keeps the widened
// 15 digits (as SavesEveryKeyInTableOrder checks).
TEST(Fractions, AreShownWithTheFewestDigitsThatReadBackTheSame)
{
    SetDecimalSeparator('.');
    const struct {
        float value;
        const char* shown;
    } cases[] = {
        {0.87f, "0.87"}, {0.45f, "0.45"}, {-0.125f, "-0.125"}, {1000.0f, "1000"}, {0.0f, "0"},
        {1e-5f, "1E-5"}, {0.0001f, "0.0001"}, {3.4028235e38f, "3.4028235E38"},
        {123456789.0f, "123456790"}, // held as 123456792; 123456790 lies nearer it than any other float
        {16777217.0f, "16777216"},   // above 2^24 a float holds even numbers only
        {1.0f / 3.0f, "0.33333334"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FractionText(c.value), c.shown);
        EXPECT_EQ(ParseFraction(FractionText(c.value)), c.value) << c.shown;
    }
}

} // namespace
