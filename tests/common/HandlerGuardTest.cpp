// The handler guard and the shared form helpers (texts, the idle repaint), under the suite's own application object.
#include "Dialogs.h"
#include "Errors.h"
#include "IdleRepaint.h"
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

    void textsInMemoryAreUtf8BothWays()
    {
        QCOMPARE(Ui("D\xc3\xa9ployer l\xe2\x80\x99\xc5\x93uvre"), QString::fromUtf8("Déployer l’œuvre"));
        QCOMPARE(Native(QString::fromUtf8("Déployer l’œuvre")), std::string("D\xc3\xa9ployer l\xe2\x80\x99\xc5\x93uvre"));
    }

    void theIdleRepaintRunsOnlyWhileTheWindowIsShown()
    {
        QWidget window;
        int repaints = 0;
        const IdleRepaint* idle = new IdleRepaint(&window, [&repaints] { ++repaints; });
        QVERIFY(!idle->Running());
        window.show();
        QCOMPARE(repaints, 1); // at once, not a tick later
        QVERIFY(idle->Running());
        QTRY_VERIFY(repaints >= 3);
        window.hide();
        QVERIFY(!idle->Running());
        const int hidden = repaints;
        QTest::qWait(5 * IdleRepaint::Interval);
        QCOMPARE(repaints, hidden);
    }
};

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, "Guard test");
    HandlerGuardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HandlerGuardTest.moc"
