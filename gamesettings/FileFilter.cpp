#include "FileFilter.h"

#include <QStringList>

QString QtFilter(std::string_view pairs)
{
    const QStringList parts = QString::fromUtf8(pairs.data(), static_cast<qsizetype>(pairs.size())).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the parentheses of the description: rebuild them there.
        QString description = parts[i];
        if (const qsizetype open = description.lastIndexOf('('); open > 0 && description.endsWith(')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            if (pattern == "*.*") {
                patterns << "*"; // every file, those without an extension too
                continue;
            }
            patterns << pattern.toLower();
            if (pattern.toUpper() != pattern.toLower())
                patterns << pattern.toUpper();
        }
        patterns.removeDuplicates();
        filters << description + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}
