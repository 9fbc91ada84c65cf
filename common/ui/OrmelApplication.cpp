#include "OrmelApplication.h"

#include "Dialogs.h"
#include "NumberText.h"

#include <exception>

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
