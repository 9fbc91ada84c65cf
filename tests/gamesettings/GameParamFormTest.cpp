// The parameters window as a user drives it: edits typed into, files chosen, sounds picked
// through the sound dialog, values saved.
#include "GameParamUnit.h"

#include "FileLabel.h"
#include "GameSettings.h"
#include "NumberText.h"
#include "OpenWAV.h"
#include "ParamControls.h"
#include "SafeWrite.h"
#include "Shell.h"
#include "TempFolder.h"
#include "UserFolders.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>
#include <memory>

namespace {

// The game.ini key of a value of TGameSettings.
std::string_view keyOf(const ControlValue& value)
{
    for (const GameKey& key : GameKeys) {
        const bool same = std::visit(
            [&](auto field) {
                const auto* held = std::get_if<decltype(field)>(&value);
                return held && *held == field;
            },
            key.Field);
        if (same)
            return key.Name;
    }
    return {};
}

} // namespace

class GameParamFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<TGameParamForm> form;
    TWAVDialog* dialog = nullptr;
    QStringList messages;
    QStringList asked; // the questions asked, each answered copyIn
    bool copyIn = false;
    QList<FileDialogRequest> requests;
    QString chosenFile; // what the next open dialog answers; empty: cancelled

    QString inFolder(const QString& name) const { return QString::fromStdString((folder->path() / name.toStdString()).string()); }

    // A dictionary whose entry n reads "Tn", entry 7 "&File" and 22 a message of its own.
    void writeDictionary() const
    {
        std::string text = "[Config]\r\nLanguage=English\r\n[English]\r\n";
        for (int i = 0; i <= 48; ++i) {
            text += std::to_string(i) + "=";
            if (i == 7)
                text += "&File";
            else if (i == 22)
                text += "Not in LEVEL";
            else
                text += 'T' + std::to_string(i);
            text += "\r\n";
        }
        folder->write("Partiva.dic", text);
    }

    void createForm()
    {
        form = std::make_unique<TGameParamForm>();
        new TObjectDialog(form.get());
        dialog = new TWAVDialog(form.get());
        form->WAVDialog = dialog;
        form->FormActivate();
    }

    // Types into an edit as a user does: at the end of its text, one key at a time.
    static void type(QLineEdit* edit, const QString& keys)
    {
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, keys);
    }
    static void replaceText(QLineEdit* edit, const QString& keys)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, keys);
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempFolder>();
        writeDictionary();
        StartGameSettings();
        messages.clear();
        requests.clear();
        chosenFile.clear();
        Hooks().message = [this](const QString& text) { messages << text; };
        Hooks().error = [this](const QString& text) { messages << text; };
        Hooks().chooseOpenFile = [this](const FileDialogRequest& request) {
            requests << request;
            return chosenFile;
        };
        asked.clear();
        copyIn = false;
        Hooks().askYesNo = [this](const QString&, const QString& text) {
            asked << text;
            return copyIn;
        };
    }

    void cleanup()
    {
        form.reset();
        Hooks() = {};
        Shell() = {};
        SetWriteFaultHook(nullptr);
        folder.reset();
    }

    void windowIsAFixedPageInTheGameColours()
    {
        createForm();
        const QWidget* client = form->centralWidget();
        QCOMPARE(client->size(), QSize(763, 518));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(client->palette().color(QPalette::Window), QColor(115, 140, 131));
        QCOMPARE(form->HelpFileLabel->cursor().shape(), Qt::PointingHandCursor);
        // Every control lies inside the page.
        for (const QWidget* child : client->findChildren<QWidget*>())
            QVERIFY2(client->rect().contains(child->geometry()), qPrintable(child->objectName()));
    }

    void defaultsAreShownInCanonicalForm()
    {
        createForm();
        QCOMPARE(form->GameTitleText->text(), QString("Ormel 2 Player"));
        QCOMPARE(form->WeaponLeftText->text(), QString("0.8")); // game.ini holds 0.800000011920929
        QCOMPARE(form->TimerHealthText->text(), QString("2.5"));
        QCOMPARE(form->LifeIconHeightText->text(), QString("0.121"));
        QCOMPARE(form->StartSaveNumberText->text(), QString("1000"));
        QCOMPARE(form->BigFontHeightText->text(), QString("15"));
    }

    void gameFileValuesAreShown()
    {
        folder->write("game.ini", "[Game]\r\nMenuSound=SOUND\\A.WAV\r\nStartLevel=ONE.LEV\r\nCrossAlpha=0x20\r\n");
        createForm();
        QCOMPARE(form->MenuSoundLabel->text(), QString("SOUND\\A.WAV"));
        QCOMPARE(form->StartLevelLabel->text(), QString("ONE.LEV"));
        QCOMPARE(form->CrossAlphaText->text(), QString("32"));
        QCOMPARE(form->HelpFileLabel->text(), QString());
    }

    void numberEditsTakeWhatIsTypedKeyByKey()
    {
        createForm();
        GameSettings.CameraMinDistance = 200;
        form->RefreshControls();
        // Selected whole, then typed over key by key: these stored TimerHealth=5, TimerLeft=25,
        // CameraMinDistance=20030 and TimerTop=15, each key's text turned into its value's.
        const struct {
            QLineEdit* TGameParamForm::*edit;
            const char* keys;
            double value;
            QString shownAfterEnter;
        } cases[] = {
            {&TGameParamForm::TimerHealthText, "0.5", 0.5, "0.5"},
            {&TGameParamForm::TimerLeftText, "2.5", 2.5, "2.5"},
            {&TGameParamForm::CameraMinDistanceText, "-30", -30, "-30"},
            {&TGameParamForm::TimerTopText, "1e-5", double(1e-5f), "1E-5"},
            {&TGameParamForm::CrossLeftText, ".25", 0.25, "0.25"},
            {&TGameParamForm::StartSaveNumberText, "007", 7, "7"},
            {&TGameParamForm::StartSaveNumberText, "$1f", 31, "31"},
        };
        const auto value = [&](QLineEdit* edit) {
            if (edit == form->CameraMinDistanceText)
                return double(GameSettings.CameraMinDistance);
            if (edit == form->StartSaveNumberText)
                return double(GameSettings.StartSaveNumber);
            return double(edit == form->TimerHealthText ? GameSettings.TimerHealth
                          : edit == form->TimerLeftText ? GameSettings.TimerLeft
                          : edit == form->TimerTopText  ? GameSettings.TimerTop
                                                        : GameSettings.CrossLeft);
        };
        for (const auto& c : cases) {
            QLineEdit* edit = form.get()->*c.edit;
            replaceText(edit, c.keys);
            QCOMPARE(edit->text(), QString(c.keys)); // left as typed
            QCOMPARE(value(edit), c.value);
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(edit->text(), c.shownAfterEnter);
        }

        // Backspace down to nothing leaves the edit empty and the value at its last number;
        // leaving the edit shows that number again.
        QLineEdit* save = form->StartSaveNumberText;
        replaceText(save, "12");
        QTest::keyClick(save, Qt::Key_Backspace);
        QCOMPARE(GameSettings.StartSaveNumber, 1);
        QTest::keyClick(save, Qt::Key_Backspace);
        QCOMPARE(save->text(), QString());
        QCOMPARE(GameSettings.StartSaveNumber, 1);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(save, &leave);
        QCOMPARE(save->text(), QString("1"));

        // A key that cannot lead to a number gives way to the value's text at once.
        replaceText(save, "12");
        type(save, "a");
        QCOMPARE(save->text(), QString("12"));
        QCOMPARE(GameSettings.StartSaveNumber, 12);
        save->setText("99999999999"); // a pasted text outside the 32-bit range
        QCOMPARE(save->text(), QString("12"));
    }

    void fractionEditsRefuseWhatDoesNotFitOrUsesAComma()
    {
        createForm();
        QLineEdit* health = form->TimerHealthText;
        health->setText("1e50");
        QCOMPARE(health->text(), QString("2.5"));
        health->setText("0,5");
        QCOMPARE(health->text(), QString("2.5"));
        replaceText(health, "1e50"); // "1e5" was taken; the "0" after it is refused
        QCOMPARE(health->text(), QString("100000"));
        QCOMPARE(GameSettings.TimerHealth, 1e5f);
        replaceText(health, "0.87");
        QTest::keyClick(health, Qt::Key_Enter);
        QCOMPARE(health->text(), QString("0.87"));
        QVERIFY(messages.isEmpty());
    }

    void everyNumberEditStoresIntoItsOwnKey()
    {
        // A distinct value typed into each of the 33 edits lands in its own key of game.ini.
        createForm();
        std::map<std::string, std::string> typed;
        int n = 0;
        for (const ParamControl& control : ParamControls()) {
            if (control.kind != ControlKind::NumberEdit)
                continue;
            ++n;
            const bool fraction = std::holds_alternative<float TGameSettings::*>(control.value);
            const QString text = fraction ? QString("%1.25").arg(n) : QString::number(100 + n);
            replaceText(form.get()->*std::get<QLineEdit* TGameParamForm::*>(control.member), text);
            typed[std::string(keyOf(control.value))] = text.toStdString();
        }
        QCOMPARE(n, 33);
        QCOMPARE(typed.size(), std::size_t{33});
        form->SaveParameters1->trigger();
        const std::string saved = folder->read("game.ini");
        for (const auto& [key, text] : typed)
            QVERIFY2(saved.find("\r\n" + key + "=" + text + "\r\n") != std::string::npos, key.c_str());
    }

    void tabsFollowTheRowsOfThePage()
    {
        createForm();
        // From the title through the camera edits to the help file's Clear button, and from the
        // last weapon edit to the video and music Clear buttons.
        QWidget* expected[] = {form->GameTitleText, form->CameraMinDistanceText, form->CameraMaxDistanceText,
                               form->CameraStepText, form->ClearHelpFileButton, form->StartSaveNumberText};
        const auto next = [](QWidget* widget) {
            do
                widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus));
            return widget;
        };
        for (std::size_t i = 1; i < std::size(expected); ++i)
            QCOMPARE(next(expected[i - 1]), expected[i]);
        QCOMPARE(next(form->WeaponStringTopText), form->IntroVideoClearButton);
        QCOMPARE(next(form->DeveloperVideoClearButton), form->ClearSmallFontButton);
        QCOMPARE(next(form->ClearBigFontButton), form->BigFontWidthText);
    }

    void anEmptyTitleIsStoredAndLoadsAsTheDefault()
    {
        createForm();
        form->GameTitleText->clear();
        QCOMPARE(GameSettings.GameTitle, std::string());
        QCOMPARE(form->GameTitleText->text(), QString());
        form->SaveParameters1->trigger();
        QVERIFY(folder->read("game.ini").find("GameTitle=\r\n") != std::string::npos);
        LoadGameSettings();
        QCOMPARE(GameSettings.GameTitle, std::string("Ormel 2 Player"));
    }

    void filesInsideTheFolderAreStoredRelative()
    {
        createForm();
        chosenFile = inFolder("Fonts/Small.pcx");
        emit form->SmallFontLabel->clicked();
        QCOMPARE(GameSettings.SmallFontBitmap, std::string("FONTS\\SMALL.PCX"));
        QCOMPARE(form->SmallFontLabel->text(), QString("FONTS\\SMALL.PCX"));
        QCOMPARE(requests.last().title, QString("T20"));
        QCOMPARE(requests.last().folder, QString::fromStdString(folder->path().string()));
        QCOMPARE(requests.last().defaultSuffix, QString("pcx"));
        QVERIFY(requests.last().filter.contains("*.pcx"));

        // From outside the game folder: the offer to copy it in, declined.
        chosenFile = "/elsewhere/Font.pcx";
        emit form->SmallFontLabel->clicked();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith("/elsewhere/Font.pcx lies outside the game folder"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(GameSettings.SmallFontBitmap, std::string("FONTS\\SMALL.PCX"));

        messages.clear();
        chosenFile.clear(); // cancelled
        emit form->SmallFontLabel->clicked();
        QVERIFY(messages.isEmpty());
        QCOMPARE(GameSettings.SmallFontBitmap, std::string("FONTS\\SMALL.PCX"));

        // Each label fills its own value through its own dialog.
        chosenFile = inFolder("Videos/Intro.avi");
        emit form->IntroVideoLabel->clicked();
        QCOMPARE(GameSettings.IntroVideo, std::string("VIDEOS\\INTRO.AVI"));
        QCOMPARE(requests.last().title, QString("Please select a video file"));
        chosenFile = inFolder("end.mod");
        emit form->ExtroMusicLabel->clicked();
        QCOMPARE(GameSettings.ExtroMusic, std::string("END.MOD"));
        QCOMPARE(requests.last().title, QString("Please select a music file"));
        chosenFile = inFolder("Game.html");
        emit form->HelpFileLabel->clicked();
        QCOMPARE(GameSettings.HelpFile, std::string("GAME.HTML"));
        QCOMPARE(requests.last().title, QString("T23"));
    }

    void theStartLevelMustLieInTheLevelFolder()
    {
        std::filesystem::create_directory(folder->path() / "Level");
        createForm();
        chosenFile = inFolder("Level/First.lev");
        emit form->StartLevelLabel->clicked();
        QCOMPARE(GameSettings.StartLevel, std::string("FIRST.LEV"));
        QCOMPARE(requests.last().title, QString("T19"));
        QCOMPARE(requests.last().folder, QString::fromStdString((folder->path() / "Level").string()));

        // Elsewhere, even in the game folder: the offer to copy it into the LEVEL folder.
        folder->write("Other.lev", "a level");
        chosenFile = inFolder("Other.lev");
        emit form->StartLevelLabel->clicked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(GameSettings.StartLevel, std::string("FIRST.LEV"));
        copyIn = true;
        emit form->StartLevelLabel->clicked();
        QCOMPARE(GameSettings.StartLevel, std::string("OTHER.LEV"));
        QCOMPARE(folder->read("Level/Other.lev"), std::string("a level"));
        QVERIFY(messages.isEmpty());
    }

    void clearButtonsEmptyTheirOwnRowOnly()
    {
        folder->write("game.ini", "[Game]\r\nHelpFile=H.CHM\r\nCrossIcon=C.PCX\r\nLifeIcon=L.PCX\r\nIntroMusic=M.MOD\r\n");
        createForm();
        form->ClearHelpFileButton->click();
        QCOMPARE(GameSettings.HelpFile, std::string());
        QCOMPARE(form->HelpFileLabel->text(), QString());
        QCOMPARE(GameSettings.CrossIcon, std::string("C.PCX"));
        form->ClearCrossButton->click();
        QCOMPARE(GameSettings.CrossIcon, std::string());
        QCOMPARE(GameSettings.LifeIcon, std::string("L.PCX"));
        form->IntroMusicClearButton->click();
        QCOMPARE(GameSettings.IntroMusic, std::string());
        QCOMPARE(GameSettings.LifeIcon, std::string("L.PCX"));
    }

    void soundDialogClearAndOKEmptiesTheSound()
    {
        folder->write("game.ini", "[Game]\r\nMenuSound=OLD.WAV\r\n");
        createForm();
        QString shown;
        QTimer::singleShot(0, this, [&] {
            shown = dialog->FilenameLabel->text();
            dialog->ClearButton->click();
            dialog->OKButton->click();
        });
        emit form->MenuSoundLabel->clicked();
        QCOMPARE(shown, QString("OLD.WAV"));
        QCOMPARE(GameSettings.MenuSound, std::string());
        QCOMPARE(form->MenuSoundLabel->text(), QString());
    }

    void soundDialogCancelOrCloseKeepsTheSound()
    {
        folder->write("game.ini", "[Game]\r\nTimerSound=OLD.WAV\r\n");
        createForm();
        chosenFile = inFolder("Sfx/Menu.wav");
        QString shown;
        QTimer::singleShot(0, this, [&] {
            dialog->ChangeButton->click();
            shown = dialog->FilenameLabel->text();
            dialog->CancelButton->click();
        });
        emit form->TimerSoundLabel->clicked();
        QCOMPARE(shown, QString("SFX\\MENU.WAV"));
        QCOMPARE(GameSettings.TimerSound, std::string("OLD.WAV"));

        QTimer::singleShot(0, this, [&] {
            dialog->ChangeButton->click();
            dialog->close();
        });
        emit form->TimerSoundLabel->clicked();
        QCOMPARE(GameSettings.TimerSound, std::string("OLD.WAV"));

        QTimer::singleShot(0, this, [&] {
            dialog->ChangeButton->click();
            dialog->OKButton->click();
        });
        emit form->CameraSoundLabel->clicked();
        QCOMPARE(GameSettings.CameraSound, std::string("SFX\\MENU.WAV"));
        QCOMPARE(GameSettings.TimerSound, std::string("OLD.WAV"));
    }

    void firstActivationTranslatesTheWindowAndTheSoundDialog()
    {
        createForm();
        QCOMPARE(form->windowTitle(), "T0 - " + QString::fromStdString(folder->path().filename().string()) + "[*]");
        QCOMPARE(form->File1->title(), QString("&File"));
        QCOMPARE(form->SaveParameters1->text(), QString("T2"));
        QCOMPARE(form->Help1->text(), QString("T4"));
        const struct {
            const QLabel* label;
            const char* text;
        } labels[] = {
            {form->Label1, "T1"},   {form->Label2, "T13"},  {form->Label7, "T18"},  {form->Label8, "T21"},
            {form->Label12, "T28"}, {form->Label39, "T28"}, {form->Label40, "T29"}, {form->Label24, "T30"},
            {form->Label25, "T31"}, {form->Label38, "T32"}, {form->Label36, "T37"}, {form->Label41, "T39"},
            {form->Label46, "T44"}, {form->Label47, "T43"}, {form->Label53, "T46"}, {form->Label54, "T47"},
            {form->Label51, "T48"},
        };
        for (const auto& l : labels)
            QCOMPARE(l.label->text(), QString(l.text));
        QCOMPARE(form->ExtroMusicClearButton->text(), QString("T25"));
        QCOMPARE(form->OutsideFolderMessage, std::string("T5"));
        QCOMPARE(dialog->windowTitle(), QString("T6"));
        QCOMPARE(dialog->Label1->text(), QString("File"));
        QCOMPARE(dialog->PlayButton->text(), QString("T12"));
        QCOMPARE(dialog->OutsideFolderMessage, std::string("T5"));
        QCOMPARE(GameFolder, [&] {
            std::string upper = folder->path().string();
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return upper;
        }());

        // Later activations change nothing.
        form->Label1->setText("changed");
        form->FormActivate();
        QCOMPARE(form->Label1->text(), QString("changed"));
    }

    void aFailedSaveIsReportedAndKeepsTheFile()
    {
        folder->write("game.ini", "[Game]\r\nGameTitle=Kept\r\n");
        createForm();
        form->GameTitleText->setText("New title");
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
        form->SaveParameters1->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().contains("game.ini"));
        QCOMPARE(folder->read("game.ini"), std::string("[Game]\r\nGameTitle=Kept\r\n"));

        SetWriteFaultHook(nullptr);
        form->SaveParameters1->trigger();
        QVERIFY(folder->read("game.ini").find("GameTitle=New title\r\n") != std::string::npos);
    }

    // Nothing is written while a minimum lies above its maximum, both rows named; equal values agree.
    void aMinimumAboveItsMaximumIsNotSaved()
    {
        const std::string before = "[Game]\r\nCameraMinDistance=200\r\nCameraMaxDistance=1200\r\n";
        folder->write("game.ini", before);
        createForm();
        replaceText(form->CameraMinDistanceText, "5000");
        form->SaveParameters1->trigger();
        QCOMPARE(messages, QStringList{"T16 (5000) is above T17 (1200): nothing was saved. Make them agree, then save again."});
        QCOMPARE(folder->read("game.ini"), before);
        QVERIFY(form->isWindowModified());
        replaceText(form->CameraMaxDistanceText, "5000");
        form->SaveParameters1->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(folder->read("game.ini").find("\r\nCameraMinDistance=5000\r\nCameraMaxDistance=5000\r\n") != std::string::npos);
    }

    void helpOpensTheEditorsOwnPage()
    {
        folder->write("Partiva_English.html", "<html></html>");
        QString opened;
        Shell().openDocument = [&](const QString& path) {
            opened = path;
            return true;
        };
        createForm();
        form->Help1->trigger();
        QVERIFY(opened.endsWith("Partiva_English.html"));
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders; // the window remembers its place and recent folders
    QApplication application(argc, argv);
    GameParamFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "GameParamFormTest.moc"
