// Partiva's document comforts as a user meets them: every field and file an undoable command
// whose undo gives game.ini back byte for byte, the questions before work is lost, recovery after
// a crash, recent folders and folders dropped on the window. The questions are answered through
// the dialog hooks; the user's folders are temporary ones.
#include "GameParamUnit.h"

#include "AutoRecovery.h"
#include "EditorDocument.h"
#include "FileLabel.h"
#include "FreshDocumentState.h"
#include "GameSettings.h"
#include "OpenWAV.h"
#include "OrmelApplication.h"
#include "ParamControls.h"
#include "ProgramUsages.h"
#include "RecentFiles.h"
#include "ScriptedQuestions.h"
#include "TempFolder.h"
#include "UserFolders.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <memory>

namespace fs = std::filesystem;

class PartivaDocumentTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<TGameParamForm> form_;
    TWAVDialog* dialog_ = nullptr;
    QString chosen_; // what the next file dialog answers
    QStringList errors_;
    ScriptedQuestions questions_;

    QString path(const std::string& name) const { return QString::fromStdString((folder_->path() / name).string()); }

    // The form in `folder` (relative to the test's), as the program starts in it.
    void start(const std::string& folder = ".")
    {
        fs::create_directories(folder_->path() / folder);
        fs::current_path(folder_->path() / folder);
        StartGameSettings();
        form_ = std::make_unique<TGameParamForm>();
        new TObjectDialog(form_.get());
        dialog_ = new TWAVDialog(form_.get());
        form_->WAVDialog = dialog_;
        form_->FormActivate();
    }

    UndoHistory& history() { return form_->document->History(); }

    void typeOver(QLineEdit* edit, const QString& keys)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, keys);
        QVERIFY(QMetaObject::invokeMethod(edit, "editingFinished")); // the field is left
    }

    // Applies the edit of one control of the page as the user makes it.
    void apply(const ParamControl& control)
    {
        QWidget* widget = std::visit([&](auto member) -> QWidget* { return form_.get()->*member; }, control.member);
        const QString name = QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size()));
        switch (control.kind) {
        case ControlKind::TextEdit: return typeOver(static_cast<QLineEdit*>(widget), "Castle of 1,000 rooms");
        case ControlKind::NumberEdit:
            return typeOver(static_cast<QLineEdit*>(widget),
                            std::holds_alternative<float TGameSettings::*>(control.value) ? "0.25" : "77");
        case ControlKind::FileLabel: chosen_ = path("NEW/" + name.toStdString() + ".X"); break;
        case ControlKind::LevelLabel: chosen_ = path("LEVEL/NEW.LEV"); break;
        case ControlKind::SoundLabel:
            chosen_ = path("NEW/" + name.toStdString() + ".WAV");
            QTimer::singleShot(0, this, [this] {
                dialog_->ChangeButton->click();
                dialog_->OKButton->click();
            });
            break;
        case ControlKind::ClearButton: return static_cast<QPushButton*>(widget)->click();
        default: return;
        }
        emit static_cast<TFileLabel*>(widget)->clicked();
    }

    std::string saved()
    {
        form_->SaveParameters1->trigger();
        return folder_->read((GameFolderPath / "game.ini").string());
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TempFolder>();
        FreshDocumentState(errors_, errors_, questions_); // a message counts as an error here
        chosen_.clear();
        Hooks().chooseOpenFile = [this](const FileDialogRequest&) { return chosen_; };
    }

    void cleanup()
    {
        form_.reset();
        Hooks() = {};
        folder_.reset();
    }

    // Each field and file of the page: apply, save, undo, save (the original bytes), redo, save
    // (the edited bytes). Every file value starts set, so its Clear button changes it.
    void everyFieldAndFileIsOneUndoableCommand()
    {
        std::string ini = "[Game]\r\nExtra=kept\r\nCameraMaxDistance=1000\r\n"; // a minimum typed stays below it
        for (const GameKey& key : GameKeys)
            if (std::holds_alternative<std::string TGameSettings::*>(key.Field) && key.Name != "GameTitle")
                ini += std::string(key.Name) + "=OLD\\" + std::string(key.Name) + ".X\r\n";
        folder_->write("game.ini", ini);
        fs::create_directory(folder_->path() / "LEVEL");
        start();
        const std::string original = saved();
        QVERIFY(!form_->isWindowModified());
        int commands = 0;
        for (const ParamControl& control : ParamControls()) {
            if (std::holds_alternative<std::monostate>(control.value))
                continue;
            ++commands;
            const char* name = control.name.data();
            apply(control);
            QVERIFY2(history().Stack()->count() == 1 && history().Stack()->index() == 1, name);
            QVERIFY2(form_->isWindowModified(), name);
            QVERIFY2(form_->windowTitle().endsWith("[*]"), name);
            QVERIFY2(history().UndoAction()->text().size() > QString("&Undo ").size() + 2, name);
            const std::string edited = saved();
            QVERIFY2(edited != original, name);
            QVERIFY2(!form_->isWindowModified(), name);
            history().UndoAction()->trigger();
            QVERIFY2(form_->isWindowModified(), name); // behind the saved state
            QVERIFY2(saved() == original, name);
            history().RedoAction()->trigger();
            QVERIFY2(saved() == edited, name);
            history().UndoAction()->trigger();
            QVERIFY2(saved() == original, name);
        }
        QCOMPARE(commands, 1 + 33 + 10 + 1 + 3 + 10);
        QCOMPARE(errors_, QStringList());
    }

    void aRunOfTypingIsOneCommandAndNumbersStayAsTyped()
    {
        start();
        QLineEdit* health = form_->TimerHealthText;
        health->setFocus();
        health->selectAll();
        QTest::keyClicks(health, "0.");
        QCOMPARE(health->text(), QString("0.")); // not "0" while the user types on
        QTest::keyClicks(health, "5");
        QCOMPARE(history().Stack()->count(), 1);
        QCOMPARE(history().UndoAction()->text(), QString("&Undo Timer health hurt value"));
        history().UndoAction()->trigger();
        QCOMPARE(GameSettings.TimerHealth, 2.5f);
        QCOMPARE(health->text(), QString("2.5"));
        QTest::keyClicks(form_->CrossLeftText, "1");
        QCOMPARE(history().UndoAction()->text(), QString("&Undo Cross icon: Left"));
    }

    void theQuestionBeforeWorkIsLost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<SaveChoice>("answer");
        QTest::addColumn<bool>("goes");
        QTest::addColumn<bool>("savedOnDisk");
        for (const char* way : {"quit", "close", "open another folder"}) {
            QTest::addRow("%s, cancel", way) << way << SaveChoice::Cancel << false << false;
            QTest::addRow("%s, discard", way) << way << SaveChoice::Discard << true << false;
            QTest::addRow("%s, save", way) << way << SaveChoice::Save << true << true;
        }
    }

    void theQuestionBeforeWorkIsLost()
    {
        QFETCH(QString, way);
        QFETCH(SaveChoice, answer);
        QFETCH(bool, goes);
        QFETCH(bool, savedOnDisk);
        folder_->write("game/game.ini", "[Game]\r\nGameTitle=Old\r\n");
        folder_->write("other/game.ini", "[Game]\r\nGameTitle=Other\r\n");
        start("game");
        form_->show();
        typeOver(form_->GameTitleText, "New");
        questions_.saveAnswers = {answer};
        if (way == "quit")
            form_->Quit1->trigger();
        else if (way == "close")
            form_->close();
        else
            form_->document->OpenFiles({path("other")});
        QCOMPARE(questions_.asked, QStringList{"Save the changes to game?"});
        const bool went = way == "open another folder" ? GameSettings.GameTitle == "Other" : !form_->isVisible();
        QCOMPARE(went, goes);
        QCOMPARE(folder_->read("game/game.ini").find("GameTitle=New") != std::string::npos, savedOnDisk);
        if (!goes) {
            QCOMPARE(GameSettings.GameTitle, std::string("New"));
            QVERIFY(form_->isWindowModified());
        }
        if (way == "open another folder" && goes) {
            QCOMPARE(form_->GameTitleText->text(), QString("Other"));
            QVERIFY(form_->windowTitle().endsWith(" - other[*]"));
            QVERIFY(!form_->isWindowModified());
            QCOMPARE(QDir::currentPath(), path("other"));
        }
    }

    void unsavedWorkIsRecoveredWithItsFolderAfterACrash()
    {
        folder_->write("game/game.ini", "[Game]\r\nGameTitle=Old\r\nExtra=kept\r\n");
        start("game");
        typeOver(form_->GameTitleText, "Recovered");
        typeOver(form_->CameraStepText, "12");
        form_->document->Recovery().SaveCopy(); // the timer's handler, two minutes later
        form_.reset();                          // the process state dropped without a clean exit

        start("elsewhere");
        questions_.recoveryAnswers = {RecoveryChoice::Recover};
        form_->document->Start(PartivaUsage(), {});
        QCOMPARE(questions_.asked.size(), 1);
        QVERIFY2(questions_.asked[0].startsWith("Unsaved work on " + path("game") + " was kept"), qPrintable(questions_.asked[0]));
        QCOMPARE(GameFolderPath.string(), path("game").toStdString());
        QCOMPARE(form_->GameTitleText->text(), QString("Recovered"));
        QCOMPARE(form_->CameraStepText->text(), QString("12"));
        QVERIFY(form_->isWindowModified());
        QCOMPARE(folder_->read("game/game.ini"), std::string("[Game]\r\nGameTitle=Old\r\nExtra=kept\r\n"));
        const std::string saved = this->saved();
        QVERIFY(saved.find("GameTitle=Recovered\r\n") != std::string::npos);
        QVERIFY(saved.find("CameraStep=12\r\n") != std::string::npos);
        QVERIFY(saved.find("Extra=kept\r\n") != std::string::npos);
        QVERIFY(!fs::exists(folder_->path() / "elsewhere/game.ini"));
        QCOMPARE(errors_, QStringList());
    }

    void aFolderOrItsGameIniDroppedOnTheWindowOpensIt()
    {
        folder_->write("a/game.ini", "[Game]\r\nGameTitle=A\r\n");
        folder_->write("b/game.ini", "[Game]\r\nGameTitle=B\r\n");
        folder_->write("b/notes.txt", "");
        start();
        const auto drop = [this](const QString& file) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form_.get(), &enter);
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form_.get(), &dropped);
        };
        drop(path("a"));
        QCOMPARE(form_->GameTitleText->text(), QString("A"));
        drop(path("b/game.ini"));
        QCOMPARE(form_->GameTitleText->text(), QString("B"));
        QCOMPARE(errors_, QStringList());
        drop(path("b/notes.txt"));
        QCOMPARE(errors_, QStringList{path("b/notes.txt") + " is not opened: this program opens [FOLDER]."});
        QCOMPARE(form_->GameTitleText->text(), QString("B"));
    }

    void recentFoldersAreRememberedBetweenStarts()
    {
        folder_->write("a/game.ini", "[Game]\r\nGameTitle=A\r\n");
        folder_->write("b/game.ini", "[Game]\r\nGameTitle=B\r\n");
        Hooks().chooseFolder = [this](const FileDialogRequest&) { return path("b"); };
        start("a");
        form_->OpenFolder1->trigger();
        QCOMPARE(form_->GameTitleText->text(), QString("B"));
        form_.reset();
        start("b");
        const QList<QAction*> items = form_->document->Recent().Menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QString("&1 b"));
        QCOMPARE(items[1]->toolTip(), path("a"));
        items[1]->trigger();
        QCOMPARE(form_->GameTitleText->text(), QString("A"));
        QVERIFY(form_->windowTitle().endsWith(" - a[*]"));
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Partiva document test", "Partiva");
    PartivaDocumentTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PartivaDocumentTest.moc"
