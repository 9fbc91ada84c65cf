// The handler guard and the shared form helpers, under the suite's own application object.
#include "Dialogs.h"
#include "Errors.h"
#include "OrmelApplication.h"
#include "Text.h"

#include <QPushButton>
#include <QTest>

class HandlerGuardTest : public QObject {
    Q_OBJECT

private slots:
    void anExceptionInAHandlerIsShownAndTheProgramCarriesOn()
    {
        QStringList errors;
        Hooks().error = [&](const QString& text) { errors << text; };
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, [&] {
            ++clicks;
            throw IoError("Cannot write /x/game.ini: Permission denied");
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(errors, QStringList(2, "Cannot write /x/game.ini: Permission denied"));
        Hooks().error = nullptr;
    }

    void textsDecodeAsUtf8ElseWesternCodePage()
    {
        QCOMPARE(Ui("D\xc3\xa9ployer"), QString::fromUtf8("Déployer"));
        QCOMPARE(Ui("D\xe9ployer"), QString::fromUtf8("Déployer"));
        QCOMPARE(Native(QString::fromUtf8("Déployer")), std::string("D\xc3\xa9ployer"));
    }
};

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, "Guard test");
    HandlerGuardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HandlerGuardTest.moc"
