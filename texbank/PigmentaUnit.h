#pragma once
// TMainForm: the texture bank editor's window. The top panel shows the slot under the mouse and
// the chosen texture; below it the slot grid, scrolled by rows with the up-down control on its
// left; at the top right the chosen texture plays. Slot commands are in the pop-up menu (F2 to F5).
//
// Every edit of the bank is a BankChange pushed on the document's undo history (Edit menu); the
// document (EditorDocument) also asks before unsaved work is lost, keeps recovery copies of the
// .def text, the recent banks and the window's place, and opens banks given on the command line
// or dropped on the window. A PCX dropped on a slot loads into that slot.
#include "BankEditing.h"
#include "BankMessages.h"
#include "DocumentTexts.h"
#include "Dialogs.h"
#include "DisplayImage.h"
#include "EditorBank.h"
#include "ImportImagesDialog.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

class EditorDocument;
class PictureImport;
struct PictureImportResult;
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

    EditorDocument* document;

    FileDialogRequest OpenPCXDialog;
    FileDialogRequest OpenPicturesDialog;
    FileDialogRequest OpenBankDialog;
    FileDialogRequest SaveBankDialog;

    QMenu* File1;
    QAction* Newbank1;
    QAction* Loadpigmenta1;
    QAction* Savepigmenta1;
    QAction* ImportImages1;
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

    // The document's hooks: Save (to the bank's file, asking a name when it has none), the .def
    // bytes for a recovery copy, a bank given from elsewhere (the command line, a drop, the
    // recent files: its project folder becomes the start folder), a recovered copy.
    bool SaveDocument();
    QByteArray DocumentBytes() const;
    void OpenFile(const QString& file);
    void OpenRecovered(const QString& copy, const QString& original);
    // A file dropped at `at` (client coordinates) onto the slot grid.
    bool SlotTakesDrop(const QPoint& at, const QStringList& files) const;
    void DropOnSlot(const QPoint& at, const QString& file);

public Q_SLOTS:
    void TextureIndexChange();
    void TextureAnimationTimerTimer();
    void ClearTextureButtonClick();
    void Newbank1Click();
    void Loadpigmenta1Click();
    void Savepigmenta1Click();
    void ImportImages1Click();
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
    void makeDocument();
    // Images are named relative to `folder` from now on, and the file dialogs start there.
    void useStartFolder(const std::string& folder);
    DocumentTexts documentTexts() const;
    // Applies `change` as one undoable command, saying `text` in the Edit menu.
    void pushChange(const QString& text, BankChange change);
    // The exchange of a command's change with the bank, shown.
    void exchange(BankChange& held);
    void loadImageInto(std::int32_t slot, const QString& path);
    bool loadBank(const QString& path);
    bool saveBank(const QString& path);
    // Where the import's textures go first: the folder chosen last time when it is inside the
    // start folder, else the folder of the bank's first named image, else the start folder.
    QString proposedImportFolder() const;
    // Runs `work` (a step of the import) off the window's thread behind a progress bar saying
    // `label`, with a cancel button when `mayCancel`.
    void runImport(PictureImport& importing, const QString& label, bool mayCancel, const std::function<void()>& work);
    // The import's palette and pictures as its question shows them.
    ImportPreview importPreview(const PictureImport& importing) const;
    void reportImport(const PictureImportResult& result);

    std::minstd_rand flicker_;
    int wheelSteps_ = 0; // the mouse wheel's eighths of a degree not yet turned into rows
    bool viewDrawn_ = false; // the view image holds the grid (a new one after a resize does not)
};
