// TForm1's handlers: the face controls, the file flows, the bank load and the "Outils" menu.
#include "Tessaro3DUnit.h"

#include "BankImageProblem.h"
#include "DxfImport.h"
#include "Errors.h"
#include "FaceEditing.h"
#include "K3xDisplay.h"
#include "LocalisationUnit.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "PointMerge.h"
#include "Renderer.h"
#include "Shell.h"
#include "Tessaro3DEntries.h"
#include "Text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

#include <filesystem>
#include <system_error>

namespace {

// File names from the dialogs are taken as they are; data files name theirs relative to the start
// folder, which is made current before each file operation.
void makeCurrent(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
}

// The bar's new range without a change signal: its own handler sets it, and the callers read
// back a value the range clamped.
void setMaximumQuietly(QScrollBar* bar, int maximum)
{
    const QSignalBlocker block(bar);
    bar->setMaximum(maximum);
}

} // namespace

// ---- face controls ----

void TForm1::FaceBarChange()
{
    setMaximumQuietly(FaceBar, object.lastFace);
    currentFace = FaceBar->value();
    ShowFaceInfo();
}

void TForm1::TextureBarChange()
{
    setMaximumQuietly(TextureBar, context->bank.lastTexture);
    currentTexture = TextureBar->value();
    ShowFaceInfo();
}

void TForm1::TextValidClick()
{
    if (Face* face = currentFaceRecord())
        face->texture = static_cast<std::uint16_t>(currentTexture);
    ShowFaceInfo();
}

void TForm1::CoulValidClick()
{
    if (Face* face = currentFaceRecord())
        face->texture = currentColour;
    ShowFaceInfo();
}

void TForm1::TypeFaceClick()
{
    const int type = TypeFaceItems->checkedId();
    if (Face* face = currentFaceRecord(); face != nullptr && type >= 0)
        ChangeFaceType(*face, static_cast<std::uint16_t>(type), object.pointCount());
    ShowFaceInfo();
}

void TForm1::DoubleFaceClick()
{
    if (Face* face = currentFaceRecord())
        face->doubleSided = DoubleFace->isChecked() ? 1 : 0;
}

void TForm1::RetourneClick()
{
    if (Face* face = currentFaceRecord())
        NextMapping(*face);
}

void TForm1::FlipClick()
{
    if (Face* face = currentFaceRecord())
        RotateFacePoints(*face);
}

void TForm1::setFaceSize(QLineEdit* edit, std::uint16_t Face::*field)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return;
    const std::optional<std::uint16_t> size = FaceSizeFromText(Native(text));
    if (!size) {
        ShowError(this, QString("'%1' is not a valid integer value").arg(text));
        return;
    }
    if (Face* face = currentFaceRecord())
        face->*field = *size;
}

void TForm1::LxChange() { setFaceSize(Lx, &Face::p2); }

void TForm1::LyChange() { setFaceSize(Ly, &Face::p3); }

void TForm1::TransparenceChange()
{
    if (Face* face = currentFaceRecord())
        face->transparency = static_cast<std::uint16_t>(Transparence->value());
    ShowFaceInfo();
}

void TForm1::HeightBarChange()
{
    objectHeight = HeightBar->value();
    ShowFaceInfo();
}

void TForm1::ResetClick() { angleX = angleZ = angleY = 0; }

void TForm1::Timer1Timer() { AnimateTextures(*context); }

// ---- files ----

namespace {

using Flow = TForm1::FileFlow;
const Flow DxfImportFlow{TForm1::DialogKind::Open, Tessaro3DText("DxfFilter"), "(*.dxf *.DXF)", "dxf",
                         Tessaro3DText("OpenDxfTitle")};
const Flow ObjectOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("ObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("OpenObjectTitle")};
const Flow ObjectSaveFlow{TForm1::DialogKind::Save, Tessaro3DText("SavedObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("SaveObjectTitle")};
const Flow BankOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("BankFilter"), "(*.def *.DEF)", "def",
                        Tessaro3DText("OpenBankTitle")};

// The name a Save offers for an object imported from `path`: the mesh's own name as a .3do
// beside it, never the name of an object loaded before.
QString objectNameFor(const QString& path)
{
    const QFileInfo mesh(path);
    return mesh.dir().filePath(mesh.completeBaseName() + ".3do");
}

} // namespace

void TForm1::showFileInCaption(const QString& path) { setWindowTitle(Entry(Tessaro3DText("Caption")) + " - " + path); }

void TForm1::objectReplaced(const QString& path, const QString& saveName)
{
    currentFace = std::clamp<std::int32_t>(currentFace, 0, object.lastFace);
    setMaximumQuietly(FaceBar, object.lastFace);
    SaveDialog.fileName = saveName;
    showFileInCaption(path);
    warnOfMissingTextures();
}

QString TForm1::runOnChosenFile(const FileFlow& flow, const std::function<void(const std::string& file)>& action)
{
    makeCurrent(startFolder);
    FileDialogRequest& dialog = flow.dialog == DialogKind::Save ? SaveDialog : OpenDialog;
    dialog.filter = EntryOrEnglish(flow.filterName) + " " + flow.patterns;
    dialog.defaultSuffix = flow.extension;
    dialog.title = Entry(flow.title);
    QString path = flow.dialog == DialogKind::Save ? ChooseSaveFile(this, dialog) : ChooseOpenFile(this, dialog);
    if (!path.isEmpty()) {
        dialog.folder = QFileInfo(path).absolutePath(); // the next time it opens where the user was
        try {
            action(Native(path));
        } catch (const OrmelError& error) {
            // The object and the bank are kept as they were; a save leaves the old file whole.
            ShowError(this, Ui(error.what()));
            path.clear();
        }
    }
    ResetClick();
    return path;
}

void TForm1::LoadDXFObjetClick()
{
    const QString path = runOnChosenFile(DxfImportFlow, [this](const std::string& file) { ImportDxf(file, object); });
    if (!path.isEmpty())
        objectReplaced(path, objectNameFor(path));
    ShowFaceInfo();
}

void TForm1::LoadObjet3DClick()
{
    const QString path = runOnChosenFile(ObjectOpenFlow, [this](const std::string& file) { LoadObject(file, object); });
    if (!path.isEmpty())
        objectReplaced(path, path); // saved under its own name unless the user says otherwise
    ShowFaceInfo();
}

void TForm1::SaveObjet3DClick()
{
    const QString path = runOnChosenFile(ObjectSaveFlow, [this](const std::string& file) { SaveObject(file, object); });
    if (!path.isEmpty()) {
        SaveDialog.fileName = path;
        showFileInCaption(path);
    }
}

namespace {

// An image that keeps a bank from loading, told in the user's language.
QString bankImageMessage(const ImageProblem& problem)
{
    const bool wrongSize = problem.fault == ImageFault::WrongSize;
    const QString entry = EntryOrEnglish(wrongSize ? Tessaro3DText("BankImageWrongSize") : Tessaro3DText("BankImageUnreadable"));
    return entry + " (" + Ui(problem.name) + (wrongSize ? ", " + Ui(problem.detail) : "") + ")";
}

} // namespace

void TForm1::LoadPigmentaClick()
{
    RenderBankLoaded loaded;
    const QString path = runOnChosenFile(BankOpenFlow, [&](const std::string& file) {
        const HourglassCursor hourglass; // the first load of a bank builds its blend tables
        try {
            loaded = LoadRenderBank(file, *context);
        } catch (const BankImageError& error) {
            throw OrmelError(Native(bankImageMessage(error.problem)));
        }
    });
    if (!path.isEmpty())
        bankLoaded(loaded);
    ShowFaceInfo();
}

void TForm1::bankLoaded(const RenderBankLoaded& loaded)
{
    haveBank_ = true;
    highlightWhite = loaded.highlight.white;
    highlightBlack = loaded.highlight.black;
    setMaximumQuietly(TextureBar, context->bank.lastTexture);
    currentTexture = TextureBar->value();
    SkinnerBank& bank = context->bank;
    SetColourTable(TextureViewImage, bank.bankPalette);
    SetColourTable(PaletteViewImage, bank.colourPalette);
    ApplyBankPalette(bank.bankPalette, context->screen);
    if (!loaded.cacheWriteError.empty())
        ShowError(this, Ui(loaded.cacheWriteError));
    if (loaded.imageCount > 0 && loaded.textureCount == 0)
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("BankWithoutTextures")));
    else
        warnOfMissingTextures();
}

void TForm1::warnOfMissingTextures()
{
    if (!haveBank_)
        return; // the stand-in bank of the start has no textures to speak of
    const TexturesBeyondBank beyond = FindTexturesBeyondBank(object, context->bank.lastTexture);
    if (beyond.faces > 0)
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("FacesBeyondBank"))
                              .arg(beyond.faces)
                              .arg(beyond.highest)
                              .arg(context->bank.lastTexture));
}

void TForm1::Quitter1Click() { QApplication::quit(); }

void TForm1::Aide1Click()
{
    OpenHelp(this, "Tessaro3D", Tessaro3DText("HelpNotOpened"), Tessaro3DText("HelpMissing"));
}

// ---- the "Outils" menu ----

void TForm1::ColorieClick()
{
    ColourAllFaces(object, currentColour);
    ShowFaceInfo();
}

void TForm1::TextureToutClick()
{
    TextureAllFaces(object, static_cast<std::uint16_t>(currentTexture));
    ShowFaceInfo();
}

void TForm1::MettretoutenTransparent1Click()
{
    SetAllTransparency(object, static_cast<std::uint16_t>(Transparence->value()));
    ShowFaceInfo();
}

void TForm1::ReprendreHabillageClick()
{
    Object3D other;
    const QString path = runOnChosenFile(ObjectOpenFlow, [&](const std::string& file) { LoadObject(file, other); });
    if (!path.isEmpty()) {
        const SkinTakeOver result = TakeOverSkin(object, other);
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("SkinTakenOver"))
                              .arg(result.taken)
                              .arg(result.skipped)
                              .arg(path));
    }
    ShowFaceInfo();
}

void TForm1::Remplacerlacouleur1Click()
{
    ReplaceColour(object, currentFace, currentColour);
    ShowFaceInfo();
}

void TForm1::Supprimerlespointsdoubles1Click()
{
    MergeCoincidentPoints(object);
    ShowFaceInfo();
}

void TForm1::dblfac2Click()
{
    SetAllDoubleSided(object, 0);
    ShowFaceInfo();
}

void TForm1::dblface1Click()
{
    SetAllDoubleSided(object, 1);
    ShowFaceInfo();
}

void TForm1::Inverserlesnormales1Click()
{
    TurnFacesOver(object);
    ShowFaceInfo();
}

void TForm1::Chargerobjetancienformat1Click()
{
    // Nothing is read: the old format is gone; only the caption names the file.
    const QString path = runOnChosenFile(ObjectOpenFlow, [](const std::string&) {});
    if (!path.isEmpty())
        showFileInCaption(path);
    ShowFaceInfo();
}

void TForm1::Convertirancienobjet1Click()
{
    // An open dialog that writes the object to the chosen file, as the hidden item always did.
    const QString path = runOnChosenFile(ObjectOpenFlow, [this](const std::string& file) { SaveObject(file, object); });
    if (!path.isEmpty())
        showFileInCaption(path);
    ShowFaceInfo();
}

void TForm1::X1Click() { MirrorObject(object, Axis::X); }

void TForm1::Y1Click() { MirrorObject(object, Axis::Y); }

void TForm1::Z1Click() { MirrorObject(object, Axis::Z); }

void TForm1::N90Z1Click() { QuarterTurn(object, Axis::Z); }

void TForm1::N90X1Click() { QuarterTurn(object, Axis::X); }

void TForm1::N90Y1Click() { QuarterTurn(object, Axis::Y); }
