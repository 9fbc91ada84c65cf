#include "OrmelApplication.h"

#include "Dialogs.h"
#include "NumberText.h"

#include <exception>

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
    } catch (const std::exception& error) {
        ShowError(activeWindow(), QString::fromStdString(error.what()));
    } catch (...) {
        ShowError(activeWindow(), QStringLiteral("Unexpected error"));
    }
    return false;
}
