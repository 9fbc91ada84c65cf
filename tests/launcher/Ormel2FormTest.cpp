// The launcher through its form, offscreen, in a fresh folder per test.
#include "Dialogs.h"
#include "LocalisationUnit.h"
#include "Ormel2Unit.h"
#include "SafeWrite.h"
#include "Shell.h"
#include "TempFolder.h"

#include "Ormel2Settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

constexpr const char* Dictionary = "[Config]\nLanguage=English\n"
                                   "[English]\n0=&File\n1=&Quit\n2=&Options\n3=Mode\n4=&Language\n5=&Help\n6=Project\n"
                                   "7=Skin\n8=Textures\n9=Tiles\n10=Levels\n11=Parameters\n12=Test\n13=Deploy\n"
                                   "[Fran\xE7" "ais]\n0=&Fichier\n6=Projet\n8=Textures FR\n"; // Windows-1252, as the files are

QStringList checkedItems(QMenu* menu)
{
    QStringList items;
    for (QAction* item : menu->actions())
        if (item->isChecked())
            items << item->text();
    return items;
}

void makeProgram(const TempFolder& folder, const char* name)
{
    const auto file = folder.write(name, "#!/bin/sh\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
}

} // namespace

class Ormel2FormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder;
    QStringList started;
    QStringList opened;
    QStringList errors;

    std::unique_ptr<TOrmel2Form> makeForm() { return std::make_unique<TOrmel2Form>(); }

private slots:
    void init()
    {
        folder = std::make_unique<TempFolder>();
        Hooks() = {};
        started.clear();
        opened.clear();
        errors.clear();
        LanguageName.clear();
        DictionaryTable.fill("");
        Shell().startProgram = [this](const QString& name) { started << name; };
        Shell().openDocument = [this](const QString& path) {
            opened << QFileInfo(path).fileName();
            return true;
        };
        Hooks().error = [this](const QString& text) { errors << text; };
    }
    void cleanup() { folder.reset(); }

    void startInAnEmptyFolderUsesDefaultsAndWritesTheSettings()
    {
        const auto form = makeForm();
        QCOMPARE(form->Renderer, 0);
        QCOMPARE(form->LanguageMenu->actions().size(), 1);
        QCOMPARE(form->LanguageMenu->actions()[0]->text(), QString());
        QCOMPARE(form->windowTitle(), QString(" - "));
        QCOMPARE(checkedItems(form->RendererMenu), QStringList{"Software"});
        QCOMPARE(QString::fromStdString(folder->read("Ormel2.ini")), QString("[Config]\r\nRenderer=0\r\n"));
        QCOMPARE(form->centralWidget()->size(), QSize(494, 247));
        QVERIFY(errors.isEmpty());
    }

    void captionsComeFromTheDictionaryWithTheGameTitle()
    {
        folder->write("Ormel2.dic", Dictionary);
        folder->write("game.ini", "[Game]\nGameTitle=Quest\n");
        const auto form = makeForm();
        QCOMPARE(form->windowTitle(), QString("Project - Quest"));
        QCOMPARE(form->File1->title(), QString("&File"));
        QCOMPARE(form->TextureButton->text(), QString("Textures"));
        QCOMPARE(form->Tessaro3DButton->text(), QString("Skin"));
        QCOMPARE(form->DeployButton->text(), QString("Deploy"));
        QCOMPARE(form->Help1->text(), QString("&Help"));
    }

    void rendererItemsTickTheModeAndUnknownModesAreKept()
    {
        folder->write("Ormel2.ini", "[Config]\nRenderer=7\n");
        const auto form = makeForm();
        QCOMPARE(form->Renderer, 7);
        QVERIFY(checkedItems(form->RendererMenu).isEmpty());
        QCOMPARE(folder->read("Ormel2.ini"), std::string("[Config]\nRenderer=7\n")); // only read: not rewritten
        form->LevelButton->click();
        form->TestGameButton->click();
        QCOMPARE(started, (QStringList{"EDITOR.EXE", "PLAYER.EXE"}));

        const struct {
            QAction* item;
            int mode;
        } choices[] = {{form->OpenGLMenu, 1}, {form->DirectXMenu, 2}, {form->SoftwareMenu, 0}};
        for (const auto& choice : choices) {
            choice.item->trigger();
            QCOMPARE(form->Renderer, choice.mode);
            QCOMPARE(checkedItems(form->RendererMenu), QStringList{choice.item->text()});
            QCOMPARE(QString::fromStdString(folder->read("Ormel2.ini")),
                     QString("[Config]\r\nRenderer=%1\r\n").arg(choice.mode));
        }
    }

    void levelAndPlayerFollowTheModeWhenInstalled()
    {
        folder->write("Ormel2.ini", "[Config]\nRenderer=1\n");
        makeProgram(*folder, "EDITOR_OGL.EXE");
        const auto form = makeForm();
        form->LevelButton->click();
        form->TestGameButton->click();
        QCOMPARE(started, (QStringList{"EDITOR_OGL.EXE", "PLAYER.EXE"}));
    }

    void toolButtonsStartTheirPrograms()
    {
        const auto form = makeForm();
        for (QPushButton* button : {form->TextureButton, form->Tessaro3DButton, form->TileButton, form->PartivaButton})
            button->click();
        QCOMPARE(started, (QStringList{"Pigmenta.exe", "Tessaro3D.exe", "Mosaro.exe", "Partiva.exe"}));
    }

    // A missing program is named with the folders it was looked for in; the programs installed
    // apart say so. The texts come from the dictionary, or English where it lacks them. The game's
    // programs are looked for in the project folder first; the suite's own never there: a
    // Partiva planted in a project someone handed over must not run as the user.
    void aMissingProgramIsNamedWithWhereItWasLookedFor()
    {
        std::string dictionary = Dictionary;
        dictionary.insert(dictionary.find("13=Deploy\n"), "20=Missing: %1, looked in\n");
        folder->write("Ormel2.dic", dictionary);
        const auto planted = folder->write("Partiva", "#!/bin/sh\ntouch planted-ran\n");
        std::filesystem::permissions(planted, std::filesystem::perms::owner_all);
        const auto form = makeForm();
        Shell().startProgram = nullptr;
        form->TileButton->click();
        form->LevelButton->click();
        form->TestGameButton->click();
        form->PartivaButton->click();
        QCOMPARE(errors.size(), 4);
        const QString bin = "\n" + QCoreApplication::applicationDirPath();
        const QString gameFolders = "\n" + QDir::currentPath() + bin;
        QCOMPARE(errors[0].section('\n', 0, 2), "Missing: Mosaro.exe, looked in" + gameFolders);
        QCOMPARE(errors[1].section('\n', 0, 2), "Missing: EDITOR.EXE, looked in" + gameFolders);
        QCOMPARE(errors[2].section('\n', 0, 2), "Missing: PLAYER.EXE, looked in" + gameFolders);
        QVERIFY(errors[2].endsWith("\n\nThe tile bank editor, the level editor and the game player are programs of "
                                   "their own: install them into the game folder."));
        QCOMPARE(errors[3].section('\n', 0, 1), "Missing: Partiva.exe, looked in" + bin);
        QVERIFY(!errors[3].contains(QDir::currentPath()));
        QTest::qWait(200);
        QVERIFY(!QFile::exists("planted-ran"));
    }

    // New project copies the demo game into the folder named, Open project takes a game's folder;
    // either becomes current and the caption follows its title, also when game.ini is saved later
    // (as Partiva saves: a new file renamed over the old).
    void aNewOrOpenedProjectBecomesCurrentAndTheCaptionFollowsItsTitle()
    {
        folder->write("Ormel2.dic", Dictionary);
        folder->write("other/game.ini", "[Game]\nGameTitle=Other\n");
        folder->write("notes/todo.txt", "");
        const QString home = QDir::currentPath();
        const auto form = makeForm();
        Hooks().chooseSaveFile = [&](const FileDialogRequest&) { return home + "/castle"; };
        Hooks().chooseFolder = [&](const FileDialogRequest&) { return home + "/notes"; };
        form->OpenProject1->trigger();
        QCOMPARE(errors, QStringList{"This folder holds no game project (no game.ini or Ormel2.ini):\n" + home + "/notes"});
        QCOMPARE(QDir::currentPath(), home);

        form->NewProject1->trigger();
        QCOMPARE(QDir::currentPath(), home + "/castle");
        QCOMPARE(form->windowTitle(), QString("Ormel 2 - Crystal Caverns")); // the demo's dictionary and title
        WriteFileAtomically("game.ini", std::string_view("[Game]\r\nGameTitle=Quest\r\n"));
        QTRY_COMPARE(form->windowTitle(), QString("Ormel 2 - Quest"));

        Hooks().chooseFolder = [&](const FileDialogRequest&) { return home + "/other"; };
        form->OpenProject1->trigger();
        QCOMPARE(QDir::currentPath(), home + "/other");
        QCOMPARE(form->windowTitle(), QString("Ormel 2 - Other")); // no dictionary there: the texts stay
        QCOMPARE(errors.size(), 1);
    }

    void helpThatCannotBeShownIsNamed()
    {
        folder->write("Ormel2.dic", Dictionary);
        const auto form = makeForm();
        form->Help1->trigger();
        QCOMPARE(errors, QStringList{"There is no help file: Ormel2_English.chm, Ormel2.chm, Ormel2_English.html, "
                                     "Ormel2.html was looked for."});
        folder->write("Ormel2.html", "");
        Shell().openDocument = [](const QString&) { return false; }; // no viewer for HTML pages
        form->Help1->trigger();
        QCOMPARE(errors.size(), 2);
        QCOMPARE(errors[1], "The help file " + QDir::current().absoluteFilePath("Ormel2.html") +
                                " could not be opened: no program to show it was found.");
    }

    void messageBoxesBearTheTranslatedName()
    {
        folder->write("Ormel2.dic", Dictionary);
        const auto form = makeForm();
        QCOMPARE(MessageTitle(), QString("Project"));
    }

    void buttonsKeepTheirPlacesAndTabOrder()
    {
        const auto form = makeForm();
        const QList<QPushButton*> order{form->TextureButton, form->Tessaro3DButton, form->TileButton, form->LevelButton,
                                        form->PartivaButton, form->TestGameButton, form->DeployButton};
        const int tops[] = {6, 40, 75, 111, 147, 182, 218};
        for (qsizetype i = 0; i < order.size(); ++i) {
            QCOMPARE(order[i]->geometry(), QRect(8, tops[i], 153, 25));
            if (i > 0)
                QCOMPARE(order[i - 1]->nextInFocusChain(), order[i]);
        }
        QCOMPARE(form->Image1->geometry(), QRect(170, 4, 320, 240));
        QVERIFY(!form->Image1->pixmap().isNull());
    }

    void languageMenuFollowsNumber()
    {
        folder->write("Ormel2.dic", Dictionary);
        folder->write("Ormel2.ini", "[Languages]\nNumber=1\n0=English\n1=Fran\xE7" "ais\n");
        auto form = makeForm();
        QCOMPARE(form->LanguageMenu->actions().size(), 2);
        QCOMPARE(form->LanguageMenu->actions()[1]->text(), QString::fromUtf8("Français"));
        QCOMPARE(checkedItems(form->LanguageMenu), QStringList{"English"});

        folder->write("Ormel2.ini", "[Languages]\nNumber=-1\n0=English\n");
        form = makeForm();
        QVERIFY(form->LanguageMenu->actions().isEmpty());
    }

    void choosingALanguageWritesEveryDictionaryAndTranslates()
    {
        folder->write("Ormel2.dic", Dictionary);
        // A name with an 8-bit letter goes into every dictionary as the same Windows-1252 bytes.
        folder->write("Ormel2.ini", "[Languages]\nNumber=1\n0=English\n1=Fran\xE7" "ais\n");
        folder->write("game.ini", "[Game]\nGameTitle=Ch\xE2teau\x92s caves\n");
        const auto form = makeForm();
        form->LanguageMenu->actions()[1]->trigger();
        for (const SuiteDictionary& dictionary : SuiteDictionaries) {
            const std::string name(dictionary.file);
            QVERIFY2(folder->read(name).find("Language=Fran\xE7" "ais\r\n") != std::string::npos, name.c_str());
        }
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Projet - Château’s caves"));
        QCOMPARE(form->TextureButton->text(), QString("Textures FR"));
        QCOMPARE(form->Quit1->text(), QString(MissingEntry));
        QCOMPARE(checkedItems(form->LanguageMenu), QStringList{QString::fromUtf8("Français")});
        QVERIFY(errors.isEmpty());
    }

    void aRendererThatCannotBeWrittenIsReportedAndTheSettingsKept()
    {
        folder->write("Ormel2.ini", "[Config]\nRenderer=1\n");
        const auto form = makeForm();
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
        form->DirectXMenu->trigger();
        SetWriteFaultHook(nullptr);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("Ormel2.ini"));
        QCOMPARE(folder->read("Ormel2.ini"), std::string("[Config]\nRenderer=1\n"));
    }

    void aDictionaryThatCannotBeWrittenIsReported()
    {
        folder->write("Ormel2.ini", "[Languages]\nNumber=0\n0=English\n");
        std::filesystem::create_directory(folder->path() / "Player.dic");
        const auto form = makeForm();
        form->LanguageMenu->actions()[0]->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("Player.dic"));
        QVERIFY(folder->exists("Mosaro.dic"));
    }

    void helpOpensTheLanguagePageFirst()
    {
        folder->write("Ormel2.dic", "[Config]\nLanguage=Francais\n");
        folder->write("Ormel2.html", "");
        const auto form = makeForm();
        form->Help1->trigger();
        folder->write("Ormel2_Francais.html", "");
        form->Help1->trigger();
        QCOMPARE(opened, (QStringList{"Ormel2.html", "Ormel2_Francais.html"}));
    }

    void shortcutsAreSet()
    {
        const auto form = makeForm();
        QCOMPARE(form->Quit1->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(form->Help1->shortcut(), QKeySequence("F1"));
    }
};

QTEST_MAIN(Ormel2FormTest)
#include "Ormel2FormTest.moc"
