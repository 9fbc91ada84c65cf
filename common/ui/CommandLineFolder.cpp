#include "CommandLineFolder.h"

#include "Dialogs.h"
#include "EditorDocument.h"

#include <QDir>
#include <QFileInfo>

SortedFiles SortCommandLine(const ProgramUsage& usage, const QStringList& arguments)
{
    std::vector<std::string> words;
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    const SortedArguments sorted = SortArguments(usage, words);
    SortedFiles files;
    for (const std::filesystem::path& file : sorted.byKind)
        files.byKind << QString::fromStdString(file.string());
    for (const std::string& argument : sorted.refused)
        files.refused << QString::fromStdString(argument);
    return files;
}

QStringList EnterFolderOfCommandLine(const ProgramUsage& usage, const QStringList& arguments)
{
    const SortedFiles files = SortCommandLine(usage, arguments);
    for (const QString& folder : files.byKind)
        if (!folder.isEmpty())
            QDir::setCurrent(folder);
    return files.refused;
}

QStringList EnterProjectOfCommandLine(const ProgramUsage& usage, const QStringList& arguments)
{
    // Options stay as they are; after "--" every argument is a file, whatever its first letter.
    QStringList absolute;
    bool options = true;
    for (const QString& argument : arguments) {
        const bool option = options && argument.startsWith('-');
        options = options && argument != QStringLiteral("--");
        absolute << (option ? argument : QFileInfo(argument).absoluteFilePath());
    }
    for (const QString& file : SortCommandLine(usage, absolute).byKind)
        if (!file.isEmpty()) {
            EnterProjectFolderOf(file);
            break;
        }
    return absolute;
}

void ShowRefusedArguments(QWidget* parent, const ProgramUsage& usage, const QStringList& refused, const QString& text)
{
    if (!refused.isEmpty())
        ShowError(parent, text.arg(refused.join(QStringLiteral(", ")), QString::fromStdString(usage.arguments)));
}
