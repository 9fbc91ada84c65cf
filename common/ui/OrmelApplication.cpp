#include "OrmelApplication.h"

#include "Dialogs.h"
#include "Errors.h"
#include "NumberText.h"
#include "PrivateFolder.h"
#include "Termination.h"

#include <QStandardPaths>

#include <exception>
#include <filesystem>

namespace {

// Shows the exception being handled.
void showCaught(QWidget* parent)
{
    try {
        throw;
    } catch (const std::exception& error) {
        ShowError(parent, QString::fromStdString(error.what()));
    } catch (...) {
        ShowError(parent, QStringLiteral("Unexpected error"));
    }
}

QString applicationTitle;

// The suite's folders of the user's settings and data (recovery copies) are the user's alone.
// One that cannot be made private is left as it is here: the recovery store refuses it with a
// message when it writes there.
void makeUserFoldersPrivate()
{
    for (const auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::GenericDataLocation}) {
        const QString base = QStandardPaths::writableLocation(location);
        if (base.isEmpty())
            continue;
        const std::filesystem::path folder = (base + QStringLiteral("/Ormel2")).toStdString();
        try {
            MakePrivateFolder(folder, folder);
        } catch (const OrmelError&) {
        }
    }
}

} // namespace

OrmelApplication::OrmelApplication(int& argc, char** argv, const QString& title, const QString& program)
    : QApplication(argc, argv)
{
    // No display name: Qt would append it to every window's caption.
    applicationTitle = title;
    setOrganizationName(QStringLiteral("Ormel2"));
    setApplicationName(program.isEmpty() ? title : program);
    for (int i = 1; i < argc; ++i)
        arguments_ << QString::fromLocal8Bit(argv[i]);
    UseUserLocaleDecimalSeparator();
    makeUserFoldersPrivate();
    EndProgramOnTerminationSignals();
}

QString OrmelApplication::Title() { return applicationTitle.isEmpty() ? applicationName() : applicationTitle; }

bool OrmelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCaught(activeWindow());
    }
    return false;
}

bool RunGuarded(QWidget* parent, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (...) {
        showCaught(parent);
    }
    return false;
}
