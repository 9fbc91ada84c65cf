#pragma once
// The application object of every program. It is the handler guard: an exception that reaches
// the top of an event handler is shown in a message box and the program carries on.
#include <QApplication>

class OrmelApplication : public QApplication {
public:
    // Sets the application title and the decimal separator of the user's locale.
    OrmelApplication(int& argc, char** argv, const QString& title);
    bool notify(QObject* receiver, QEvent* event) override;
};
