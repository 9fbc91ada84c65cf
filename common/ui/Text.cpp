#include "Text.h"

#include "LocalisationUnit.h"

QString Ui(const std::string& text) { return QString::fromStdString(text); }

std::string Native(const QString& text) { return text.toStdString(); }

QString Entry(const DictionaryEntry& entry) { return Ui(DictionaryText(entry)); }

QString EntryOrEnglish(const DictionaryEntry& entry)
{
    const std::string& text = DictionaryText(entry);
    if (text.empty() || text == MissingEntry)
        return QString::fromUtf8(entry.english.data(), static_cast<qsizetype>(entry.english.size()));
    return Ui(text);
}
