#include "IniFiles32.h"
#include "Ormel2Settings.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(LauncherSettings, MissingFilesGiveTheDefaults)
{
    TempFolder folder;
    const LauncherSettings settings = ReadLauncherSettings();
    EXPECT_EQ(settings.Renderer, 0);
    EXPECT_EQ(settings.Languages, std::vector<std::string>{""});
    EXPECT_EQ(settings.GameTitle, "");
}

TEST(LauncherSettings, LanguagesRunFromZeroToNumber)
{
    TempFolder folder;
    folder.write("Ormel2.ini", "[Config]\nRenderer=7\n[Languages]\nNumber=2\n0=English\n2=Francais\n");
    folder.write("GAME.INI", "[Game]\nGameTitle=Quest\n");
    const LauncherSettings settings = ReadLauncherSettings();
    EXPECT_EQ(settings.Renderer, 7);
    EXPECT_EQ(settings.Languages, (std::vector<std::string>{"English", "", "Francais"}));
    EXPECT_EQ(settings.GameTitle, "Quest");

    folder.write("Ormel2.ini", "[Languages]\nNumber=-1\n0=English\n");
    EXPECT_TRUE(ReadLauncherSettings().Languages.empty());
}

TEST(LauncherSettings, GarbageAndUnreadableFilesGiveTheDefaults)
{
    TempFolder folder;
    folder.write("Ormel2.ini", std::string("\xff\xfe[Config\0Renderer=2", 20));
    EXPECT_EQ(ReadLauncherSettings().Renderer, 0);
    std::filesystem::remove(folder.path() / "Ormel2.ini");
    std::filesystem::create_directory(folder.path() / "Ormel2.ini");
    std::filesystem::create_directory(folder.path() / "game.ini");
    const LauncherSettings settings = ReadLauncherSettings();
    EXPECT_EQ(settings.Renderer, 0);
    EXPECT_EQ(settings.Languages, std::vector<std::string>{""});
}

// A file that holds the mode already keeps its bytes, comments included; a changed or missing mode
// is written (the file normalised), and a missing file is made.
TEST(LauncherSettings, RendererIsWrittenOnlyWhenItChanges)
{
    TempFolder folder;
    const std::string kept = "; Windows-1252\n[Config]\nRenderer = 0x7\n[Languages]\nNumber=0\n0=English\n";
    const struct {
        std::string before;
        std::int32_t mode;
        std::string after;
    } cases[] = {
        {kept, 7, kept},
        {kept, 1, "[Config]\r\nRenderer=1\r\n[Languages]\r\nNumber=0\r\n0=English\r\n"},
        {"; x\n[Config]\nRenderer=abc\n", 0, "[Config]\r\nRenderer=0\r\n"},
        {"; x\n[Config]\n", 0, "[Config]\r\nRenderer=0\r\n"},
        {"", -1, "[Config]\r\nRenderer=-1\r\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder.path() / "Ormel2.ini");
        if (!c.before.empty())
            folder.write("Ormel2.ini", c.before);
        WriteRenderer(c.mode);
        EXPECT_EQ(folder.read("Ormel2.ini"), c.after) << c.before << " " << c.mode;
    }
}

TEST(LauncherLanguage, EveryDictionaryGetsTheLanguage)
{
    TempFolder folder;
    folder.write("ORMEL2.DIC", "[Config]\nLanguage=English\n[English]\n0=File\n[Francais]\n0=Fichier\n");
    EXPECT_TRUE(WriteLanguage("Francais").empty());
    EXPECT_EQ(folder.read("ORMEL2.DIC"), "[Config]\r\nLanguage=Francais\r\n[English]\r\n0=File\r\n[Francais]\r\n0=Fichier\r\n");
    for (const char* made : {"Partiva.dic", "Editor.dic", "Player.dic", "Tessaro3D.dic", "Pigmenta.dic", "Mosaro.dic"})
        EXPECT_EQ(folder.read(made), "[Config]\r\nLanguage=Francais\r\n") << made;
}

TEST(LauncherLanguage, AFailedDictionaryDoesNotStopTheOthers)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "Editor.dic");
    const std::vector<std::string> failures = WriteLanguage("English");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("Editor.dic"), std::string::npos);
    EXPECT_TRUE(folder.exists("Player.dic"));
    EXPECT_TRUE(folder.exists("Mosaro.dic"));
}

TEST(LauncherPrograms, RenderingModeChoosesTheBuildWithFallback)
{
    const auto all = [](const std::string&) { return true; };
    const auto softwareOnly = [](const std::string& name) { return name == "EDITOR.EXE" || name == "PLAYER.EXE"; };
    const struct {
        std::int32_t renderer;
        bool (*exists)(const std::string&);
        const char* editor;
        const char* player;
    } cases[] = {
        {0, all, "EDITOR.EXE", "PLAYER.EXE"},       {1, all, "EDITOR_OGL.EXE", "PLAYER_OGL.EXE"},
        {2, all, "EDITOR_D3D.EXE", "PLAYER_D3D.EXE"}, {1, softwareOnly, "EDITOR.EXE", "PLAYER.EXE"},
        {7, all, "EDITOR.EXE", "PLAYER.EXE"},       {-1, all, "EDITOR.EXE", "PLAYER.EXE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LevelEditorProgram(c.renderer, c.exists), c.editor) << c.renderer;
        EXPECT_EQ(PlayerProgram(c.renderer, c.exists), c.player) << c.renderer;
    }
}
