#include "Shell.h"

#include "Dialogs.h"
#include "LocalisationUnit.h"
#include "ProgramFinder.h"
#include "Text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace {

std::filesystem::path executableFolder() { return QCoreApplication::applicationDirPath().toStdString(); }

bool openDocument(const QString& path)
{
    if (Shell().openDocument)
        return Shell().openDocument(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

ShellHooks& Shell()
{
    static ShellHooks hooks;
    return hooks;
}

std::vector<std::filesystem::path> ProgramFolders(ProgramKind kind)
{
    if (kind == ProgramKind::OfTheGame)
        return {std::filesystem::current_path(), executableFolder()};
    if (!Shell().suiteFolders.empty())
        return Shell().suiteFolders;
    std::vector<std::filesystem::path> folders{executableFolder()};
    const std::filesystem::path installed = ORMEL_INSTALLED_PROGRAMS;
    std::error_code ec;
    if (!std::filesystem::equivalent(installed, folders.front(), ec))
        folders.push_back(installed);
    return folders;
}

std::optional<std::filesystem::path> LocateProgram(std::string_view name, ProgramKind kind)
{
    return FindProgram(name, ProgramFolders(kind));
}

std::optional<std::filesystem::path> FindSuiteProgram(std::string_view name)
{
    return LocateProgram(name, ProgramKind::OfTheSuite);
}

bool ProgramExists(std::string_view name, ProgramKind kind) { return LocateProgram(name, kind).has_value(); }

bool StartProgram(std::string_view name, ProgramKind kind)
{
    if (Shell().startProgram) {
        Shell().startProgram(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        return true;
    }
    const auto program = LocateProgram(name, kind);
    if (program)
        QProcess::startDetached(QString::fromStdString(program->string()), {}, QDir::currentPath());
    return program.has_value();
}

void OpenFolder(QWidget* parent, const QString& folder, const QString& notShown)
{
    if (!openDocument(folder))
        ShowError(parent, notShown.arg(folder));
}

void OpenHelp(QWidget* parent, std::string_view prefix, const DictionaryEntry& notOpened, const DictionaryEntry& missing)
{
    const auto file = HelpFileFor(prefix);
    if (!file) {
        QStringList names;
        for (const std::string& name : HelpFileNames(prefix))
            names << Ui(name);
        return ShowError(parent, EntryOrEnglish(missing).arg(names.join(", ")));
    }
    const QString path = QString::fromStdString(std::filesystem::absolute(*file).string());
    if (!openDocument(path))
        ShowError(parent, EntryOrEnglish(notOpened).arg(path));
}
