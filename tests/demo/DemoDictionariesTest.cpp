// Every text the programs give their controls exists in every language the demo game offers,
// and each program's help opens in each of them: the launcher chooses the language, each
// program loads its dictionary, as at a real start.
#include "LocalisationUnit.h"
#include "Ormel2Settings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The demo game's settings, dictionaries and help pages, copied into the current folder.
void copyDemo()
{
    const fs::path demo = ORMEL_DEMO_SOURCE;
    for (const fs::path& folder : {demo, demo / "help"})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), entry.path().filename());
}

std::vector<std::string> demoLanguages()
{
    std::vector<std::string> languages = ReadLauncherSettings().Languages;
    std::erase(languages, std::string());
    return languages;
}

} // namespace

TEST(DemoGame, OffersEnglishAndFrench)
{
    const TempFolder folder;
    copyDemo();
    EXPECT_EQ(demoLanguages(), (std::vector<std::string>{"English", "Français"}));
}

// The demo's settings and dictionaries are Windows-1252, as the programs read them: a text typed
// into them as UTF-8 would show as "Ã©" where "é" was meant.
TEST(DemoGame, SettingsAndDictionariesHoldNoUtf8)
{
    for (const std::string file : {"Ormel2.ini", "Ormel2.dic", "Partiva.dic", "Tessaro3D.dic", "Pigmenta.dic"}) {
        std::ifstream in(fs::path(ORMEL_DEMO_SOURCE) / file, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        ASSERT_FALSE(bytes.empty()) << file;
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            const auto next = static_cast<unsigned char>(bytes[i + 1]);
            EXPECT_FALSE(lead >= 0xC2 && lead <= 0xEF && next >= 0x80 && next <= 0xBF)
                << file << " holds a UTF-8 sequence at byte " << i;
        }
    }
}

TEST(DemoGame, EveryProgramHasEveryTextItUsesInEveryLanguage)
{
    const TempFolder folder;
    copyDemo();
    for (const std::string& language : demoLanguages()) {
        ASSERT_TRUE(WriteLanguage(language).empty());
        for (const SuiteDictionary& dictionary : SuiteDictionaries) {
            const std::string file(dictionary.file);
            if (!fs::exists(fs::path(ORMEL_DEMO_SOURCE) / file)) {
                ADD_FAILURE() << "the demo game has no " << file;
                continue;
            }
            LanguageName.clear();
            DictionaryTable.fill("");
            LoadDictionary(file);
            EXPECT_EQ(LanguageName, language) << file;
            for (const DictionaryEntry& entry : dictionary.entries) {
                const std::string& text = DictionaryText(entry);
                EXPECT_NE(text, MissingEntry) << file << " has no entry " << entry.number << " in " << language;
                EXPECT_FALSE(text.empty()) << file << " entry " << entry.number << " in " << language;
                // The table's English text is the English dictionary's.
                if (language == "English") {
                    EXPECT_EQ(text, entry.english) << file << " entry " << entry.number;
                }
            }
        }
    }
}

TEST(DemoGame, EveryProgramsHelpOpensInEveryLanguage)
{
    const TempFolder folder;
    copyDemo();
    for (const std::string& language : demoLanguages()) {
        LanguageName = language;
        for (const SuiteDictionary& dictionary : SuiteDictionaries) {
            if (dictionary.entries.empty())
                continue; // the level editor, player and tile bank editor bring their own help
            const std::string prefix = fs::path(dictionary.file).stem().string();
            const auto help = HelpFileFor(prefix);
            EXPECT_EQ(help.value_or("none").filename(), prefix + "_" + language + ".html");
        }
    }
}
