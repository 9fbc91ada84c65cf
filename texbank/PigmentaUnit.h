#pragma once
// TMainForm: the texture bank editor's window. The top panel shows the slot under the mouse and
// the chosen texture; below it the slot grid, scrolled by rows with the up-down control on its
// left; at the top right the chosen texture plays. Slot commands are in the pop-up menu (F2 to F5).
#include "BankEditing.h"
#include "BankMessages.h"
#include "Dialogs.h"
#include "DisplayImage.h"
#include "EditorBank.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <random>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class UpDownControl;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The folder that was current at start; image names are relative to it.
    std::string startFolder;
    EditorBank Bank;
    std::int32_t CursorImage = 0;
    DisplayImage ViewImage;
    DisplayImage PreviewImage;
    bool PreviewShown = false; // the preview image holds a frame to show
    FrameColours Frames;
    BankMessageTexts BankTexts; // the bank messages' texts, from the dictionary

    QFrame* InterfacePanel;
    QLabel* Label1;
    QLabel* ImageIndexLabel;
    QLabel* Label2;
    QLabel* ImageFileNameLabel;
    QLabel* ColorLabel;
    QLabel* Label3;
    QLabel* TextureIndexLabel;
    QLabel* Label4;
    QLabel* FirstTextureImageLabel;
    QLabel* Label7;
    QLabel* LastTextureImageLabel;
    QLabel* NoTextureHint; // shown while the bank has images but no texture
    QPushButton* ClearTextureButton;
    QScrollBar* TextureIndex;
    UpDownControl* UpDown;
    QWidget* ViewPanel;    // place-holders: the form paints the grid and the preview
    QWidget* TexturePanel; // into their rectangles
    QTimer* TextureAnimationTimer;

    FileDialogRequest OpenPCXDialog;
    FileDialogRequest OpenBankDialog;
    FileDialogRequest SaveBankDialog;

    QMenu* File1;
    QAction* Newbank1;
    QAction* Loadpigmenta1;
    QAction* Savepigmenta1;
    QAction* Quit1;
    QAction* Help1;
    QMenu* PopupMenu1;
    QAction* LoadImage1;
    QAction* Clearimage1;
    QAction* Defineasfirsttextureimage1;
    QAction* Defineaslasttextureimage1;

    int Columns() const;
    AnimTexture& ChosenTexture();
    void TranslateForm();

    // Handlers; the mouse position is in the form's client coordinates.
    void FormMouseMove(int X, int Y);
    // Lays the grid out again for the client's size, with a new view image drawn at the next paint.
    void FormResize();
    void Paint();
    // Paints and has the window show the grid and the preview: the idle repaint.
    void Repaint();

public Q_SLOTS:
    void TextureIndexChange();
    void TextureAnimationTimerTimer();
    void ClearTextureButtonClick();
    void Newbank1Click();
    void Loadpigmenta1Click();
    void Savepigmenta1Click();
    void Quit1Click();
    void Help1Click();
    void LoadImage1Click();
    void Clearimage1Click();
    void Defineasfirsttextureimage1Click();
    void Defineaslasttextureimage1Click();

private:
    void FormCreate();
    void buildPanel(QWidget* client);
    void buildMenus();
    void paintClient(QWidget* client);
    void showMenu(const QPoint& globalPos);
    void turnWheel(const QPoint& at, int eighthsOfDegree);
    bool imageNameRefused(const std::string& name);
    void bankPaletteChanged();
    void showTextureLabels();
    void showCursorLabels();
    void reportUnread(const EditorBankLoad& problems, const KeptBankLines* kept = nullptr);

    std::minstd_rand flicker_;
    int wheelSteps_ = 0; // the mouse wheel's eighths of a degree not yet turned into rows
    bool viewDrawn_ = false; // the view image holds the grid (a new one after a resize does not)
};
