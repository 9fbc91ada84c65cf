#include "Text.h"

#include "LocalisationUnit.h"

#include <algorithm>

namespace {

QString english(const DictionaryEntry& entry)
{
    return QString::fromUtf8(entry.english.data(), static_cast<qsizetype>(entry.english.size()));
}

} // namespace

QString Ui(const std::string& text) { return QString::fromStdString(text); }

std::string Native(const QString& text) { return text.toStdString(); }

QString WithoutAccelerator(QString text)
{
    static const QString escapedAmpersand(QChar(0xFFFF));
    return text.replace("&&", escapedAmpersand).remove('&').replace(escapedAmpersand, "&");
}

QString Entry(const DictionaryEntry& entry) { return Ui(DictionaryText(entry)); }

QString EntryOrEnglish(const DictionaryEntry& entry)
{
    const std::string& text = DictionaryText(entry);
    if (text.empty() || text == MissingEntry)
        return english(entry);
    return Ui(text);
}

QString SharedRowText(DictionaryEntries table, const DictionaryEntry& row)
{
    const auto own = std::ranges::find(table, row.name, &DictionaryEntry::name);
    // The row's own number means nothing in this program's dictionary.
    return own != table.end() ? EntryOrEnglish(*own) : english(row);
}
