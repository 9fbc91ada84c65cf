#pragma once
// Interface translation: each program reads the texts of the current language from its own
// dictionary into a numbered table, then gives its controls their texts by entry number.
//
// A dictionary is an INI file: [Config] Language names the current language; one section per
// language, named by the language, holds entries "0" to "256".
#include "DictionaryEntries.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int DictionarySize = 257;             // entries 0 to 256
inline constexpr const char* MissingEntry = "********";

// Process-wide, as each program has one interface language.
extern std::string LanguageName;
extern std::array<std::string, DictionarySize> DictionaryTable;

// Reads [Config] Language and, when it is set, all 257 entries of that language from the
// current folder's dictionary `fileName`; an entry the language lacks (or leaves empty) becomes
// "********". A missing dictionary or language leaves the table as it was. Never writes.
void LoadDictionary(std::string_view fileName);

// The loaded text of one entry of the program's table.
const std::string& DictionaryText(const DictionaryEntry& entry);

// The names a help file for `prefix` may have, in the order they are looked for:
// prefix_Language.chm, prefix.chm, prefix_Language.html, prefix.html.
std::vector<std::string> HelpFileNames(std::string_view prefix);
// The help file to open for `prefix` in the current folder: the first of those names found.
std::optional<std::filesystem::path> HelpFileFor(std::string_view prefix);
