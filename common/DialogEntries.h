#pragma once
// The texts of the standard buttons of every program's message boxes and questions: Yes, No and
// OK here; Cancel, Save and Discard are the document rows of those names (DocumentEntries.h),
// which the editors hold already and the launcher takes as one row. Qt's own translations are
// not used: the buttons speak the program's dictionary. A program takes each row at the number
// allotted to it:
//     DialogEntry("Yes", 96), DialogEntry("No", 97), DialogEntry("OK", 98),
// and hands its table to common/ui's SetDialogButtons when it translates its window.
#include "DictionaryEntries.h"

#include <array>
#include <cstddef>

inline constexpr DictionaryEntry DialogButtonRows[] = {
    {0, "Yes", "the Yes button of questions", "&Yes"},
    {1, "No", "the No button of questions", "&No"},
    {2, "OK", "the OK button of messages and questions", "OK"},
};

consteval DictionaryEntry DialogEntry(std::string_view name, int number) { return RowAt(DialogButtonRows, name, number); }

// The three rows at `first` to first + 2, for a table made with JoinEntries.
consteval std::array<DictionaryEntry, std::size(DialogButtonRows)> DialogEntries(int first)
{
    std::array<DictionaryEntry, std::size(DialogButtonRows)> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = RowAt(DialogButtonRows, DialogButtonRows[i].name, first + static_cast<int>(i));
    return rows;
}
