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

} // namespace

OrmelApplication::OrmelApplication(int& argc, char** argv, const QString& title)
    : QApplication(argc, argv)
{
    // The name only: a display name would be appended to every window's caption by Qt.
    setApplicationName(title);
    UseUserLocaleDecimalSeparator();
}

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
