#include "LocalisationUnit.h"

#include "FileResolver.h"
#include "IniFiles32.h"

#include <system_error>

std::string LanguageName;
std::array<std::string, DictionarySize> DictionaryTable;

void LoadDictionary(std::string_view fileName)
{
    const TIniFile32 dictionary(FileInCurrentFolder(fileName).string());
    LanguageName = dictionary.ReadString("Config", "Language", "");
    if (LanguageName.empty())
        return;
    for (int i = 0; i < DictionarySize; ++i)
        DictionaryTable[static_cast<std::size_t>(i)] = dictionary.ReadString(LanguageName, std::to_string(i), MissingEntry);
}

const std::string& DictionaryText(const DictionaryEntry& entry)
{
    return DictionaryTable.at(static_cast<std::size_t>(entry.number));
}

std::vector<std::string> HelpFileNames(std::string_view prefix)
{
    const std::string base(prefix);
    return {base + "_" + LanguageName + ".chm", base + ".chm", base + "_" + LanguageName + ".html", base + ".html"};
}

std::optional<std::filesystem::path> HelpFileFor(std::string_view prefix)
{
    for (const std::string& name : HelpFileNames(prefix)) {
        const std::filesystem::path path = FileInCurrentFolder(name);
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
            return path;
    }
    return std::nullopt;
}
