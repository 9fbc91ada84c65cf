#pragma once
// The application object of every program. It is the handler guard: an exception that reaches
// the top of an event handler is shown in a message box and the program carries on.
#include <QApplication>

#include <functional>

class OrmelApplication : public QApplication {
public:
    // Sets the application title (message boxes show it) and the decimal separator of the user's
    // locale. `program` ("Tessaro3D") names the user's own settings and data of the program
    // (QSettings, QStandardPaths::AppDataLocation: Ormel2/<program> in the user's folders).
    OrmelApplication(int& argc, char** argv, const QString& title, const QString& program = {});
    bool notify(QObject* receiver, QEvent* event) override;

    static QString Title();
    // The command-line arguments left once Qt took its own options (-platform, -style ...).
    QStringList Arguments() const { return arguments_; }

private:
    QStringList arguments_;
};

// The same guard for work done outside an event handler, as while a window sets itself up: an
// error is shown in a message box and false answered, and the caller carries on with what it
// had. Without it an error thrown while a program starts would end it.
bool RunGuarded(QWidget* parent, const std::function<void()>& work);
