#pragma once
// Texts of settings files and dictionaries are 8-bit: UTF-8 where they are valid UTF-8, else
// the Western Windows code page of files made on other systems.
#include <QString>

#include <string>

QString Ui(const std::string& text);
std::string Native(const QString& text);

// Entry `index` (0 to 256) of the program's dictionary table, for a control's text.
QString Entry(int index);
// The same, or `fallback` where the dictionary lacks the entry (older dictionaries of a game
// project made before the entry existed).
QString EntryOr(int index, const QString& fallback);
