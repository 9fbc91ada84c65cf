// The editors' document comforts on a small test document: a note whose one field is its title
// and whose file holds the title. Each piece is driven as an editor will drive it: through its
// actions, keys, questions (answered by the dialog hooks), the recovery timer's handler and
// drop events. The user's folders are temporary ones.
#include "AutoRecovery.h"
#include "CommandLineFolder.h"
#include "Dialogs.h"
#include "DocumentEntries.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FreshDocumentState.h"
#include "LastFolders.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"
#include "RecentFiles.h"
#include "SafeWrite.h"
#include "ScriptedQuestions.h"
#include "TempFolder.h"
#include "UndoCommands.h"
#include "UserFolders.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <csignal>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

constexpr int TitleField = 1;

QString readText(const QString& file)
{
    std::ifstream in(file.toStdString(), std::ios::binary);
    return QString::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

// The test editor: one title field, saved as the file's whole text.
class NoteWindow : public QMainWindow {
public:
    QString title;
    QLineEdit* field;
    QMenu* fileMenu;
    QAction* quit;
    EditorDocument* document;
    QString saveAs;          // the name the Save dialog gives a note without a file
    bool saveFails = false;  // the disk is full
    bool copiesUnreadable = false; // recovered copies are refused
    QStringList opened;      // files given from elsewhere, in order
    QString colour;          // a detail kept beside the note in its recovery copy

    explicit NoteWindow(const QString& program = QStringLiteral("Notes"))
    {
        field = new QLineEdit(this);
        setCentralWidget(field);
        fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
        quit = fileMenu->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
        const DocumentTexts texts = DocumentTexts::English(QStringLiteral("Notes"));
        document = new EditorDocument(this, program, QStringLiteral("note"), texts,
                                      {[this] { return save(); }, [this] { return title.toUtf8(); },
                                       [this](const QString& file) { openFile(file); },
                                       [this](const QString& copy, const QString& original) {
                                           if (copiesUnreadable)
                                               throw FormatError(copy.toStdString() + ": not a note");
                                           load(copy);
                                           document->History().Start(original);
                                       },
                                       [this] { return AutoRecovery::Details{{"Colour", colour}}; },
                                       [this](const AutoRecovery::Details& details) { colour = details.value("Colour"); }});
        document->AddMenus(fileMenu, quit, nullptr);
        connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
            PushChange(document->History(), QStringLiteral("Set title"), TitleField, title, text,
                       [this](const QString& value) { setTitle(value); });
        });
        document->History().EndRunsWhenLeft(field);
    }

    void setTitle(const QString& value)
    {
        title = value;
        if (field->text() != value)
            field->setText(value);
    }

    void load(const QString& file)
    {
        std::ifstream in(file.toStdString(), std::ios::binary);
        if (!in)
            throw IoError("Cannot read " + file.toStdString());
        setTitle(readText(file));
    }

    void openFile(const QString& file)
    {
        opened << file;
        if (!file.endsWith(QStringLiteral(".note")) || !document->MayDiscard())
            return;
        load(file);
        document->Opened(file);
    }

    bool save()
    {
        QString file = document->History().File();
        if (file.isEmpty())
            file = saveAs;
        if (file.isEmpty())
            return false;
        if (saveFails)
            throw IoError("Cannot write " + file.toStdString() + ": No space left on device");
        WriteFileAtomically(file.toStdString(), title.toStdString());
        document->Saved(file);
        return true;
    }

    void type(const QString& text)
    {
        field->setFocus();
        QTest::keyClicks(field, text);
    }
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class DocumentFrameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder_;
    QStringList errors_, messages_;
    ScriptedQuestions questions_;

    QString file(const char* name) const { return QString::fromStdString((folder_->path() / name).string()); }

private slots:
    void init()
    {
        folder_ = std::make_unique<TempFolder>();
        FreshDocumentState(errors_, messages_, questions_);
    }

    void cleanup()
    {
        Hooks() = {};
        folder_.reset();
    }

    void theCaptionNamesTheFileAndItsMarkFollowsTheSavedState()
    {
        folder_->write("a.note", "Hello");
        NoteWindow note;
        QCOMPARE(note.windowTitle(), QStringLiteral("Notes - Untitled[*]"));
        note.openFile(file("a.note"));
        QCOMPARE(note.windowTitle(), QStringLiteral("Notes - a.note[*]"));
        QVERIFY(!note.isWindowModified());
        note.type(QStringLiteral("!"));
        QVERIFY(note.isWindowModified());
        note.document->History().UndoAction()->trigger();
        QCOMPARE(note.title, QStringLiteral("Hello"));
        QVERIFY(!note.isWindowModified()); // undone back to the saved state
        note.document->History().RedoAction()->trigger();
        QVERIFY(note.isWindowModified());
        QVERIFY(note.save());
        QVERIFY(!note.isWindowModified());
        QCOMPARE(readText(file("a.note")), QStringLiteral("Hello!"));
        note.document->History().UndoAction()->trigger();
        QVERIFY(note.isWindowModified()); // behind the saved state now
    }

    void undoAndRedoSayWhatTheyDoAndAnswerTheirKeys()
    {
        NoteWindow note;
        note.show();
        note.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&note)); // window shortcuts work in the active window
        UndoHistory& history = note.document->History();
        QCOMPARE(history.UndoAction()->text(), QStringLiteral("&Undo"));
        QVERIFY(!history.UndoAction()->isEnabled());
        note.type(QStringLiteral("ab"));
        QCOMPARE(history.UndoAction()->text(), QStringLiteral("&Undo Set title"));
        QCOMPARE(note.menuBar()->actions().last()->menu()->actions(), (QList<QAction*>{history.UndoAction(), history.RedoAction()}));
        // The field's own undo does not take the keys: it would take the typing back as a step of
        // its own, leaving nothing to redo.
        const struct {
            QKeyCombination key;
            QString title;
            bool redo;
        } keys[] = {
            {Qt::CTRL | Qt::Key_Z, "", true},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, "ab", false},
            {Qt::CTRL | Qt::Key_Z, "", true},
            {Qt::CTRL | Qt::Key_Y, "ab", false},
        };
        for (const auto& k : keys) {
            QTest::keyClick(note.field, k.key.key(), k.key.keyboardModifiers());
            QCOMPARE(note.title, k.title);
            QCOMPARE(note.field->text(), k.title);
            QCOMPARE(history.RedoAction()->isEnabled(), k.redo);
        }
        QCOMPARE(history.RedoAction()->text(), QStringLiteral("&Redo"));
        QCOMPARE(history.UndoAction()->text(), QStringLiteral("&Undo Set title"));
    }

    void aRunOfTypingInOneFieldIsOneCommand()
    {
        NoteWindow note;
        QUndoStack* stack = note.document->History().Stack();
        note.type(QStringLiteral("abc"));
        QCOMPARE(stack->count(), 1);
        QVERIFY(QMetaObject::invokeMethod(note.field, "editingFinished")); // the field was left
        note.type(QStringLiteral("de"));
        QCOMPARE(stack->count(), 2);
        QTest::keyClick(note.field, Qt::Key_Backspace);
        QTest::keyClick(note.field, Qt::Key_Backspace);
        QCOMPARE(stack->count(), 1); // typed back to where the run began: no command left
        stack->undo();
        QCOMPARE(note.title, QString());
    }

    void aSnapshotUndoesAWholeChangeAndTheHistoryIsCapped()
    {
        NoteWindow note;
        UndoHistory& history = note.document->History();
        const auto exchange = [&note](QString& held) {
            std::swap(note.title, held);
            note.field->setText(note.title);
        };
        for (int i = 0; i < UndoHistory::Limit + 50; ++i)
            PushSnapshot(history, QStringLiteral("Step %1").arg(i), note.title, QString::number(i), exchange);
        PushSnapshot(history, QStringLiteral("Nothing"), note.title, note.title, exchange); // no change, no command
        QCOMPARE(note.title, QStringLiteral("249"));
        QCOMPARE(history.Stack()->count(), UndoHistory::Limit);
        QCOMPARE(history.Stack()->undoText(), QStringLiteral("Step 249"));
        while (history.Stack()->canUndo())
            history.Stack()->undo();
        QCOMPARE(note.title, QStringLiteral("49"));
        QVERIFY(history.Unsaved()); // the saved state fell off the history
        history.Stack()->redo();
        QCOMPARE(note.title, QStringLiteral("50"));
    }

    // A whole-object tool on the largest object: 65,536 faces of 16 bytes. Each step holds one
    // face list; undo and redo exchange lists without copying them.
    void aWholeObjectStepCostsOneCopyAndUndoesAtOnce()
    {
        NoteWindow note;
        UndoHistory& history = note.document->History();
        std::vector<std::array<std::uint8_t, 16>> faces(65536);
        const auto exchange = [&faces](std::vector<std::array<std::uint8_t, 16>>& held) { faces.swap(held); };
        for (int step = 1; step <= 20; ++step) {
            auto after = faces;
            for (auto& face : after)
                face[0] = static_cast<std::uint8_t>(step);
            PushSnapshot(history, QStringLiteral("Colour all"), faces, std::move(after), exchange);
        }
        QElapsedTimer clock;
        clock.start();
        while (history.Stack()->canUndo())
            history.Stack()->undo();
        while (history.Stack()->canRedo())
            history.Stack()->redo();
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(faces[65535][0], 20);
        qInfo("40 undos and redos of a 65,536-face step: %lld ms", elapsed);
        QVERIFY(elapsed < 20 * 2 * 50);
    }

    void theQuestionBeforeLosingWork_data()
    {
        QTest::addColumn<SaveChoice>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("mayGo");
        QTest::addColumn<QString>("onDisk");
        QTest::newRow("cancel changes nothing") << SaveChoice::Cancel << false << false << "Hello";
        QTest::newRow("discard") << SaveChoice::Discard << false << true << "Hello";
        QTest::newRow("save") << SaveChoice::Save << false << true << "Hello!";
        QTest::newRow("a failed save keeps the work") << SaveChoice::Save << true << false << "Hello";
    }

    void theQuestionBeforeLosingWork()
    {
        QFETCH(SaveChoice, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, mayGo);
        QFETCH(QString, onDisk);
        folder_->write("a.note", "Hello");
        folder_->write("b.note", "Other");
        for (const char* way : {"open", "close", "quit"}) {
            NoteWindow note;
            note.show();
            note.openFile(file("a.note"));
            note.type(QStringLiteral("!"));
            note.document->Recovery().SaveCopy();
            note.saveFails = saveFails;
            questions_.saveAnswers = {answer};
            questions_.asked.clear();
            errors_.clear();
            if (way == std::string("open"))
                note.openFile(file("b.note"));
            else if (way == std::string("close"))
                note.close();
            else
                note.quit->trigger();
            QCOMPARE(questions_.asked, QStringList{"Save the changes to a.note?"});
            const bool went = way == std::string("open") ? note.title == "Other" : !note.isVisible();
            QCOMPARE(went, mayGo);
            QCOMPARE(readText(file("a.note")), onDisk);
            QCOMPARE(errors_.size(), saveFails ? 1 : 0);
            // The work kept is still marked unsaved and still has its recovery copy.
            if (!mayGo || way == std::string("open"))
                QCOMPARE(note.isWindowModified(), !mayGo);
            QCOMPARE(note.document->Recovery().Holds(), !mayGo);
            if (!mayGo) {
                QCOMPARE(note.title, QStringLiteral("Hello!"));
                QVERIFY(note.isVisible());
            }
            note.document->Recovery().Forget();
            folder_->write("a.note", "Hello");
        }
    }

    void unsavedWorkIsRecoveredAfterACrash()
    {
        folder_->write("a.note", "Hello");
        auto crashed = std::make_unique<NoteWindow>();
        crashed->openFile(file("a.note"));
        QVERIFY(!crashed->document->Recovery().Timer()->isActive());
        crashed->type(QStringLiteral(" world"));
        QVERIFY(crashed->document->Recovery().Timer()->isActive());
        QCOMPARE(crashed->document->Recovery().Timer()->interval(), 120000);
        crashed->document->Recovery().SaveCopy(); // the timer's handler, two minutes later
        QCOMPARE(filesIn(AutoRecovery::Folder()).size(), 3); // the copy, its description and its lock
        crashed.reset(); // the process state dropped without a clean exit

        // Later keeps it for the next start; Recover opens it as unsaved work.
        for (const RecoveryChoice answer : {RecoveryChoice::Later, RecoveryChoice::Recover}) {
            NoteWindow next;
            questions_.recoveryAnswers = {answer};
            questions_.asked.clear();
            next.document->Start(EmptyUsage(), {});
            QCOMPARE(questions_.asked.size(), 1);
            QVERIFY(questions_.asked[0].startsWith("Unsaved work on " + file("a.note") + " was kept"));
            if (answer == RecoveryChoice::Later) {
                QCOMPARE(next.title, QString());
                continue;
            }
            QCOMPARE(next.title, QStringLiteral("Hello world"));
            QCOMPARE(next.windowTitle(), QStringLiteral("Notes - a.note[*]"));
            QVERIFY(next.isWindowModified());
            QCOMPARE(readText(file("a.note")), QStringLiteral("Hello")); // not saved behind the user's back
            QCOMPARE(filesIn(AutoRecovery::Folder()).size(), 3);      // the new run's own copy
            QVERIFY(next.document->Recovery().Holds());
            QVERIFY(next.save());
            QCOMPARE(filesIn(AutoRecovery::Folder()), QStringList()); // saved: nothing left to recover
            QVERIFY(!next.document->Recovery().Timer()->isActive());  // nor any copy to write
        }
        NoteWindow third;
        questions_.asked.clear();
        third.document->Start(EmptyUsage(), {});
        QCOMPARE(questions_.asked, QStringList());
    }

    void theIntervalBetweenCopiesIsTheUsersSetting()
    {
        const struct {
            QVariant setting; // none: the key is not there
            int interval;
        } cases[] = {{{}, 120000}, {30, 30000}, {"5", 5000}, {1, 2000}, {-4, 2000}, {"soon", 120000}, {3000000, 86400000}};
        for (const auto& c : cases) {
            QSettings().setValue("recovery/interval", c.setting);
            QCOMPARE(NoteWindow().document->Recovery().Timer()->interval(), c.interval);
        }
    }

    // Copies left by runs of different times and programs: this program's are offered oldest
    // first, each once; the one recovered is not offered again, not even to another window
    // starting while the first holds it; those left for later are.
    void severalPendingCopiesAreOfferedOldestFirstAndOnce()
    {
        const struct {
            const char* name;
            const char* program;
            const char* saved;
        } left[] = {{"a", "Notes", "2026-01-03T10:00:00Z"}, {"b", "Notes", "2026-01-01T10:00:00Z"},
                    {"s", "Sketches", "2026-01-01T09:00:00Z"}, {"c", "Notes", "2026-01-02T10:00:00Z"}};
        QDir().mkpath(AutoRecovery::Folder());
        for (const auto& copy : left) {
            const std::string id = AutoRecovery::Folder().toStdString() + "/" + copy.program + "-" + copy.name;
            std::ofstream(id + ".note") << "text " << copy.name;
            std::ofstream(id + ".recovery") << "Program=" << copy.program << "\nOriginal=" << copy.name << ".note\nSaved="
                                            << copy.saved << "\nCopy=" << copy.program << "-" << copy.name
                                            << ".note\nColour=" << copy.name << "\n";
        }
        const auto offered = [this] {
            QStringList names;
            for (const QString& question : questions_.asked)
                names << question.section(' ', 3, 3);
            questions_.asked.clear();
            return names;
        };
        NoteWindow next;
        questions_.recoveryAnswers = {RecoveryChoice::Later, RecoveryChoice::Recover};
        next.document->Start(EmptyUsage(), {});
        QCOMPARE(offered(), (QStringList{"b.note", "c.note"}));
        QCOMPARE(next.title + " " + next.colour, QStringLiteral("text c c"));
        NoteWindow third;
        third.document->Start(EmptyUsage(), {});
        QCOMPARE(offered(), (QStringList{"b.note", "a.note"}));
        NoteWindow sketches(QStringLiteral("Sketches"));
        sketches.document->Start(EmptyUsage(), {});
        QCOMPARE(offered(), QStringList{"s.note"});
    }

    // The system gives the number of a program that is gone to the next it starts: a copy whose
    // lock names such a process, now another program, was left behind and is offered.
    void aCopyIsOfferedWhenItsProcessNumberNowBelongsToAnotherProgram()
    {
        {
            NoteWindow crashed;
            crashed.type(QStringLiteral("draft"));
            crashed.document->Recovery().SaveCopy();
        }
        QProcess other;
        other.start("sleep", {"30"});
        QVERIFY(other.waitForStarted());
        QFile lock(AutoRecovery::Folder() + "/" + QDir(AutoRecovery::Folder()).entryList({"*.recovery"})[0].section('.', 0, 0) + ".lock");
        QVERIFY(lock.open(QIODevice::WriteOnly));
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName(); // the crashed one's name
        lock.write(QString("%1\n%2\n%3\n").arg(other.processId()).arg(program, QSysInfo::machineHostName()).toUtf8());
        lock.close();
        NoteWindow next;
        questions_.recoveryAnswers = {RecoveryChoice::Recover};
        next.document->Start(EmptyUsage(), {});
        other.kill();
        other.waitForFinished();
        QCOMPARE(questions_.asked.size(), 1);
        QCOMPARE(next.title, QStringLiteral("draft"));
    }

    // A logout or Ctrl+C ends the program by its signal, after a last copy of unsaved work; a
    // second signal ends a program whose window thread never comes back to do it.
    void aLastCopyIsWrittenWhenTheProgramIsEndedBySigtermOrSigint()
    {
        const struct {
            int signal;
            const char* typed;
            bool hung;
        } cases[] = {{SIGTERM, "ended", false}, {SIGINT, "interrupted", false}, {SIGTERM, "", false}, {SIGINT, "", true}};
        for (const auto& c : cases) {
            QProcess child;
            child.setEnvironment(QProcess::systemEnvironment() << QString("ORMEL_END_BY_SIGNAL=%1").arg(c.signal)
                                                               << QString("ORMEL_TYPED=") + c.typed
                                                               << QString("ORMEL_HUNG=%1").arg(c.hung));
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QCOMPARE(child.exitCode(), c.signal);
            NoteWindow next;
            questions_.recoveryAnswers = {RecoveryChoice::Recover};
            questions_.asked.clear();
            next.document->Start(EmptyUsage(), {});
            QCOMPARE(questions_.asked.size(), *c.typed ? 1 : 0);
            QCOMPARE(next.title, QString(c.typed));
            next.document->Recovery().Forget();
        }
    }

    void discardDeletesARecoveryAndACleanExitLeavesNone()
    {
        {
            NoteWindow crashed;
            crashed.type(QStringLiteral("draft"));
            crashed.document->Recovery().SaveCopy();
        }
        NoteWindow next;
        questions_.recoveryAnswers = {RecoveryChoice::Discard};
        next.document->Start(EmptyUsage(), {});
        QCOMPARE(next.title, QString());
        QCOMPARE(filesIn(AutoRecovery::Folder()), QStringList());

        next.show();
        next.type(QStringLiteral("more"));
        next.document->Recovery().SaveCopy();
        QCOMPARE(filesIn(AutoRecovery::Folder()).size(), 3);
        questions_.saveAnswers = {SaveChoice::Discard};
        next.close();
        QCOMPARE(filesIn(AutoRecovery::Folder()), QStringList());
    }

    void aDamagedRecoveryIsReportedAndSetAside()
    {
        {
            NoteWindow crashed;
            crashed.type(QStringLiteral("draft"));
            crashed.document->Recovery().SaveCopy();
        }
        // The copy vanished (a disk cleaner), then a description that is garbage.
        for (const QString& name : filesIn(AutoRecovery::Folder()))
            if (name.endsWith(".note"))
                QFile::remove(AutoRecovery::Folder() + "/" + name);
        std::ofstream(AutoRecovery::Folder().toStdString() + "/Notes-garbage.recovery") << "\x01\x02";
        NoteWindow next;
        next.document->Start(EmptyUsage(), {});
        QCOMPARE(errors_.size(), 2);
        for (const QString& error : errors_) {
            QVERIFY2(error.startsWith("A recovery copy cannot be used:"), qPrintable(error));
            QVERIFY2(error.contains(".damaged"), qPrintable(error));
        }
        QCOMPARE(questions_.asked, QStringList());
        QCOMPARE(next.title, QString());
        for (const QString& name : filesIn(AutoRecovery::Folder()))
            QVERIFY2(name.endsWith(".damaged"), qPrintable(name));
        errors_.clear();
        NoteWindow third;
        third.document->Start(EmptyUsage(), {});
        QCOMPARE(errors_, QStringList()); // told once
    }

    void aCopyTheEditorCannotReadIsSetAsideToo()
    {
        {
            NoteWindow crashed;
            crashed.type(QStringLiteral("draft"));
            crashed.document->Recovery().SaveCopy();
        }
        NoteWindow next;
        next.copiesUnreadable = true;
        questions_.recoveryAnswers = {RecoveryChoice::Recover};
        next.document->Start(EmptyUsage(), {});
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_[0].contains(": not a note"));
        QVERIFY(!next.isWindowModified());
        QCOMPARE(next.title, QString());
        for (const QString& name : filesIn(AutoRecovery::Folder()))
            QVERIFY2(name.endsWith(".damaged"), qPrintable(name));
    }

    void recentFilesKeepTheLastEightAndDropMissingOnes()
    {
        NoteWindow note;
        QVERIFY(!note.document->Recent().Menu()->menuAction()->isEnabled()); // nothing to show yet
        for (int i = 0; i < 10; ++i) {
            const std::string name = QStringLiteral("n%1.note").arg(i).toStdString();
            folder_->write(name, std::to_string(i));
            note.openFile(file(name.c_str()));
        }
        note.openFile(file("n5.note")); // again: it moves to the top, not twice in the list
        const QList<QAction*> items = note.document->Recent().Menu()->actions();
        QCOMPARE(items.size(), RecentFiles::Count);
        QVERIFY(note.document->Recent().Menu()->menuAction()->isEnabled());
        QCOMPARE(items[0]->text(), QStringLiteral("&1 n5.note"));
        QCOMPARE(items[1]->text(), QStringLiteral("&2 n9.note"));
        QCOMPARE(items[7]->text(), QStringLiteral("&8 n2.note"));
        QCOMPARE(items[1]->toolTip(), file("n9.note"));

        NoteWindow nextStart; // remembered between starts
        QCOMPARE(nextStart.document->Recent().Files().size(), RecentFiles::Count);
        nextStart.document->Recent().Menu()->actions()[2]->trigger();
        QCOMPARE(nextStart.title, QStringLiteral("8"));
        QFile::remove(file("n7.note"));
        nextStart.document->Recent().Menu()->actions()[3]->trigger();
        QCOMPARE(messages_, QStringList{file("n7.note") + " no longer exists: it has been taken off the recent files."});
        QCOMPARE(nextStart.document->Recent().Files().size(), RecentFiles::Count - 1);
        QVERIFY(!nextStart.document->Recent().Files().contains(file("n7.note")));
        QCOMPARE(nextStart.title, QStringLiteral("8"));
    }

    void eachFileDialogOpensWhereItWasLastUsed()
    {
        std::filesystem::create_directories(folder_->path() / "objects");
        QStringList folders;
        Hooks().chooseOpenFile = [&](const FileDialogRequest& request) {
            folders << request.folder;
            return file("objects/HOUSE.3DO");
        };
        const FileDialogRequest request{QStringLiteral("Load"), {}, QStringLiteral("/start"), {}, {}};
        ChooseOpenFileRemembered(nullptr, "Object", request);
        ChooseOpenFileRemembered(nullptr, "Object", request);
        ChooseOpenFileRemembered(nullptr, "Bank", request); // each dialog its own
        QDir(file("objects")).removeRecursively();
        ChooseOpenFileRemembered(nullptr, "Object", request); // gone: back to the first choice
        std::filesystem::create_directories(folder_->path() / "objects");
        ChooseOpenFileRemembered(nullptr, "Object", request);
        const QString project = QDir::currentPath();
        QDir::setCurrent(file("objects")); // another project: the first one's folder is not offered
        ChooseOpenFileRemembered(nullptr, "Object", request);
        QDir::setCurrent(project);
        QCOMPARE(folders, (QStringList{"/start", file("objects"), "/start", "/start", file("objects"), "/start"}));
    }

    void aWindowComesBackWhereItWasButNeverOffScreen_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("placed");
        const QMargins none, titled(4, 24, 4, 4);
        QTest::newRow("on screen") << QRect(100, 80, 600, 400) << none << QRect(100, 80, 600, 400);
        QTest::newRow("partly off, top showing") << QRect(1000, 900, 600, 400) << none << QRect(1000, 900, 600, 400);
        QTest::newRow("right of the screen") << QRect(3000, 100, 600, 400) << none << QRect(680, 100, 600, 400);
        QTest::newRow("above the screen") << QRect(100, -500, 600, 400) << none << QRect(100, 0, 600, 400);
        QTest::newRow("title bar under the bottom") << QRect(100, 1010, 600, 400) << none << QRect(100, 624, 600, 400);
        QTest::newRow("larger than the screen") << QRect(-5000, 0, 3000, 2000) << none << QRect(0, 0, 1280, 1024);
        QTest::newRow("huge, top showing") << QRect(0, 0, 30000, 30000) << none << QRect(0, 0, 1280, 1024);
        QTest::newRow("huge, from the middle") << QRect(600, 500, 30000, 30000) << none << QRect(0, 0, 1280, 1024);
        QTest::newRow("wider than the screen") << QRect(100, 100, 5000, 400) << none << QRect(0, 100, 1280, 400);
        // The title bar and borders count: a window as large as the screen inside them comes back
        // with all of them on it, and one whose frame shows stays.
        QTest::newRow("framed, fits") << QRect(4, 24, 600, 400) << titled << QRect(4, 24, 600, 400);
        QTest::newRow("framed, the screen's size") << QRect(0, 0, 1280, 1024) << titled << QRect(4, 24, 1272, 996);
        QTest::newRow("framed, title bar above") << QRect(100, 10, 600, 400) << titled << QRect(100, 24, 600, 400);
    }

    // The same through a window, at whatever scale the screen has (the suite runs this test at a
    // scale factor of 2 as well): a saved geometry is never larger than the screen.
    void aSavedGeometryLargerThanTheScreenIsClamped()
    {
        QSettings().setValue("Window/Geometry", QRect(0, 0, 30000, 30000));
        NoteWindow note;
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(note.geometry()));
    }

    void aWindowComesBackWhereItWasButNeverOffScreen()
    {
        QFETCH(QRect, saved);
        QFETCH(QMargins, frame);
        QFETCH(QRect, placed);
        QCOMPARE(PlaceOnScreens(saved, {QRect(0, 0, 1280, 1024)}, frame), placed);
        // A second screen to the right keeps a window that is on it.
        QCOMPARE(PlaceOnScreens(QRect(1500, 100, 600, 400), {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}),
                 QRect(1500, 100, 600, 400));
    }

    void theWindowPlaceIsRememberedBetweenStarts()
    {
        {
            NoteWindow note;
            note.setGeometry(40, 50, 300, 200);
            note.show();
            note.close();
        }
        NoteWindow next;
        QCOMPARE(next.geometry(), QRect(40, 50, 300, 200));
        QSettings().setValue("Window/Geometry", QRect(20000, 20000, 300, 200)); // a screen since unplugged
        NoteWindow third;
        QVERIFY(third.screen()->availableGeometry().contains(third.geometry().topLeft()));
    }

    void filesDroppedOnTheWindowOpenAsFromTheCommandLine()
    {
        folder_->write("a.note", "Dropped");
        NoteWindow note;
        note.show();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file("a.note")), QUrl("https://example.invalid/b.note")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&note, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&note, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(note.opened, QStringList{file("a.note")});
        QCOMPARE(note.title, QStringLiteral("Dropped"));

        QMimeData text;
        text.setText("not a file");
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        refused.ignore();
        QCoreApplication::sendEvent(&note, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void theCommandLineOpensEachFileByItsKindAndRefusesTheRest()
    {
        folder_->write("game/Ormel2.ini", "");
        folder_->write("game/notes/a.note", "From the desktop");
        const ProgramUsage usage{"Notes", "[NOTE.note] [LIST.list]", "", "", {{{".note"}}, {{".list"}}}};
        NoteWindow note;
        note.document->Start(usage, {file("game/notes/a.note"), "b.list", "c.txt", "d.note"});
        QCOMPARE(note.opened, (QStringList{file("game/notes/a.note"), "b.list"}));
        QCOMPARE(note.title, QStringLiteral("From the desktop"));
        QCOMPARE(errors_, QStringList{"c.txt, d.note is not opened: this program opens [NOTE.note] [LIST.list]."});
        QCOMPARE(EnterProjectFolderOf(file("game/notes/a.note")), file("game"));
        QCOMPARE(QDir::currentPath(), file("game"));
    }

    void aProjectProgramEntersTheFolderNamedOnItsCommandLine()
    {
        std::filesystem::create_directories(folder_->path() / "castle");
        const QStringList refused =
            EnterFolderOfCommandLine(Ormel2Usage(), {file("castle"), file("castle/game.ini"), file("nowhere")});
        QCOMPARE(QDir::currentPath(), file("castle"));
        QCOMPARE(refused, (QStringList{file("castle/game.ini"), file("nowhere")}));
        ShowRefusedArguments(nullptr, Ormel2Usage(), refused, DocumentTexts::English().refusedArgument);
        QCOMPARE(errors_, QStringList{file("castle/game.ini") + ", " + file("nowhere") +
                                      " is not opened: this program opens [FOLDER]."});
    }

    // Files are named from the folder the program started in, a name after "--" too (one that
    // starts with "-"), before the project folder of the first becomes current.
    void anEditorMakesItsFilesAbsoluteBeforeEnteringTheirProject()
    {
        folder_->write("game/game.ini", "");
        folder_->write("game/bank.def", "");
        std::filesystem::create_directories(folder_->path() / "work");
        QDir::setCurrent(file("work"));
        const QStringList absolute =
            EnterProjectOfCommandLine(Tessaro3DUsage(), {"../game/bank.def", "-v", "--", "-x.3do"});
        QCOMPARE(absolute, (QStringList{file("game/bank.def"), "-v", "--", file("work/-x.3do")}));
        QCOMPARE(QDir::currentPath(), file("game"));
    }

    void theTextsComeFromTheEditorsOwnEntries()
    {
        static constexpr DictionaryEntry own[] = {{0, "Caption", "window caption", "Notes"}};
        static constexpr auto table = JoinEntries(own, DocumentEntries(60));
        static_assert(IsWellFormed(table) && table[16].number == 75 && table[16].name == "RefusedArgument");
        static_assert(DocumentEntry("Cancel", 40).number == 40);
        // A game project's dictionary made before the rows existed lacks some of them.
        folder_->write("Notes.dic", "[Config]\r\nLanguage=Fran\xE7" "ais\r\n[Fran\xE7" "ais]\r\n60=&\xC9" "dition\r\n"
                                    "63=&Annuler : %1\r\n");
        LoadDictionary("Notes.dic");
        const DocumentTexts texts = DocumentTexts::FromTable(QStringLiteral("Notes"), table);
        QCOMPARE(texts.editMenu, QStringLiteral("&\u00C9dition"));
        QCOMPARE(texts.undoNamed, QStringLiteral("&Annuler : %1"));
        QCOMPARE(texts.redoNamed, QStringLiteral("&Redo %1"));
        QCOMPARE(DocumentTexts::FromTable({}, own).editMenu, QStringLiteral("&Edit")); // rows not joined yet
    }

private:
    static const ProgramUsage& EmptyUsage()
    {
        static const ProgramUsage usage{"Notes", "", "", "", {}};
        return usage;
    }
};

// The program a test ends by a signal: a note, typed into when ORMEL_TYPED holds text; with
// ORMEL_HUNG=1 its window thread stops for good after the first signal and gets a second.
int endedBySignal(int argc, char** argv, int signal)
{
    OrmelApplication application(argc, argv, "Document frame test", "Notes");
    NoteWindow note;
    if (const QString typed = qEnvironmentVariable("ORMEL_TYPED"); !typed.isEmpty())
        note.type(typed);
    QTimer::singleShot(0, [signal] {
        ::raise(signal);
        if (qEnvironmentVariableIntValue("ORMEL_HUNG") == 0)
            return;
        ::raise(signal);
        for (;;)
            ::pause();
    });
    return application.exec();
}

int main(int argc, char** argv)
{
    if (const int signal = qEnvironmentVariableIntValue("ORMEL_END_BY_SIGNAL"))
        return endedBySignal(argc, argv, signal);
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Document frame test", "Notes");
    DocumentFrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DocumentFrameTest.moc"
