#pragma once
// TMainForm: the texture bank editor's window. The top panel shows the slot under the mouse and
// the chosen texture; below it the slot grid, scrolled by rows with the up-down control on its
// left, its thumbnails growing with the window; at the top right the chosen texture plays, and
// down the right side the list of the bank's textures plays them all. Slot commands are in the
// pop-up menu (F2 to F5); a click and a Shift+click select a run of slots, which Make texture (F6)
// turns into a texture.
//
// The window draws only when something it shows changed, and steps its animations on their
// 100 ms timer only while an animated texture is shown: idle, it uses no processor.
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
#include "SlotGrid.h"
#include "SlotGridMarks.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

class EditorDocument;
class PictureImport;
struct PictureImportResult;
class QAction;
class QFrame;
class QLabel;
class QListView;
class QPainter;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class TextureListModel;
class UpDownControl;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The texture list's column at the right of the grid, in window pixels.
    static constexpr int TextureColumnWidth = 150;

    // The folder that was current at start; image names are relative to it.
    std::string startFolder;
    EditorBank Bank;
    std::int32_t CursorImage = 0;
    DisplayImage ViewImage;
    DisplayImage PreviewImage;
    bool PreviewShown = false; // the preview image holds a frame to show
    GridLayout Layout;           // the grid's cells in view pixels (the screen's own pixels)
    std::optional<SlotSpan> Selection; // the run of slots Make texture turns into a texture
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
    QPushButton* MakeTextureButton;
    QListView* TextureList; // the bank's textures, playing
    TextureListModel* TextureListRows;

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
    QAction* MakeTexture1;
    QAction* DeleteTexture1; // on the texture list: Delete

    int Columns() const { return Layout.columns; }
    // Screen pixels per window pixel: 2 on a screen at scale factor 2.
    double ViewScale() const;
    AnimTexture& ChosenTexture();
    void TranslateForm();

    // Handlers; the mouse position is in the form's client coordinates.
    void FormMouseMove(int X, int Y);
    // The left button on a slot selects it alone, or with Shift the run from the first one chosen.
    void FormMouseDown(int X, int Y, bool shift);
    // Lays the grid out again for the client's size, with a new view image drawn at the next paint.
    void FormResize();
    void Paint();
    // Has the window draw the grid and the preview again: after a change of the bank, the palette,
    // the layout or the scroll.
    void Repaint();
    // The animation timer runs while the window shows an animated texture.
    bool Animating() const;
    // The slot grid's tooltip for client point `at`: the slot's number, what it gives and how to
    // fill it, the textures over it.
    QString SlotTip(const QPoint& at) const;

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
    void MakeTexture1Click();
    void DeleteTexture1Click();
    void TextureListClick(const QModelIndex& row);

private:
    void FormCreate();
    void buildPanel(QWidget* client);
    // Beside the grid: Make texture and the list of the bank's textures.
    void buildTextureColumn(QWidget* client);
    void buildMenus();
    void paintClient(QWidget* client);
    void paintMarks(QPainter& canvas, const GridMarks& marks) const;
    void showSlotTip(const QPoint& at, const QPoint& globalPos);
    // Something of the bank changed: the grid, the texture list, the hints and the animation follow.
    void bankChanged();
    // The timer started or stopped as Animating() says.
    void followAnimation();
    // Slot `slot`'s cell in client coordinates (for a partial repaint).
    QRect cellOnClient(std::int32_t slot) const;
    void updateCell(std::int32_t slot);
    GridMarksState marksState() const;
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

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

    mutable std::minstd_rand flicker_; // the palette slot's cursor frame, new at every repaint
    std::int32_t selectionAnchor_ = 0;
    int wheelSteps_ = 0; // the mouse wheel's eighths of a degree not yet turned into rows
    bool viewDrawn_ = false; // the view image holds the grid (a new one after a resize does not)
    QImage viewShown_;       // the view image in true colour, as the window draws it
};
