// Every program starts as its main() starts it, runs its event loop and quits through its Quit
// item, offscreen, in the folders a user may start it in: an empty one, one where nothing can
// be written (as a read-only folder would be, had we not been root), one where every settings
// file's name is taken by a folder, and one where every settings file is garbage. No error may
// escape, the defaults apply, and whatever cannot be read or written is reported.
#include "Dialogs.h"
#include "GameParamUnit.h"
#include "GameSettings.h"
#include "LocalisationUnit.h"
#include "Open3DO.h"
#include "OpenWAV.h"
#include "Ormel2Unit.h"
#include "OrmelApplication.h"
#include "PigmentaUnit.h"
#include "SafeWrite.h"
#include "TempFolder.h"
#include "Tessaro3DUnit.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <random>

namespace {

// What any program of the suite reads at start.
const char* const SettingsFiles[] = {"Ormel2.ini", "Ormel2.dic", "game.ini", "Pigmenta.dic", "Partiva.dic",
                                     "Tessaro3D.dic"};

enum class Situation { Empty, Unwritable, FoldersInTheWay, Garbage };

// Bytes of every kind, NUL, brackets, equals signs, line ends and high bytes included.
std::string garbage(unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(20000, '\0');
    const char common[] = "[]=\r\n;$-.0123456789 ";
    for (char& c : bytes)
        c = random() % 3 ? static_cast<char>(random()) : common[random() % (sizeof common - 1)];
    return bytes;
}

void prepare(const TempFolder& folder, Situation situation)
{
    unsigned seed = 1;
    for (const char* name : SettingsFiles) {
        if (situation == Situation::FoldersInTheWay)
            std::filesystem::create_directories(folder.path() / name / "inside");
        else if (situation == Situation::Garbage)
            folder.write(name, garbage(seed++));
    }
    if (situation == Situation::Unwritable)
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
}

// A started program: its windows, and the action that quits it.
struct Started {
    // The main window first; they go in the reverse order, as main()'s do.
    std::vector<std::unique_ptr<QWidget>> windows;
    QAction* quit = nullptr;
};

// As each main() starts its program: the launcher and the editors of banks and objects are one
// window each.
template <typename MainForm>
Started startOneWindow(QAction* MainForm::*quit)
{
    Started started;
    auto form = std::make_unique<MainForm>();
    started.quit = form.get()->*quit;
    started.windows.push_back(std::move(form));
    return started;
}

Started startPartiva()
{
    Started started;
    StartGameSettings();
    auto form = std::make_unique<TGameParamForm>();
    auto objects = std::make_unique<TObjectDialog>(form.get());
    auto sounds = std::make_unique<TWAVDialog>(form.get());
    form->WAVDialog = sounds.get();
    started.quit = form->Quit1;
    started.windows.push_back(std::move(form));
    started.windows.push_back(std::move(objects));
    started.windows.push_back(std::move(sounds));
    return started;
}

} // namespace

class ProgramStartTest : public QObject {
    Q_OBJECT

    QStringList told; // every message and error shown, in order

private Q_SLOTS:
    void init()
    {
        told.clear();
        LanguageName.clear();
        DictionaryTable.fill("");
        Hooks() = {};
        Hooks().message = [this](const QString& text) { told << text; };
        Hooks().error = [this](const QString& text) { told << text; };
        Hooks().askYesNo = [this](const QString&, const QString& text) {
            told << text;
            return false;
        };
        // The skinning editor asks for a bank as it starts: the user cancels.
        Hooks().chooseOpenFile = [](const FileDialogRequest&) { return QString(); };
    }
    void cleanup()
    {
        SetWriteFaultHook(nullptr);
        Hooks() = {};
    }

    void startsAndQuits_data()
    {
        QTest::addColumn<int>("program");
        QTest::addColumn<int>("situation");
        // Per program and situation, the files its start must report (one message each).
        QTest::addColumn<QStringList>("reported");
        const struct {
            const char* name;
            Situation situation;
        } situations[] = {{"empty folder", Situation::Empty},
                          {"unwritable folder", Situation::Unwritable},
                          {"folders in the way", Situation::FoldersInTheWay},
                          {"garbage settings", Situation::Garbage}};
        const struct {
            const char* name;
            QStringList reported[4];
        } programs[] = {
            // The launcher writes its renderer at start; the others write nothing until asked.
            {"Ormel2", {{}, {"Ormel2.ini"}, {"Ormel2.dic", "Ormel2.ini"}, {}}},
            {"Pigmenta", {{}, {}, {"Pigmenta.dic"}, {}}},
            {"Partiva", {{}, {}, {"game.ini", "Partiva.dic"}, {}}},
            {"Tessaro3D", {{}, {}, {"Tessaro3D.dic"}, {}}},
        };
        for (int p = 0; p < 4; ++p)
            for (int s = 0; s < 4; ++s)
                QTest::addRow("%s, %s", programs[p].name, situations[s].name)
                    << p << static_cast<int>(situations[s].situation) << programs[p].reported[s];
    }

    void startsAndQuits()
    {
        QFETCH(int, program);
        QFETCH(int, situation);
        QFETCH(QStringList, reported);
        const TempFolder folder;
        prepare(folder, static_cast<Situation>(situation));

        const std::function<Started()> start[] = {[] { return startOneWindow(&TOrmel2Form::Quit1); },
                                                 [] { return startOneWindow(&TMainForm::Quit1); }, startPartiva,
                                                 [] { return startOneWindow(&TForm1::Quitter1); }};
        Started started = start[program]();
        started.windows.front()->show();
        // The event loop runs until the Quit item, chosen as soon as the loop is under way.
        QTimer::singleShot(0, started.quit, &QAction::trigger);
        QCOMPARE(QApplication::exec(), 0);
        while (!started.windows.empty())
            started.windows.pop_back();

        QCOMPARE(told.size(), reported.size());
        for (qsizetype i = 0; i < told.size(); ++i)
            QVERIFY2(told[i].contains(reported[i]), qPrintable(told[i]));
        // Nothing is left behind where nothing could be written.
        if (static_cast<Situation>(situation) == Situation::Unwritable)
            QCOMPARE(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
    }

    // The defaults each program shows when its settings are garbage or missing.
    void defaultsApply()
    {
        for (const Situation situation : {Situation::Empty, Situation::Garbage, Situation::FoldersInTheWay}) {
            const TempFolder folder;
            prepare(folder, situation);
            {
                TOrmel2Form launcher;
                QCOMPARE(launcher.Renderer, 0);
                QCOMPARE(launcher.windowTitle(), QString(" - "));
            }
            {
                TMainForm editor;
                QCOMPARE(editor.windowTitle(), QString("Texture bank definition - Untitled[*]")); // English without a dictionary
                QVERIFY(editor.Bank.slots[0].name.empty());
            }
            {
                TForm1 skinner;
                QCOMPARE(skinner.object.lastFace, 0); // the start object's one triangle
                QCOMPARE(skinner.context->bank.lastTexture, 0);
            }
            {
                StartGameSettings();
                TGameParamForm parameters;
                const TGameSettings defaults;
                QCOMPARE(parameters.GameTitleText->text(), QString::fromStdString(defaults.GameTitle));
                QCOMPARE(GameSettings.BigFontHeight, defaults.BigFontHeight);
                QCOMPARE(GameSettings.TimerHealth, defaults.TimerHealth);
            }
        }
    }
};

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, "Start test");
    ProgramStartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProgramStartTest.moc"
