#pragma once
// Texts in memory are UTF-8 everywhere (the files' 8-bit texts are converted where they are read
// and written, by Windows1252.h): the forms take and give them as they are.
#include "DictionaryEntries.h"

#include <QString>

#include <string>

QString Ui(const std::string& text);
std::string Native(const QString& text);

// A menu or label text without its accelerator marker: "&File" reads "File", "&&" stays "&".
QString WithoutAccelerator(QString text);

// The loaded text of a dictionary entry, for a control's text ("********" where the language
// lacks it).
QString Entry(const DictionaryEntry& entry);
// The same for texts that dictionaries made before the entry existed may lack: those show the
// entry's English text.
QString EntryOrEnglish(const DictionaryEntry& entry);
// A shared row (the document's, the dialogs') as a program shows it: the program's entry of that
// name in `table`, read as EntryOrEnglish; the row's English text when the table lacks the row.
QString SharedRowText(DictionaryEntries table, const DictionaryEntry& row);
