// The launcher's deploy button: the question, the refusal of unsafe folders and files, the
// question before a folder of other files is emptied, the closing message with where the game went
// and what could not be copied.
#include "CopierTestHooks.h"
#include "Deploy.h"
#include "Dialogs.h"
#include "Ormel2Entries.h"
#include "Ormel2Unit.h"
#include "SafeWrite.h"
#include "Shell.h"
#include "TempFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

const char* const Dictionary = "[Config]\nLanguage=English\n[English]\n"
                               "14=Deploy the game\n15=Folder to deploy the game into:\n"
                               "16=The game has been deployed.\n17=Not this folder.\n30=Not a folder:\n"
                               "32=Empty it?\n33=Deployed into:\n";

// What the dialogs were asked and told during one click.
struct Answers {
    std::optional<QString> typed;
    QStringList asked;
    QStringList messages;
    QStringList errors;
    std::optional<bool> yes; // the answer to a yes-or-no question; unset: none expected
    QStringList questions;
    QStringList shown; // folders shown in the file manager

    void install()
    {
        Hooks() = {};
        Hooks().askText = [this](const QString& caption, const QString& prompt, const QString& value) {
            asked << caption << prompt << value;
            return typed;
        };
        Hooks().message = [this](const QString& text) { messages << text; };
        Hooks().error = [this](const QString& text) { errors << text; };
        Hooks().askYesNo = [this](const QString& caption, const QString& text) {
            questions << caption << text;
            return yes.value_or(false);
        };
        Shell().openDocument = [this](const QString& path) {
            shown << path;
            return true;
        };
    }
    // The lines of the closing message, the last question asked.
    QStringList closing() const { return questions.isEmpty() ? QStringList() : questions.last().split('\n'); }
};

// A small installation folder, made current.
struct Installation {
    TempFolder root;
    fs::path game = root.path() / "GAME";

    explicit Installation(const char* dictionary)
    {
        root.write("GAME/game.ini", "[Game]\nGameTitle=Quest\n");
        root.write("GAME/LEVELS/SKY.PCX", "sky");
        root.write("GAME/Ormel2.dic", dictionary);
        fs::current_path(game);
    }
};

} // namespace

class DeployFormTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        Hooks() = {};
        Shell() = {};
    }

    void deploysIntoTheOfferedFolder()
    {
        Installation installation(Dictionary);
        TOrmel2Form form;
        Answers answers;
        answers.install();
        answers.typed = QString::fromStdString((installation.root.path() / "REDIST").string());
        form.DeployButton->click();

        QCOMPARE(answers.asked, QStringList({"Deploy the game", "Folder to deploy the game into:", *answers.typed}));
        // game.ini (23 bytes) and SKY.PCX (3): the launcher's settings and dictionary stay behind.
        QCOMPARE(answers.questions, QStringList({"Deploy the game", "The game has been deployed.\n\nDeployed into:\n" +
                                                                         *answers.typed + "\nIt holds 2 files, 26 bytes."
                                                                         "\n\nOpen the folder?"}));
        QVERIFY(answers.shown.isEmpty()); // No
        QVERIFY(answers.messages.isEmpty() && answers.errors.isEmpty());
        QCOMPARE(installation.root.read("REDIST/LEVELS/SKY.PCX"), std::string("sky"));
        QVERIFY(installation.root.exists("REDIST/game.ini"));
        QVERIFY(!installation.root.exists("REDIST/Ormel2.ini")); // written by the launcher at start
        QVERIFY(!installation.root.exists("REDIST/Ormel2.dic"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void filesThatCouldNotBeCopiedAreNamedInTheClosingMessage()
    {
        Installation installation(Dictionary);
        TOrmel2Form form;
        Answers answers;
        answers.install();
        answers.typed = QString::fromStdString((installation.root.path() / "REDIST").string());
        answers.yes = true;
        SetWriteFaultHook([](const fs::path& target) { return target.filename() == "SKY.PCX"; });
        form.DeployButton->click();
        SetWriteFaultHook(nullptr);

        QVERIFY(answers.messages.isEmpty() && answers.errors.isEmpty());
        const QStringList lines = answers.closing();
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QString("The game has been deployed."));
        QCOMPARE(lines[4], QString("It holds 1 files, 23 bytes."));
        QCOMPARE(lines[6], QString("These files could not be copied:"));
        QVERIFY(lines[7].startsWith("Write error on ") && lines[7].contains("REDIST/LEVELS/SKY.PCX"));
        QCOMPARE(answers.shown, QStringList{*answers.typed});
        QVERIFY(!installation.root.exists("REDIST/LEVELS/SKY.PCX"));
        QCOMPARE(installation.root.read("GAME/LEVELS/SKY.PCX"), std::string("sky"));
    }

    void filesThatCouldNotBeRemovedAreNamedInTheClosingMessage()
    {
        Installation installation(Dictionary);
        TOrmel2Form form;
        Answers answers;
        answers.install();
        answers.typed = QString::fromStdString((installation.root.path() / "REDIST").string());
        SetDeleteFaultHook([](const std::string& name) { return fs::path(name).filename() == "Ormel2.ini"; });
        form.DeployButton->click();
        SetDeleteFaultHook(nullptr);

        QVERIFY(answers.messages.isEmpty() && answers.errors.isEmpty());
        const QStringList lines = answers.closing();
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QString("The game has been deployed."));
        QCOMPARE(lines[6], QString("These files could not be removed:"));
        QVERIFY(lines[7].endsWith("REDIST/Ormel2.ini"));
    }

    void refusesAnUnsafeFolder()
    {
        // The dictionary's own text, or the English one when an older dictionary lacks entry 17.
        const struct {
            const char* dictionary;
            QString message;
        } cases[] = {
            {Dictionary, "Not this folder."},
            {"[Config]\nLanguage=English\n[English]\n16=Done.\n", QString::fromUtf8(Ormel2Text("UnsafeDeployTarget").english)},
        };
        for (const auto& c : cases) {
            Installation installation(c.dictionary);
            TOrmel2Form form;
            Answers answers;
            answers.install();
            answers.typed = "LEVELS";
            form.DeployButton->click();
            QCOMPARE(answers.errors, QStringList{c.message});
            QVERIFY(answers.messages.isEmpty());
            QCOMPARE(installation.root.read("GAME/LEVELS/SKY.PCX"), std::string("sky"));
            QVERIFY(!installation.root.exists("GAME/LEVELS/LEVELS"));
        }
    }

    void refusesAFileWithTheFileUntouched()
    {
        Installation installation(Dictionary);
        installation.root.write("precious.txt", "my thesis");
        TOrmel2Form form;
        Answers answers;
        answers.install();
        answers.typed = QString::fromStdString((installation.root.path() / "precious.txt").string());
        form.DeployButton->click();
        QCOMPARE(answers.errors, QStringList{"Not a folder:\n" + *answers.typed});
        QVERIFY(answers.messages.isEmpty() && answers.questions.isEmpty());
        QCOMPARE(installation.root.read("precious.txt"), std::string("my thesis"));
    }

    void asksBeforeEmptyingAFolderOfOtherFiles()
    {
        for (const bool yes : {false, true}) {
            Installation installation(Dictionary);
            installation.root.write("docs/thesis.odt", "chapter one");
            TOrmel2Form form;
            Answers answers;
            answers.install();
            answers.typed = QString::fromStdString((installation.root.path() / "docs").string());
            answers.yes = yes;
            form.DeployButton->click();
            QCOMPARE(answers.questions.mid(0, 2), QStringList({"Deploy the game", "Empty it?\n\n" + *answers.typed}));
            QCOMPARE(installation.root.exists("docs/thesis.odt"), !yes);
            QCOMPARE(installation.root.exists("docs/LEVELS/SKY.PCX"), yes);
            QCOMPARE(answers.questions.size(), yes ? 4 : 2); // the closing message after a deploy
            QVERIFY(answers.errors.isEmpty());
        }
    }

    void enterOnTheQuestionKeepsTheFolder()
    {
        // The real question box: No is its default, so Enter keeps the user's files.
        Installation installation(Dictionary);
        installation.root.write("docs/thesis.odt", "chapter one");
        TOrmel2Form form;
        Answers answers;
        answers.install();
        Hooks().askYesNo = nullptr;
        answers.typed = QString::fromStdString((installation.root.path() / "docs").string());
        QString defaultButton;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer.start(10);
        form.DeployButton->click();
        QCOMPARE(defaultButton.remove('&'), QString("No"));
        QCOMPARE(installation.root.read("docs/thesis.odt"), std::string("chapter one"));
        QVERIFY(answers.messages.isEmpty());
    }

    void cancellingChangesNothing()
    {
        Installation installation(Dictionary);
        TOrmel2Form form;
        Answers answers;
        answers.install();
        form.DeployButton->click();
        QCOMPARE(answers.asked.size(), 3);
        QVERIFY(answers.messages.isEmpty() && answers.errors.isEmpty());
        QVERIFY(!installation.root.exists("REDIST"));
    }
};

QTEST_MAIN(DeployFormTest)
#include "DeployFormTest.moc"
