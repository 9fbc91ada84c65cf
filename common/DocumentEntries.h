#pragma once
// The texts of the editors' document comforts (the Edit menu, the question before work is lost,
// recovery, recent files, the command line) are the same in each editor's dictionary but for
// their numbers. Their rows are written once here; an editor joins them to its own table at the
// numbers allotted to it:
//     inline constexpr auto PigmentaEntries = JoinEntries(PigmentaOwnEntries, DocumentEntries(60));
// and a program that needs one of them only takes that row: DocumentEntry("RefusedArgument", 40).
// common/ui's DocumentTexts finds them in the table by name.
#include "DictionaryEntries.h"

#include <algorithm>
#include <array>
#include <cstddef>

inline constexpr std::size_t DocumentEntryCount = 16;

// The rows, numbered from 0: row i is entry first + i of an editor.
inline constexpr DictionaryEntry DocumentEntryRows[DocumentEntryCount] = {
    {0, "EditMenu", "Edit menu", "&Edit"},
    {1, "Undo", "Edit menu: Undo, with nothing to undo", "&Undo"},
    {2, "Redo", "Edit menu: Redo, with nothing to redo", "&Redo"},
    {3, "UndoNamed", "Edit menu: Undo, %1 what it undoes (\"Set colour\")", "&Undo %1"},
    {4, "RedoNamed", "Edit menu: Redo, %1 what it redoes", "&Redo %1"},
    {5, "Untitled", "caption and questions: the name of a document never saved", "Untitled"},
    {6, "SaveQuestion", "question before unsaved work is lost, %1 the file name", "Save the changes to %1?"},
    {7, "Save", "that question's Save button", "&Save"},
    {8, "Discard", "that question's and the recovery question's Discard button", "&Discard"},
    {9, "Cancel", "that question's Cancel button", "Cancel"},
    {10, "RecoverQuestion", "question at start about work kept by a run that stopped, %1 its file, %2 when",
     "Unsaved work on %1 was kept when the program stopped (%2). Recover it?"},
    {11, "Recover", "the recovery question's Recover button", "&Recover"},
    {12, "DamagedRecovery", "message: a recovery copy cannot be used, %1 why, %2 where it was put",
     "A recovery copy cannot be used: %1. It has been set aside as %2."},
    {13, "RecentMenu", "File menu: the recent files submenu", "Recent &files"},
    {14, "MissingRecent", "message: a recent file is gone, %1 its path",
     "%1 no longer exists: it has been taken off the recent files."},
    {15, "RefusedArgument", "message: command-line arguments not opened, %1 them, %2 what the program opens",
     "%1 is not opened: this program opens %2."},
};

// The rows at `first` to first + DocumentEntryCount - 1.
consteval std::array<DictionaryEntry, DocumentEntryCount> DocumentEntries(int first)
{
    std::array<DictionaryEntry, DocumentEntryCount> rows{};
    for (std::size_t i = 0; i < DocumentEntryCount; ++i) {
        rows[i] = DocumentEntryRows[i];
        rows[i].number = first + static_cast<int>(i);
    }
    return rows;
}

// One row at `number`.
consteval DictionaryEntry DocumentEntry(std::string_view name, int number)
{
    return RowAt(DocumentEntryRows, name, number);
}

// A program's own rows followed by shared rows (the document's, the dialogs'), as one table.
template <std::size_t Own, std::size_t... More>
consteval std::array<DictionaryEntry, (Own + ... + More)> JoinEntries(const DictionaryEntry (&own)[Own],
                                                                    const std::array<DictionaryEntry, More>&... more)
{
    std::array<DictionaryEntry, (Own + ... + More)> table{};
    std::size_t next = 0;
    for (const DictionaryEntry& row : own)
        table[next++] = row;
    ((std::ranges::copy(more, table.begin() + static_cast<std::ptrdiff_t>(next)), next += More), ...);
    return table;
}
