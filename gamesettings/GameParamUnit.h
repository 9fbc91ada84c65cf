#pragma once
// TGameParamForm: the game parameters editor's window. One fixed page shows every value of
// game.ini: the title, numbers in edits, and file names in labels that open a file dialog (the
// sounds open the sound dialog). Values change in memory as they are edited; "Save Parameters"
// writes them.
//
// Its controls are built, connected, filled, translated and ordered from one table
// (ParamControls.h), one row per control.
//
// A number edit takes what is typed key by key: a text that converts becomes the value at once
// and stays as typed; a number still being typed ("-", "0.", "1e-") is left as it is; any other
// text gives way to the value's own text at once, without a message. The value's own text
// comes back when the edit loses the focus or Enter is pressed ("007" becomes "7").
//
// The document is the game folder's game.ini (EditorDocument): every field edited, file chosen
// or cleared is an undoable command (a run of typing in one field is one), the caption names the
// folder and marks unsaved work, Quit, closing and opening another folder ask first, recovery
// copies hold game.ini's bytes with the folder as their original, the File menu lists the recent
// folders, and a folder or a game.ini dropped on the window opens it.
#include "Dialogs.h"

#include <QMainWindow>

#include <string>

class EditorDocument;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TFileLabel;
struct ParamControl;
struct TGameSettings;
class TWAVDialog;

class TGameParamForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TGameParamForm(QWidget* parent = nullptr);
    ~TGameParamForm() override;

    // The sound dialog, created after this window by the program.
    TWAVDialog* WAVDialog = nullptr;
    bool Activated = false;           // the first activation is done
    std::string OutsideFolderMessage; // shown when a chosen file lies outside the game folder
    EditorDocument* document = nullptr;

    // Row captions and the captions inside rows.
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
    QLabel *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18, *Label19;
    QLabel *Label20, *Label21, *Label22, *Label23, *Label24, *Label25, *Label26, *Label27, *Label28;
    QLabel *Label29, *Label30, *Label31, *Label32, *Label33, *Label34, *Label35, *Label36, *Label37;
    QLabel *Label38, *Label39, *Label40, *Label41, *Label42, *Label43, *Label44, *Label45, *Label46;
    QLabel *Label47, *Label48, *Label49, *Label50, *Label51, *Label53, *Label54;

    QLineEdit* GameTitleText;
    QLineEdit *CameraMinDistanceText, *CameraMaxDistanceText, *CameraStepText;
    QLineEdit *SmallFontWidthText, *SmallFontHeightText, *BigFontWidthText, *BigFontHeightText;
    QLineEdit* StartSaveNumberText;
    QLineEdit *TimerHealthText, *TimerLeftText, *TimerTopText;
    QLineEdit *CrossLeftText, *CrossTopText, *CrossWidthText, *CrossHeightText, *CrossAlphaText;
    QLineEdit *LifeIconLeftText, *LifeIconTopText, *LifeIconWidthText, *LifeIconHeightText, *LifeIconAlphaText;
    QLineEdit *LifeStringLeftText, *LifeStringTopText;
    QLineEdit *InventoryLeftText, *InventoryTopText, *InventoryAlphaText, *InventoryStringLeftText, *InventoryStringTopText;
    QLineEdit *WeaponLeftText, *WeaponTopText, *WeaponAlphaText, *WeaponStringLeftText, *WeaponStringTopText;

    TFileLabel *MenuSoundLabel, *TimerSoundLabel, *CameraSoundLabel;
    TFileLabel *SmallFontLabel, *BigFontLabel, *StartLevelLabel, *HelpFileLabel, *CrossIconLabel, *LifeIconLabel;
    TFileLabel *DeveloperVideoLabel, *IntroVideoLabel, *IntroMusicLabel, *ExtroVideoLabel, *ExtroMusicLabel;

    QPushButton *ClearSmallFontButton, *ClearBigFontButton, *ClearHelpFileButton, *ClearCrossButton, *ClearLifeIcon;
    QPushButton *DeveloperVideoClearButton, *IntroVideoClearButton, *IntroMusicClearButton;
    QPushButton *ExtroVideoClearButton, *ExtroMusicClearButton;

    QMenu* File1;
    QAction* OpenFolder1;
    QAction* SaveParameters1;
    QAction* Quit1;
    QAction* Help1;

    FileDialogRequest StartLevelDialog, PCXDialog, HelpDialog, OpenMusicDialog, OpenVideoDialog;

    void RefreshControls();
    void TranslateForm();

public Q_SLOTS:
    void FormActivate();
    void OpenFolder1Click();
    void SaveParameters1Click();
    void Quit1Click();
    void Help1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void loadSettings();
    void makeDocument();
    void buildControls();
    QWidget* createControl(const ParamControl& control, QWidget* client);
    void connectControls();
    void buildMenu();
    void buildDialogs();
    void setTabOrders();
    void fitWindow();

    // The handlers of the page's controls, each told which row of the control table it serves.
    void titleChange(const ParamControl& control);
    void numberEditChange(const ParamControl& control);
    void fileLabelClick(const ParamControl& control);
    void clearButtonClick(const ParamControl& control);
    void chooseFile(const FileDialogRequest& dialog, std::string& value, bool levelFile);
    void chooseSound(std::string& value);

    // An edit of `control`'s value as an undoable command; `typed` joins it to the field's run
    // of typing and leaves the field's text as the user typed it.
    template <typename Value>
    void change(const ParamControl& control, Value TGameSettings::*field, Value after, bool typed);
    QString commandText(const ParamControl& control) const;
    bool typing_ = false;

    // The document: the game folder's path, as the history, recovery and recent folders name it.
    QString documentFolder() const;
    bool saveDocument();
    void openFromElsewhere(const QString& file);
    void openFolder(const QString& folder);
    void openRecovered(const QString& copy, const QString& folder);
};
