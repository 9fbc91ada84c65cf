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

QString Entry(int index) { return Ui(DictionaryTable.at(static_cast<std::size_t>(index))); }

QString EntryOr(int index, const QString& fallback)
{
    const std::string& text = DictionaryTable.at(static_cast<std::size_t>(index));
    return text.empty() || text == MissingEntry ? fallback : Ui(text);
}
