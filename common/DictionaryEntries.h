#pragma once
// The entries of a program's dictionary. Each program has one table of them in its core folder
// (one row per entry: number, the name the code calls it by, what it is shown on, English text);
// the forms, `k3x check` and the tests all read that table, so no entry number is written
// anywhere else.
//
// The forms name an entry through their program's lookup, e.g. LauncherText("Quit1"): the lookup
// runs while compiling, and a name missing from the table stops the build.
#include <span>
#include <string_view>

struct DictionaryEntry {
    int number;               // the key of the text in each language section, "0" to "256"
    std::string_view name;    // how the code names it: the control's name, or what the text says
    std::string_view use;     // where the program shows it
    std::string_view english; // the text of the English dictionary
};

using DictionaryEntries = std::span<const DictionaryEntry>;

consteval const DictionaryEntry& EntryNamed(DictionaryEntries table, std::string_view name)
{
    for (const DictionaryEntry& entry : table)
        if (entry.name == name)
            return entry;
    throw "the dictionary table has no entry of that name";
}

// A table the programs can use: numbers inside the dictionary (0 to 256), no number or name twice,
// every entry with its use and its English text. Each table checks itself with a static_assert.
consteval bool IsWellFormed(DictionaryEntries table)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DictionaryEntry& entry = table[i];
        if (entry.number < 0 || entry.number > 256 || entry.name.empty() || entry.use.empty() || entry.english.empty())
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (table[j].number == entry.number || table[j].name == entry.name)
                return false;
    }
    return true;
}

// The row of `rows` named `name`, at another number: how a program takes a shared row (the
// document's, the dialogs') at the number allotted to it.
consteval DictionaryEntry RowAt(DictionaryEntries rows, std::string_view name, int number)
{
    DictionaryEntry row = EntryNamed(rows, name);
    row.number = number;
    return row;
}
