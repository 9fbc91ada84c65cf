#pragma once
// TForm1: the skinning editor's window. On the left the object as the renderer draws it; on the
// right the panel of face controls (Label1), and under it the colour grid and the chosen
// texture's image. The menus load, import and save objects, load a texture bank and run the
// whole-object tools. Every change to the object is an undoable step of the document's history
// (EditorDocument: the Edit menu, the unsaved mark, recovery copies, recent files, drops).
#include "AutoRecovery.h"
#include "Dialogs.h"
#include "DictionaryEntries.h"
#include "DisplayImage.h"
#include "EditorFrame.h"
#include "EditorPanels.h"
#include "FaceEditing.h"
#include "FaceSelection.h"
#include "ModelMaterials.h"
#include "Object3D.h"
#include "RenderContext.h"

#include <QImage>
#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum class Axis;
class EditorDocument;
struct EditorView;
class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QListWidget;
class QListWidgetItem;
class QRubberBand;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QTimer;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Once the window shows: the recovery offer, the files of the command line (or of a desktop
    // opening), then the bank question unless a bank was among them.
    void Start(const QStringList& arguments);
    // Opens a file from elsewhere (the command line, a drop, the recent files) by its kind: a
    // bank, an object, a DXF mesh or a model to import. Its game project folder becomes current.
    void OpenFile(const QString& file);

    EditorDocument* document = nullptr;
    // How long a model import may take before the importer is stopped, in ms.
    int importTimeLimit = 60000;

    // The folder that was current at start; file names resolve against it.
    std::string startFolder;
    std::int32_t currentFace = 0;
    std::uint8_t currentColour = 0;
    std::int32_t currentTexture = 0;
    std::int32_t objectHeight = 0;
    std::int32_t angleX = 0, angleY = 0, angleZ = 0; // view turns, one unit per pixel dragged
    std::int32_t viewDistance = 300;
    std::int32_t panX = 0, panY = 0; // the view moved across and up, in object units
    // The faces the face controls act on, one flag per face; the current face is among them
    // whenever any is selected. With none selected the controls act on the current face.
    FaceFlags selection;
    std::int32_t lastMouseX = 0, lastMouseY = 0; // form client coordinates
    std::uint8_t highlightColour = 0;
    std::uint8_t highlightWhite = 0, highlightBlack = 0;
    Object3D object;
    std::unique_ptr<RenderContext> context; // holds the texture bank; over a megabyte of tables
    DisplayImage TextureViewImage;
    DisplayImage PaletteViewImage;
    PaletteGrid paletteGrid{};

    QFrame* Label1;
    QLabel* FaceLabel;
    QScrollBar* FaceBar;
    QPushButton* TextValid;
    QPushButton* CoulValid;
    QPushButton* Retourne;
    QPushButton* Flip;
    QLabel* Info;
    QPushButton* Reset;
    QSlider* Transparence;
    QLabel* TranspLabel;
    QGroupBox* TypeFace;
    QButtonGroup* TypeFaceItems; // the four radio buttons, ids 0 to 3
    QCheckBox* DoubleFace;
    QLineEdit* Lx;
    QLineEdit* Ly;
    QLabel* HeightLabel;
    QScrollBar* HeightBar;
    QLabel* Label2;
    QLabel* IndexColorPanel;
    QLabel* Label3;
    QLineEdit* TextureIndex; // shows the texture number and takes a typed one
    QWidget* RenderView; // place-holders: the form paints into their rectangles
    QWidget* ColorPaletteView;
    QWidget* TextureView;
    QScrollBar* TextureBar;
    QTimer* Timer1;       // texture animation, 100 ms, running while an animated texture shows
    QTimer* BlinkTimer;   // the current face's outline blinks, without drawing the frame again
    QListWidget* TexturePanel; // the bank's textures as thumbnails

    FileDialogRequest OpenDialog;
    FileDialogRequest SaveDialog;

    QMenu* Fichier1;
    QAction* NewObject;
    QAction* LoadDXFObjet;
    QAction* LoadObjet3D;
    QAction* ImportModel;
    QAction* SaveObjet3D;
    QAction* N2; // the separator before Quit
    QAction* Quitter1;
    QMenu* TextMenu;
    QAction* LoadPigmenta;
    QMenu* Outil;
    QAction* Colorie;
    QAction* TextureTout;
    QAction* MettretoutenTransparent1;
    QAction* ReprendreHabillage;
    QAction* Remplacerlacouleur1;
    QAction* Supprimerlespointsdoubles1;
    QAction* dblfac2;
    QAction* dblface1;
    QAction* Inverserlesnormales1;
    QAction* Chargerobjetancienformat1;
    QAction* Convertirancienobjet1;
    QMenu* Symtrie1;
    QAction* X1;
    QAction* Y1;
    QAction* Z1;
    QMenu* Rotation1;
    QAction* N90Z1;
    QAction* N90X1;
    QAction* N90Y1;
    QAction* Aide1;
    QAction* SelectAll;
    QAction* SelectNone;
    QAction* InvertSelection;
    QAction* SelectSameSkin;
    QAction* SelectConnected;
    QAction* SelectFlatRegion;
    QMenu* ViewMenu;
    QAction* FrameAll;
    QAction* FrameSelection;
    QAction* ResetView;
    QAction* NextFace;
    QAction* PreviousFace;
    QAction* FitQuads;

    void TranslateForm();
    void ShowFaceInfo();
    void FormResize();
    // The mouse in form client coordinates, with the buttons held and the modifier keys.
    void FormMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y);
    void TestPalette(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y);
    void FormClick();
    // The left button let go at (X, Y) after a press at (pressX, pressY) with `modifiers`: a
    // click picks a face (Shift adds or removes it), a Ctrl drag selects what its box shows.
    void ViewClick(Qt::KeyboardModifiers modifiers, int X, int Y);
    void WheelZoom(int steps, int X, int Y);
    // The colour grid's tooltip at `at` (client coordinates): the colour's number and RGB.
    bool showColourTip(const QPoint& at, const QPoint& global);
    // Draws a complete new frame and the two small views, and has the window show them.
    void paint();

public Q_SLOTS:
    void Timer1Timer();
    void FaceBarChange();
    void TextureBarChange();
    void TextValidClick();
    void CoulValidClick();
    void TypeFaceClick();
    void DoubleFaceClick();
    void RetourneClick();
    void FlipClick();
    void LxChange();
    void LyChange();
    void ResetClick();
    void HeightBarChange();
    void TransparenceChange();
    void NewObjectClick();
    void ImportModelClick();
    void LoadDXFObjetClick();
    void LoadObjet3DClick();
    void SaveObjet3DClick();
    void LoadPigmentaClick();
    void Quitter1Click();
    void Aide1Click();

    // Selection (the Edit menu) and the view (the View menu).
    void SelectAllClick();
    void SelectNoneClick();
    void InvertSelectionClick();
    void SelectSameSkinClick();
    void SelectConnectedClick();
    void SelectFlatRegionClick();
    void FrameAllClick();
    void FrameSelectionClick();
    void NextFaceClick();
    void PreviousFaceClick();
    void FitQuadsClick();
    void TexturePanelClick(QListWidgetItem* item);
    void TexturePanelDoubleClick(QListWidgetItem* item);

    // The "Outils" menu.
    void ColorieClick();
    void TextureToutClick();
    void MettretoutenTransparent1Click();
    void ReprendreHabillageClick();
    void Remplacerlacouleur1Click();
    void Supprimerlespointsdoubles1Click();
    void dblfac2Click();
    void dblface1Click();
    void Inverserlesnormales1Click();
    void Chargerobjetancienformat1Click();
    void Convertirancienobjet1Click();
    void X1Click();
    void Y1Click();
    void Z1Click();
    void N90Z1Click();
    void N90X1Click();
    void N90Y1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildPanel(QWidget* client);
    void buildMenus();
    void buildSelectionMenus();
    void addSelectionItems(QMenu* edit);
    void buildTexturePanel(QWidget* client);
    // The thumbnails under the texture view, or in its place when the window is too short.
    void placeTexturePanel(int clientHeight);
    void fillTexturePanel();
    void animateTexturePanel();
    // Whether a thumbnail shows an animated texture within the panel's sight.
    bool animatesInSight(const QListWidgetItem* item) const;
    // Whether the texture view shows the current texture and it is animated.
    bool previewAnimates() const;
    // The animation timer runs while the view, the texture view or the panel shows an animated texture.
    void updateAnimation();
    // The view's frame is drawn again at the next paint; the window repaints.
    void viewChanged();
    // The current face's outline moves: the frame as drawn gets it at the next paint.
    void outlineChanged();
    // What each pixel of the view shows (a face or none), found once per frame drawn.
    const ShownFaces& shownFaces();
    // The frame's pixel size: the view's size in device pixels.
    double viewScale() const;
    // The face the panel shows; the face bar follows. Keeps the selection as it is.
    void setCurrentFace(std::int32_t face);
    // Only `face` selected, and current.
    void selectFace(std::int32_t face);
    // The selection made `flags`; the current face stays when it is among them, else becomes the first.
    void setSelection(FaceFlags flags);
    // The faces the controls act on: the selected ones, or the current face alone.
    std::vector<std::uint32_t> editedFaces() const;
    // The selection with a flag for each face the object has now (an undo or a tool may change
    // the count); editedFlags: the same with the current face flagged when none is selected.
    FaceFlags selectionFlags() const;
    FaceFlags editedFlags() const;
    // Turns the view back (the file flows end so), and frames the given faces or all.
    void turnViewBack();
    void frameFaces(const FaceFlags* faces);
    // The distance and the pan of `view` (framed or zoomed) become the form's.
    void takeView(const EditorView& view);
    void paintSelection(QPainter& canvas);
    void makeSelectionOverlay();
    void makeDocument();
    // Paints the parts of the client area within `dirty`.
    void paintClient(QWidget* client, const QRect& dirty);
    // The face being edited, or null when currentFace names none.
    Face* currentFaceRecord();
    // After a file became the object (loaded, imported, recovered): currentFace back within its
    // faces, FaceBar's range with it; the Save dialog offers `saveName` from now on.
    void objectReplaced(const QString& saveName);
    // After an undo or redo changed the object: the face panel shows it.
    void objectChanged();
    void setFaceSize(QLineEdit* edit, VirtualSide side);
    // One change of the face being edited as an undoable step named after `name`: `edit` is the
    // core's call. `control` (>= 0) merges a run of one control on one face (typing, dragging)
    // into one step; -1 makes every change its own step (a click).
    // Every face the controls act on (editedFaces) changed by `edit`, as one step that names the
    // count when there are several; faces `applies` refuses (a width on a triangle) are left out.
    void editFace(const DictionaryEntry& name, int control, const std::function<void(Face&)>& edit,
                  const std::function<bool(const Face&)>& applies = {});
    // A whole-object tool as an undoable step: `tool` runs on a copy, and the step keeps only the
    // part it changed (faces, points, or the whole object).
    void runTool(const QString& name, const std::function<void(Object3D&)>& tool);
    // The Symmetry and Rotation items on one axis, as runTool steps named after the item.
    void mirrorTool(Axis axis);
    void quarterTurnTool(Axis axis);
    // After a bank load: the views take its palettes, and the user hears what it lacks.
    void bankLoaded(const RenderBankLoaded& loaded);
    // Tells the user when faces of the object name textures the loaded bank does not have.
    void warnOfMissingTextures();

    // The file flows on a chosen file; each shows its failure and keeps what was there.
    void loadBankFile(const QString& path);
    void loadObjectFile(const QString& path);
    void importDxfFile(const QString& path);
    void importModelFile(const QString& path);
    // Runs the model importer (k3x import-mesh) with `arguments` (the model, the object made, the
    // materials listing ...), offering to simplify a model with too many faces; the object and
    // what its materials became. False when nothing was imported (said).
    bool runModelImporter(const QString& program, QStringList arguments, const QString& path, Object3D& imported,
                          ModelMaterials& materials);
    // The materials table: each material a bank texture or its flat colour, the model's texture
    // pictures brought into the bank first when asked.
    void chooseMaterialSkins(const QString& program, const QStringList& arguments, const QString& path,
                             Object3D& imported, ModelMaterials& materials);
    // The Save item: the save dialog offering the object's name, then the file. True when saved.
    bool saveObject();
    // The recovery copy `copy` as the object of `original`.
    void openRecovered(const QString& copy, const QString& original);
    // What a recovery copy keeps beside the object (its bank, the name Save offers, the view), and
    // taking them back once the copy is open.
    AutoRecovery::Details recoveryDetails() const;
    void restoreRecoveryDetails(const AutoRecovery::Details& details);

public:
    enum class DialogKind { Open, Save };
    // One file dialog of the menus: the kind of file (a dictionary entry) and its patterns, the
    // default extension, and the title (a dictionary entry).
    struct FileFlow {
        DialogKind dialog;
        const DictionaryEntry& filterName;
        const char* patterns;
        const char* extension;
        const DictionaryEntry& title;
        const char* remembered; // the dialog's name for the folder it opens in next time
    };

private:
    // The dialog of a file flow, opening in the folder it was last used in; the chosen path, or
    // empty when cancelled.
    QString chooseFile(const FileFlow& flow);
    // `action` on a chosen file, the start folder current (data files name theirs relative to
    // it); a failure is shown and the object and bank stay as they were. True when it succeeded.
    bool runFileAction(const QString& path, const std::function<void(const std::string& file)>& action);
    // Every file flow of the menus: the start folder made current (data files name theirs
    // relative to it), the dialog, then `action` on the chosen file; a failure is shown and the
    // object and bank stay as they were. Ends with the view turned back. Answers the chosen path
    // when the action succeeded, empty when the user cancelled or it failed.
    QString runOnChosenFile(const FileFlow& flow, const std::function<void(const std::string& file)>& action);
    // runOnChosenFile with the object open dialog (the tools that read or write another object).
    QString runOnChosenObject(const std::function<void(const std::string& file)>& action);
    // The Open and Import items: the dialog, then, once the user may lose the object's unsaved
    // changes, `open` on the chosen file. Ends with the view turned back.
    void replaceFromChosenFile(const FileFlow& flow, void (TForm1::*open)(const QString& path));

    bool haveBank_ = false; // a bank was loaded: its textures are the ones faces may use
    QString bankPath_;      // the loaded bank, for the model importer's colours
    bool clickStarted_ = false; // the left button went down on the client area
    QPoint pressAt_;            // where it went down
    QRubberBand* box_ = nullptr; // the Ctrl drag's box
    int selectionRun_ = 0;       // changes with the selection, so an edit run never spans two
    bool frameStale_ = true;     // the view's frame must be drawn again
    bool outlineStale_ = false;  // the frame stands, the current face's outline must move
    std::vector<std::uint8_t> plainFrame_; // the frame's pixels as drawn, before the outline
    ShownFaces shown_;           // what the frame shows, pixel by pixel
    bool shownStale_ = true;     // made again after a new frame
    bool texturePreview_ = true; // the texture view and its bar show (else the thumbnails take their place)
    QImage selectionOverlay_;    // the selected faces as they show over the frame
    bool overlayStale_ = true;   // made again after a new frame or another selection
};
