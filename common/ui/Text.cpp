#include "Text.h"

#include "LocalisationUnit.h"

#include <QStringDecoder>

QString Ui(const std::string& text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Native(const QString& text) { return text.toStdString(); }

QString Entry(const DictionaryEntry& entry) { return Ui(DictionaryText(entry)); }

QString EntryOrEnglish(const DictionaryEntry& entry)
{
    const std::string& text = DictionaryText(entry);
    if (text.empty() || text == MissingEntry)
        return QString::fromUtf8(entry.english.data(), static_cast<qsizetype>(entry.english.size()));
    return Ui(text);
}
