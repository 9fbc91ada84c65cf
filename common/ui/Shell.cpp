#include "Shell.h"

#include "LocalisationUnit.h"
#include "ProgramFinder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

#include <filesystem>
#include <optional>

namespace {

std::optional<std::filesystem::path> findProgram(std::string_view name)
{
    const std::filesystem::path executableFolder = QCoreApplication::applicationDirPath().toStdString();
    return FindProgram(name, std::filesystem::current_path(), executableFolder);
}

} // namespace

ShellHooks& Shell()
{
    static ShellHooks hooks;
    return hooks;
}

bool ProgramExists(std::string_view name) { return findProgram(name).has_value(); }

void StartProgram(std::string_view name)
{
    if (Shell().startProgram)
        return Shell().startProgram(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (const auto program = findProgram(name))
        QProcess::startDetached(QString::fromStdString(program->string()), {}, QDir::currentPath());
}

void OpenHelp(std::string_view prefix)
{
    const auto file = HelpFileFor(prefix);
    if (!file)
        return;
    const QString path = QString::fromStdString(std::filesystem::absolute(*file).string());
    if (Shell().openDocument)
        Shell().openDocument(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
