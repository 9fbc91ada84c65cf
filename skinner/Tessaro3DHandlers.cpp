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

const QString ObjectFilter = "3D Object (*.3do *.3DO)";

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

void TForm1::showFileInCaption(const QString& path) { setWindowTitle(Entry(Tessaro3DText("Caption")) + " - " + path); }

void TForm1::objectReplaced()
{
    currentFace = std::clamp<std::int32_t>(currentFace, 0, object.lastFace);
    setMaximumQuietly(FaceBar, object.lastFace);
}

QString TForm1::chooseFile(FileDialogRequest& dialog, const QString& filter, const QString& extension,
                          const DictionaryEntry& title)
{
    dialog.filter = filter;
    dialog.defaultSuffix = extension;
    dialog.title = Entry(title);
    const QString path = &dialog == &SaveDialog ? ChooseSaveFile(this, dialog) : ChooseOpenFile(this, dialog);
    if (!path.isEmpty())
        dialog.folder = QFileInfo(path).absolutePath(); // the next time it opens where the user was
    return path;
}

template <typename FileAction>
bool TForm1::reportFailure(FileAction action)
{
    try {
        action();
        return true;
    } catch (const OrmelError& error) {
        // The object and the bank are kept as they were; a save leaves the old file whole.
        ShowError(this, Ui(error.what()));
        return false;
    }
}

void TForm1::LoadDXFObjetClick()
{
    makeCurrent(startFolder);
    const QString path = chooseFile(OpenDialog, "AutoCad DXF object (*.dxf *.DXF)", "dxf", Tessaro3DText("OpenDxfTitle"));
    if (!path.isEmpty() && reportFailure([&] { ImportDxf(Native(path), object); })) {
        objectReplaced();
        showFileInCaption(path);
    }
    ResetClick();
    ShowFaceInfo();
}

void TForm1::LoadObjet3DClick()
{
    makeCurrent(startFolder);
    const QString path = chooseFile(OpenDialog, ObjectFilter, "3DO", Tessaro3DText("OpenObjectTitle"));
    if (!path.isEmpty() && reportFailure([&] { LoadObject(Native(path), object); })) {
        objectReplaced();
        SaveDialog.fileName = path; // saved under its own name unless the user says otherwise
        showFileInCaption(path);
    }
    ResetClick();
    ShowFaceInfo();
}

void TForm1::SaveObjet3DClick()
{
    makeCurrent(startFolder);
    const QString path = chooseFile(SaveDialog, "Objet K3X (*.3do *.3DO)", "3DO", Tessaro3DText("SaveObjectTitle"));
    if (!path.isEmpty() && reportFailure([&] { SaveObject(Native(path), object); })) {
        SaveDialog.fileName = path;
        showFileInCaption(path);
    }
    ResetClick();
}

namespace {

// An image that keeps a bank from loading, told in the user's language.
QString bankImageMessage(const ImageProblem& problem)
{
    const bool wrongSize = problem.fault == ImageFault::WrongSize;
    return Entry(wrongSize ? Tessaro3DText("BankImageWrongSize") : Tessaro3DText("BankImageUnreadable")) + " (" + Ui(problem.name) + (wrongSize ? ", " + Ui(problem.detail) : "") + ")";
}

} // namespace

void TForm1::LoadPigmentaClick()
{
    const QString path = chooseFile(OpenDialog, "Texture Bank File (*.def *.DEF)", "def", Tessaro3DText("OpenBankTitle"));
    if (!path.isEmpty()) {
        makeCurrent(startFolder); // the bank names its images relative to it
        RenderBankLoaded loaded;
        const auto load = [&] {
            const HourglassCursor hourglass; // the first load of a bank builds its blend tables
            try {
                loaded = LoadRenderBank(Native(path), *context);
            } catch (const BankImageError& error) {
                throw OrmelError(Native(bankImageMessage(error.problem)));
            }
        };
        if (reportFailure(load)) {
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
        }
    }
    ResetClick();
    ShowFaceInfo();
}

void TForm1::Quitter1Click() { QApplication::quit(); }

void TForm1::Aide1Click() { OpenHelp("Tessaro3D"); }

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
    const QString path = chooseFile(OpenDialog, ObjectFilter, "3DO", Tessaro3DText("OpenObjectTitle"));
    Object3D other;
    if (!path.isEmpty() && reportFailure([&] { LoadObject(Native(path), other); }))
        TakeOverSkin(object, other);
    ResetClick();
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
    makeCurrent(startFolder);
    const QString path = chooseFile(OpenDialog, "3D object (*.3do *.3DO)", "3DO", Tessaro3DText("OpenObjectTitle"));
    if (!path.isEmpty())
        showFileInCaption(path); // nothing is read: the old format is gone
    ResetClick();
    ShowFaceInfo();
}

void TForm1::Convertirancienobjet1Click()
{
    makeCurrent(startFolder);
    const QString path = chooseFile(OpenDialog, "3D Objet (*.3do *.3DO)", "3DO", Tessaro3DText("OpenObjectTitle"));
    if (!path.isEmpty() && reportFailure([&] { SaveObject(Native(path), object); }))
        showFileInCaption(path);
    ResetClick();
    ShowFaceInfo();
}

void TForm1::X1Click() { MirrorObject(object, Axis::X); }

void TForm1::Y1Click() { MirrorObject(object, Axis::Y); }

void TForm1::Z1Click() { MirrorObject(object, Axis::Z); }

void TForm1::N90Z1Click() { QuarterTurn(object, Axis::Z); }

void TForm1::N90X1Click() { QuarterTurn(object, Axis::X); }

void TForm1::N90Y1Click() { QuarterTurn(object, Axis::Y); }
