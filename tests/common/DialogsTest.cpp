// The message boxes and questions speak the program's dictionary: their buttons take the rows
// Yes, No, OK and Cancel of the program's table, not Qt's English. The real boxes are shown and
// read as a user sees them.
#include "DialogEntries.h"
#include "Dialogs.h"
#include "DocumentEntries.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "TempFolder.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr DictionaryEntry own[] = {{0, "Caption", "window caption", "Notes"}};
constexpr auto table = JoinEntries(own, DialogEntries(41), std::array{DocumentEntry("Cancel", 44)});
static_assert(IsWellFormed(table));

// The texts of the buttons of the box a call shows, the default one first; the box is then
// answered with Escape.
QStringList buttonsOf(const std::function<void()>& show)
{
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        poll.stop();
        for (const QPushButton* button : box->findChildren<QPushButton*>())
            if (button->isVisible())
                button->isDefault() ? texts.prepend(button->text()) : texts.append(button->text());
        QTest::keyClick(box, Qt::Key_Escape);
    });
    poll.start(5);
    show();
    return texts;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetDialogButtons({}); }

    void theButtonsSpeakTheProgramsDictionary_data()
    {
        QTest::addColumn<QByteArray>("dictionary"); // Windows-1252
        QTest::addColumn<bool>("joined");
        QTest::addColumn<QStringList>("yesNo");
        QTest::addColumn<QStringList>("okCancel");
        QTest::addColumn<QStringList>("ok");
        const char* french = "[Config]\r\nLanguage=Fran\xE7" "ais\r\n[Fran\xE7" "ais]\r\n41=&Oui\r\n42=&Non\r\n"
                             "43=Valider\r\n44=Annuler\r\n";
        QTest::newRow("French") << QByteArray(french) << true << QStringList{"&Non", "&Oui"} << QStringList{"Annuler", "Valider"}
                                << QStringList{"Valider"};
        // A game project made before the rows existed, and a program that has not joined them.
        QTest::newRow("dictionary without the rows")
            << QByteArray("[Config]\r\nLanguage=Fran\xE7" "ais\r\n[Fran\xE7" "ais]\r\n0=Notes\r\n") << true
            << QStringList{"&No", "&Yes"} << QStringList{"Cancel", "OK"} << QStringList{"OK"};
        QTest::newRow("table without the rows") << QByteArray(french) << false << QStringList{"&No", "&Yes"}
                                                << QStringList{"Cancel", "OK"} << QStringList{"OK"};
    }

    void theButtonsSpeakTheProgramsDictionary()
    {
        QFETCH(QByteArray, dictionary);
        QFETCH(bool, joined);
        QFETCH(QStringList, yesNo);
        QFETCH(QStringList, okCancel);
        QFETCH(QStringList, ok);
        const TempFolder folder;
        folder.write("Notes.dic", dictionary.toStdString());
        LoadDictionary("Notes.dic");
        SetDialogButtons(joined ? DictionaryEntries(table) : DictionaryEntries(own));

        // No and Cancel are the defaults of the questions: Enter there loses nothing.
        QCOMPARE(buttonsOf([] { AskYesNo(nullptr, "Deploy", "Empty the folder?"); }), yesNo);
        QCOMPARE(buttonsOf([] { AskOkCancel(nullptr, "New bank", "Start a new bank?"); }), okCancel);
        QCOMPARE(buttonsOf([] { ShowMessage(nullptr, "Saved."); }), ok);
        QCOMPARE(buttonsOf([] { ShowError(nullptr, "Cannot write game.ini."); }), ok);
        QStringList asked = buttonsOf([] { AskText(nullptr, "Deploy", "Folder:", "REDIST"); });
        asked.sort();
        QStringList expected = okCancel;
        expected.sort();
        QCOMPARE(asked, expected);
    }

    void escapeAndEnterKeepWhatWouldBeLost()
    {
        const auto answer = [](Qt::Key key, const std::function<bool()>& ask) {
            QTimer::singleShot(0, [key] {
                if (QWidget* box = QApplication::activeModalWidget())
                    QTest::keyClick(box, key);
            });
            return ask();
        };
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QVERIFY(!answer(key, [] { return AskYesNo(nullptr, "Deploy", "Empty the folder?"); }));
            QVERIFY(!answer(key, [] { return AskOkCancel(nullptr, "New bank", "Start a new bank?"); }));
        }
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QCOMPARE(AskSaveDiscardCancel(nullptr, "Notes", "Save?", {"&Save", "&Discard", "Cancel"}), SaveChoice::Cancel);
    }
};

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, "Dialogs test", "Notes");
    DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DialogsTest.moc"
