#pragma once
// The texts the editors' document comforts show (Edit menu, questions, recovery, recent files,
// the command line). Each editor hands its own: FromTable takes them from the editor's dictionary
// table, where the editor joined the document rows (common/DocumentEntries.h) at its own numbers;
// a row the table lacks, or the dictionary (a game project made before the entry existed), shows
// its English text.
#include "DictionaryEntries.h"

#include <QString>

struct DocumentTexts {
    QString caption; // the program's own caption
    QString editMenu, undo, redo, undoNamed, redoNamed, untitled, saveQuestion, save, discard, cancel,
        recoverQuestion, recover, damagedRecovery, recentMenu, missingRecent, refusedArgument;

    static DocumentTexts FromTable(const QString& caption, DictionaryEntries table);
    static DocumentTexts English(const QString& caption = {}) { return FromTable(caption, {}); }
};
