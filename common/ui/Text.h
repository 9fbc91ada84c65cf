#pragma once
// Texts of settings files and dictionaries are 8-bit: UTF-8 where they are valid UTF-8, else
// the Western Windows code page of files made on other systems.
#include "DictionaryEntries.h"

#include <QString>

#include <string>

QString Ui(const std::string& text);
std::string Native(const QString& text);

// The loaded text of a dictionary entry, for a control's text ("********" where the language
// lacks it).
QString Entry(const DictionaryEntry& entry);
// The same for texts that dictionaries made before the entry existed may lack: those show the
// entry's English text.
QString EntryOrEnglish(const DictionaryEntry& entry);
