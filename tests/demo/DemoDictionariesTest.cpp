// Every text the programs give their controls exists in every language the demo game offers,
// and each program's help opens in each of them: the launcher chooses the language, each
// program loads its dictionary, as at a real start.
#include "LocalisationUnit.h"
#include "Ormel2Settings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    EXPECT_EQ(demoLanguages(), (std::vector<std::string>{"English", "Francais"}));
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
                if (language == "English")
                    EXPECT_EQ(text, entry.english) << file << " entry " << entry.number;
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
