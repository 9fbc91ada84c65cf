// Partiva's document comforts as a user meets them: every field and file an undoable command
// whose undo gives game.ini back byte for byte, the questions before work is lost, recovery after
// a crash, recent folders and folders dropped on the window. The questions are answered through
// the dialog hooks; the user's folders are temporary ones.
#include "GameParamUnit.h"

#include "AutoRecovery.h"
#include "EditorDocument.h"
#include "EnabledItems.h"
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

#include <map>
#include <memory>
#include <random>
#include <vector>

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

    // Applies edit `k` (0 or 1) of one control of the page as the user makes it, and answers the
    // value game.ini then holds for it, worked out apart from the code: file names relative to
    // the game folder (the LEVEL folder for levels) in capitals, fractions in their shortest form.
    std::string apply(const ParamControl& control, int k = 0)
    {
        QWidget* widget = std::visit([&](auto member) -> QWidget* { return form_.get()->*member; }, control.member);
        const std::string name = QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size()))
                                     .toUpper().toStdString() + std::to_string(k);
        const auto typed = [&](const char* text) {
            typeOver(static_cast<QLineEdit*>(widget), text);
            return std::string(text);
        };
        switch (control.kind) {
        case ControlKind::TextEdit: return typed(k ? "Cave" : "Castle of 1,000 rooms");
        case ControlKind::NumberEdit:
            return typed(std::holds_alternative<float TGameSettings::*>(control.value) ? (k ? "1.5" : "0.25") : (k ? "-5" : "77"));
        case ControlKind::ClearButton: static_cast<QPushButton*>(widget)->click(); return "";
        case ControlKind::FileLabel: chosen_ = path("new/" + name + ".x"); break;
        case ControlKind::LevelLabel: chosen_ = path("LEVEL/" + name + ".lev"); break;
        case ControlKind::SoundLabel:
            chosen_ = path("new/" + name + ".wav");
            QTimer::singleShot(0, this, [this] {
                dialog_->ChangeButton->click();
                dialog_->OKButton->click();
            });
            break;
        default: return "";
        }
        emit static_cast<TFileLabel*>(widget)->clicked();
        const std::string extension = control.kind == ControlKind::SoundLabel ? ".WAV" : control.kind == ControlKind::LevelLabel ? ".LEV" : ".X";
        return (control.kind == ControlKind::LevelLabel ? "" : "NEW\\") + name + extension;
    }

    // The game.ini key of a control's value.
    static std::string keyOf(const ParamControl& control)
    {
        for (const GameKey& key : GameKeys)
            if (std::visit([&](auto field) { return ControlValue(field) == control.value; }, key.Field))
                return std::string(key.Name);
        return "";
    }

    // `text` with the values of `values` in place of those of their keys' lines.
    static std::string withValues(const std::string& text, const std::map<std::string, std::string>& values)
    {
        std::string out;
        for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
            end = text.find("\r\n", at);
            const std::string line = text.substr(at, end - at);
            const auto value = values.find(line.substr(0, line.find('=')));
            out += (value == values.end() ? line : value->first + "=" + value->second) + "\r\n";
        }
        return out;
    }

    // Applies the steps (a control's row and an edit of it) one after the other, each one command,
    // then undoes them one by one and redoes them all; after every step game.ini would hold the
    // values applied so far, and nothing else changed. Nothing is saved on the way: a save would
    // keep steps from merging that should not merge.
    void runChain(const std::vector<std::pair<const ParamControl*, int>>& steps)
    {
        const std::string original = saved();
        std::vector<std::string> expected{original};
        std::map<std::string, std::string> values;
        for (const auto& [control, k] : steps) {
            const char* name = control->name.data();
            values[keyOf(*control)] = apply(*control, k);
            expected.push_back(withValues(original, values));
            QVERIFY2(history().Stack()->count() == static_cast<int>(expected.size()) - 1, name);
            QVERIFY2(history().UndoAction()->text().size() > QString("&Undo ").size() + 2, name);
            QCOMPARE(GameSettingsFileBytes(), expected.back());
        }
        QVERIFY(form_->isWindowModified());
        QCOMPARE(saved(), expected.back());
        for (std::size_t done = steps.size(); done-- > 0;) {
            history().UndoAction()->trigger();
            QVERIFY(form_->isWindowModified());
            QCOMPARE(GameSettingsFileBytes(), expected[done]);
        }
        QVERIFY(!history().UndoAction()->isEnabled());
        for (std::size_t done = 1; done <= steps.size(); ++done) {
            history().RedoAction()->trigger();
            QCOMPARE(GameSettingsFileBytes(), expected[done]);
        }
        QVERIFY(!history().RedoAction()->isEnabled());
        QVERIFY(!form_->isWindowModified()); // back where it was saved
        QCOMPARE(errors_, QStringList());
    }

    // A game.ini of every key in the order saving writes them, each file value set so that its
    // Clear button changes it, and a key of someone else's. The camera's maximum distance lies
    // above any minimum typed, so that every step saves.
    void startInFullGame()
    {
        std::string ini = "[Game]\r\nExtra=kept\r\n";
        for (const GameKey& key : GameKeys)
            ini += std::string(key.Name) + "=" +
                   (std::holds_alternative<std::string TGameSettings::*>(key.Field) ? "OLD\\" + std::string(key.Name) + ".X"
                    : std::holds_alternative<float TGameSettings::*>(key.Field) ? "0.5"
                    : key.Name == "CameraMaxDistance"                               ? "1000"
                                                                                    : "3") + "\r\n";
        folder_->write("game.ini", ini);
        fs::create_directory(folder_->path() / "LEVEL");
        start();
        QCOMPARE(saved(), ini);
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

    // Every field and file of the page edited in a row, each one command; the Clear buttons come
    // after the file labels of their rows, so each clears a file just chosen, a file field
    // cleared after another.
    void everyFieldAndFileInARowIsUndoneStepByStep()
    {
        startInFullGame();
        std::vector<std::pair<const ParamControl*, int>> steps;
        for (const ParamControl& control : ParamControls())
            if (!std::holds_alternative<std::monostate>(control.value))
                steps.emplace_back(&control, 0);
        QCOMPARE(steps.size(), std::size_t(1 + 33 + 10 + 1 + 3 + 10));
        runChain(steps);
    }

    // Seeded chains over every kind of step, a field often edited again later in the chain.
    void randomChainsGiveEveryPrefixBack()
    {
        // Controls of every kind, each file label beside its Clear button.
        std::vector<const ParamControl*> controls;
        for (const ParamControl& control : ParamControls())
            for (const char* name : {"GameTitleText", "MenuSoundLabel", "CameraStepText", "TimerHealthText", "SmallFontLabel",
                                     "ClearSmallFontButton", "StartLevelLabel", "HelpFileLabel", "ClearHelpFileButton"})
                if (control.name == name)
                    controls.push_back(&control);
        for (unsigned seed : {1u, 2u, 3u}) {
            startInFullGame();
            std::mt19937 random(seed);
            std::map<std::string, std::string> now;
            std::vector<std::pair<const ParamControl*, int>> steps;
            while (steps.size() < 25) {
                const ParamControl* control = controls[random() % controls.size()];
                const int k = static_cast<int>(random() % 2);
                const std::string key = keyOf(*control);
                const std::string value = control->kind == ControlKind::ClearButton ? "" : std::to_string(k);
                if (now.contains(key) && now[key] == value)
                    continue; // no change, no command
                now[key] = value;
                steps.emplace_back(control, k);
            }
            runChain(steps);
            form_.reset();
        }
    }

    // Save stays at hand with nothing to save; Undo and Redo only when there is something to do.
    // The folder the program starts in is the first of the recent folders.
    void itemsAreEnabledOnlyWhenTheyHaveSomethingToDo()
    {
        start();
        const auto enabled = [&] { return EnabledItems(*form_->document, form_->SaveParameters1); };
        QCOMPARE(enabled(), "recent save");
        typeOver(form_->GameTitleText, "New");
        QCOMPARE(enabled(), "recent undo save");
        history().UndoAction()->trigger();
        QCOMPARE(enabled(), "recent redo save");
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
