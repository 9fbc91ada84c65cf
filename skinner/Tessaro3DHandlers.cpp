// TForm1's handlers: the face controls, the file flows, the bank load and the "Outils" menu.
#include "Tessaro3DUnit.h"

#include "BankImageProblem.h"
#include "CommandLineFolder.h"
#include "DxfImport.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FaceEditing.h"
#include "HelperProcess.h"
#include "K3xDisplay.h"
#include "LastFolders.h"
#include "LocalisationUnit.h"
#include "ObjectChange.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "PointMerge.h"
#include "ProgramUsages.h"
#include "Renderer.h"
#include "Shell.h"
#include "Tessaro3DEntries.h"
#include "Text.h"
#include "UndoCommands.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

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

// Controls whose runs of changes on one face make one undo step; the step's id is the control's
// with the face's index in its low 16 bits, so a run never spans two faces.
enum MergingControl { TransparenceRun = 1, LxRun, LyRun, HeightBarRun };
constexpr int EveryChange = -1;

int runOnFace(int control, std::int32_t face) { return control << 16 | (face & 0xFFFF); }

// What an undo step is called in the Edit menu: the text of the menu item or button that made it,
// without its accelerator and its trailing dots ("Make all &coloured" -> "Make all coloured").
QString stepName(const DictionaryEntry& entry)
{
    QString text = Entry(entry).remove(QLatin1Char('&')).trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
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

void TForm1::editFace(const DictionaryEntry& name, int control, const std::function<void(Face&)>& edit)
{
    const Face* face = currentFaceRecord();
    if (face == nullptr)
        return;
    Face after = *face;
    edit(after);
    const std::int32_t index = currentFace;
    const int run = control == EveryChange ? EveryChange : runOnFace(control, index);
    PushChange<Face>(document->History(), stepName(name), run, *face, after, [this, index](const Face& value) {
        if (static_cast<std::size_t>(index) < object.faceCount())
            object.faces[static_cast<std::size_t>(index)] = value;
        currentFace = index; // an undo shows the face it changed
        ShowFaceInfo();
    });
}

void TForm1::TextValidClick()
{
    editFace(Tessaro3DText("TextValid"), EveryChange, [this](Face& face) { SetFaceTexture(face, currentTexture); });
    ShowFaceInfo();
}

void TForm1::CoulValidClick()
{
    editFace(Tessaro3DText("CoulValid"), EveryChange, [this](Face& face) { SetFaceTexture(face, currentColour); });
    ShowFaceInfo();
}

void TForm1::TypeFaceClick()
{
    const int type = TypeFaceItems->checkedId();
    if (type >= 0)
        editFace(Tessaro3DText("UndoFaceType"), EveryChange, [this, type](Face& face) {
            ChangeFaceType(face, static_cast<std::uint16_t>(type), object.pointCount());
        });
    ShowFaceInfo();
}

void TForm1::DoubleFaceClick()
{
    const bool ticked = DoubleFace->isChecked();
    editFace(Tessaro3DText("DoubleFace"), EveryChange, [ticked](Face& face) { SetFaceDoubleSided(face, ticked); });
}

void TForm1::RetourneClick() { editFace(Tessaro3DText("Retourne"), EveryChange, &NextMapping); }

void TForm1::FlipClick() { editFace(Tessaro3DText("Flip"), EveryChange, &RotateFacePoints); }

void TForm1::setFaceSize(QLineEdit* edit, VirtualSide side)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return;
    const std::optional<std::uint16_t> size = FaceSizeFromText(Native(text));
    if (!size) {
        ShowError(this, QString("'%1' is not a valid integer value").arg(text));
        return;
    }
    const bool width = side == VirtualSide::Width;
    editFace(width ? Tessaro3DText("UndoWidth") : Tessaro3DText("UndoHeight"), width ? LxRun : LyRun,
             [side, size](Face& face) { SetVirtualFaceSize(face, side, *size); });
}

void TForm1::LxChange() { setFaceSize(Lx, VirtualSide::Width); }

void TForm1::LyChange() { setFaceSize(Ly, VirtualSide::Height); }

void TForm1::TransparenceChange()
{
    const int level = Transparence->value();
    editFace(Tessaro3DText("UndoTransparency"), TransparenceRun,
             [level](Face& face) { SetFaceTransparency(face, level); });
    ShowFaceInfo();
}

void TForm1::HeightBarChange()
{
    PushChange<std::int32_t>(document->History(), stepName(Tessaro3DText("UndoObjectHeight")), HeightBarRun << 16,
                             objectHeight, HeightBar->value(), [this](const std::int32_t& height) {
                                 objectHeight = height;
                                 const QSignalBlocker quiet(HeightBar);
                                 HeightBar->setValue(height);
                                 ShowFaceInfo();
                             });
    ShowFaceInfo();
}

void TForm1::ResetClick() { angleX = angleZ = angleY = 0; }

void TForm1::Timer1Timer() { AnimateTextures(*context); }

// ---- files ----

namespace {

using Flow = TForm1::FileFlow;
const Flow DxfImportFlow{TForm1::DialogKind::Open, Tessaro3DText("DxfFilter"), "(*.dxf *.DXF)", "dxf",
                         Tessaro3DText("OpenDxfTitle"), "Dxf"};
const Flow ObjectOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("ObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("OpenObjectTitle"), "Object"};
const Flow ObjectSaveFlow{TForm1::DialogKind::Save, Tessaro3DText("SavedObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("SaveObjectTitle"), "Object"};
const Flow BankOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("BankFilter"), "(*.def *.DEF)", "def",
                        Tessaro3DText("OpenBankTitle"), "Bank"};
// The formats the model importer reads, DXF drawings with blocks and polyfaces among them.
constexpr const char* ModelExtensions[] = {"obj", "stl", "ply", "gltf", "glb", "fbx", "dae", "3ds", "dxf"};

std::string modelPatterns()
{
    QStringList patterns;
    for (const char* extension : ModelExtensions)
        patterns << QString("*.") + extension << QString("*.") + QString(extension).toUpper();
    return Native("(" + patterns.join(' ') + ")");
}

const std::string ModelPatterns = modelPatterns();
const Flow ModelImportFlow{TForm1::DialogKind::Open, Tessaro3DText("ModelFilter"), ModelPatterns.c_str(), "",
                           Tessaro3DText("ImportModelTitle"), "Model"};

// The name a Save offers for an object imported from `path`: the mesh's own name as a .3do
// beside it, never the name of an object loaded before.
QString objectNameFor(const QString& path)
{
    const QFileInfo mesh(path);
    return mesh.dir().filePath(mesh.completeBaseName() + ".3do");
}

// A file dropped or named from elsewhere that the model importer reads.
bool isModelFile(const QString& path)
{
    const QString kind = QFileInfo(path).suffix().toLower();
    return std::any_of(std::begin(ModelExtensions), std::end(ModelExtensions),
                       [&kind](const char* extension) { return kind == extension; });
}

} // namespace

void TForm1::objectReplaced(const QString& saveName)
{
    currentFace = std::clamp<std::int32_t>(currentFace, 0, object.lastFace);
    setMaximumQuietly(FaceBar, object.lastFace);
    SaveDialog.fileName = saveName;
    warnOfMissingTextures();
}

void TForm1::objectChanged()
{
    currentFace = std::clamp<std::int32_t>(currentFace, 0, object.lastFace);
    setMaximumQuietly(FaceBar, object.lastFace);
    ShowFaceInfo();
}

QString TForm1::chooseFile(const FileFlow& flow)
{
    makeCurrent(startFolder);
    FileDialogRequest& dialog = flow.dialog == DialogKind::Save ? SaveDialog : OpenDialog;
    dialog.filter = EntryOrEnglish(flow.filterName) + " " + flow.patterns;
    dialog.defaultSuffix = flow.extension;
    dialog.title = Entry(flow.title);
    const QString remembered = flow.remembered;
    return flow.dialog == DialogKind::Save ? ChooseSaveFileRemembered(this, remembered, dialog)
                                           : ChooseOpenFileRemembered(this, remembered, dialog);
}

bool TForm1::runFileAction(const QString& path, const std::function<void(const std::string& file)>& action)
{
    makeCurrent(startFolder);
    try {
        action(Native(path));
        return true;
    } catch (const OrmelError& error) {
        // The object and the bank are kept as they were; a save leaves the old file whole.
        ShowError(this, Ui(error.what()));
        return false;
    }
}

QString TForm1::runOnChosenFile(const FileFlow& flow, const std::function<void(const std::string& file)>& action)
{
    QString path = chooseFile(flow);
    if (!path.isEmpty() && !runFileAction(path, action))
        path.clear();
    ResetClick();
    return path;
}

void TForm1::Start(const QStringList& arguments)
{
    // Over the window once it shows; the bank question comes last, as no bank may be among them.
    QTimer::singleShot(0, this, [this, arguments] {
        document->Start(Tessaro3DUsage(), arguments);
        if (!haveBank_)
            LoadPigmentaClick();
    });
}

void TForm1::OpenFile(const QString& file)
{
    const QString path = QFileInfo(file).absoluteFilePath(); // before the current folder changes
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind != "def" && kind != "3do" && !isModelFile(path)) {
        ShowRefusedArguments(this, Tessaro3DUsage(), {file}, document->History().Texts().refusedArgument);
        return;
    }
    if (kind != "def" && !document->MayDiscard())
        return;
    startFolder = Native(EnterProjectFolderOf(path));
    OpenDialog.folder = SaveDialog.folder = Ui(startFolder);
    if (kind == "def")
        loadBankFile(path);
    else if (kind == "3do")
        loadObjectFile(path);
    else if (kind == "dxf")
        importDxfFile(path);
    else
        importModelFile(path);
    ResetClick();
    ShowFaceInfo();
}

void TForm1::loadObjectFile(const QString& path)
{
    if (!runFileAction(path, [this](const std::string& file) { LoadObject(file, object); }))
        return;
    objectReplaced(path); // saved under its own name unless the user says otherwise
    document->Opened(path);
}

void TForm1::importDxfFile(const QString& path)
{
    if (!runFileAction(path, [this](const std::string& file) { ImportDxf(file, object); }))
        return;
    const QString name = objectNameFor(path);
    objectReplaced(name);
    document->Imported(QFileInfo(name).fileName());
}

void TForm1::NewObjectClick()
{
    if (!document->MayDiscard())
        return;
    MakeStartObject(object);
    objectReplaced({});
    document->Started();
    ResetClick();
    ShowFaceInfo();
}

void TForm1::replaceFromChosenFile(const FileFlow& flow, void (TForm1::*open)(const QString& path))
{
    const QString path = chooseFile(flow);
    if (!path.isEmpty() && document->MayDiscard())
        (this->*open)(path);
    ResetClick();
    ShowFaceInfo();
}

void TForm1::LoadDXFObjetClick() { replaceFromChosenFile(DxfImportFlow, &TForm1::importDxfFile); }

void TForm1::LoadObjet3DClick() { replaceFromChosenFile(ObjectOpenFlow, &TForm1::loadObjectFile); }

void TForm1::ImportModelClick() { replaceFromChosenFile(ModelImportFlow, &TForm1::importModelFile); }

void TForm1::importModelFile(const QString& path)
{
    const auto importer = FindSuiteProgram("k3x");
    if (!importer) {
        QStringList folders;
        for (const std::filesystem::path& folder : ProgramFolders())
            folders << Ui(folder.string());
        ShowError(this, EntryOrEnglish(Tessaro3DText("ImporterMissing")).arg(folders.join(", ")));
        return;
    }
    const QTemporaryDir scratch;
    const QString made = scratch.filePath("import.3do");
    QStringList arguments{"import-mesh", path, made};
    if (!bankPath_.isEmpty())
        arguments << "--bank" << bankPath_;
    const HelperRun run = RunHelper(Ui(importer->string()), arguments, Ui(startFolder), importTimeLimit);
    QString failure;
    switch (run.outcome) {
    case HelperRun::Outcome::Crashed:
        failure = EntryOrEnglish(Tessaro3DText("ModelReaderCrashed")).arg(path);
        break;
    case HelperRun::Outcome::TimedOut:
        failure = EntryOrEnglish(Tessaro3DText("ModelReaderTooLong")).arg(path).arg(importTimeLimit / 1000.0);
        break;
    case HelperRun::Outcome::NotStarted:
    case HelperRun::Outcome::Finished:
        if (run.outcome == HelperRun::Outcome::Finished && run.exitCode == 0)
            break;
        // k3x names the file and the reason after its own name and the command's.
        QString reason = run.errorText.section('\n', 0, 0);
        reason.remove(QRegularExpression("^k3x import-mesh: "));
        failure = EntryOrEnglish(Tessaro3DText("ModelNotImported")).arg(reason.isEmpty() ? path : reason);
        break;
    }
    if (failure.isEmpty() && !QFileInfo::exists(made)) // an importer that said nothing and made nothing
        failure = EntryOrEnglish(Tessaro3DText("ModelNotImported")).arg(path);
    if (!failure.isEmpty()) {
        ShowError(this, failure);
        return;
    }
    Object3D imported;
    if (!runFileAction(made, [&imported](const std::string& file) { LoadObject(file, imported); }))
        return;
    object = std::move(imported);
    // Imported objects stand 1,000 units tall on the origin: the view takes them in whole.
    const ObjectFit fit = FitObjectInView(object, *context);
    viewDistance = fit.distance;
    objectHeight = fit.height;
    {
        const QSignalBlocker quiet(HeightBar);
        HeightBar->setValue(objectHeight);
    }
    const QString name = objectNameFor(path);
    objectReplaced(name);
    document->Imported(QFileInfo(name).fileName());
}

bool TForm1::saveObject()
{
    const QString path = runOnChosenFile(ObjectSaveFlow, [this](const std::string& file) { SaveObject(file, object); });
    if (path.isEmpty())
        return false;
    SaveDialog.fileName = path;
    document->Saved(path);
    return true;
}

void TForm1::SaveObjet3DClick() { saveObject(); }

void TForm1::openRecovered(const QString& copy, const QString& original)
{
    LoadObject(Native(copy), object);
    objectReplaced(original);
    document->History().Start(original);
    ShowFaceInfo();
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
    const QString path = chooseFile(BankOpenFlow);
    if (!path.isEmpty())
        loadBankFile(path);
    ResetClick();
    ShowFaceInfo();
}

void TForm1::loadBankFile(const QString& path)
{
    RenderBankLoaded loaded;
    const bool done = runFileAction(path, [&](const std::string& file) {
        const HourglassCursor hourglass; // the first load of a bank builds its blend tables
        try {
            loaded = LoadRenderBank(file, *context);
        } catch (const BankImageError& error) {
            throw OrmelError(Native(bankImageMessage(error.problem)));
        }
    });
    if (done) {
        bankPath_ = QFileInfo(path).absoluteFilePath();
        bankLoaded(loaded);
    }
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

void TForm1::Quitter1Click() { close(); } // the question about unsaved work comes with the close

void TForm1::Aide1Click()
{
    OpenHelp(this, "Tessaro3D", Tessaro3DText("HelpNotOpened"), Tessaro3DText("HelpMissing"));
}

// ---- the "Outils" menu ----

void TForm1::runTool(const QString& name, const std::function<void(Object3D&)>& tool)
{
    Object3D changed = UsedPart(object);
    tool(changed);
    UndoHistory& history = document->History();
    switch (ChangedPart(object, changed)) {
    case ObjectPart::Nothing:
        break;
    case ObjectPart::Faces:
        history.Push(new SwapChange<std::vector<Face>>(name, std::move(changed.faces), [this](std::vector<Face>& held) {
            ExchangeFaces(object, held);
            objectChanged();
        }));
        break;
    case ObjectPart::Points:
        history.Push(new SwapChange<ObjectPoints>(
            name, ObjectPoints{std::move(changed.x), std::move(changed.y), std::move(changed.z)},
            [this](ObjectPoints& held) {
                ExchangePoints(object, held);
                objectChanged();
            }));
        break;
    case ObjectPart::Whole:
        history.Push(new SwapChange<Object3D>(name, std::move(changed), [this](Object3D& held) {
            std::swap(object, held);
            objectChanged();
        }));
        break;
    }
    ShowFaceInfo();
}

void TForm1::ColorieClick()
{
    runTool(stepName(Tessaro3DText("Colorie")), [this](Object3D& o) { ColourAllFaces(o, currentColour); });
}

void TForm1::TextureToutClick()
{
    const auto texture = static_cast<std::uint16_t>(currentTexture);
    runTool(stepName(Tessaro3DText("TextureTout")), [texture](Object3D& o) { TextureAllFaces(o, texture); });
}

void TForm1::MettretoutenTransparent1Click()
{
    const auto level = static_cast<std::uint16_t>(Transparence->value());
    runTool(stepName(Tessaro3DText("MettretoutenTransparent1")), [level](Object3D& o) { SetAllTransparency(o, level); });
}

void TForm1::ReprendreHabillageClick()
{
    Object3D other;
    const QString path = runOnChosenFile(ObjectOpenFlow, [&](const std::string& file) { LoadObject(file, other); });
    if (!path.isEmpty()) {
        SkinTakeOver result;
        runTool(stepName(Tessaro3DText("ReprendreHabillage")),
                [&result, &other](Object3D& o) { result = TakeOverSkin(o, other); });
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("SkinTakenOver"))
                              .arg(result.taken)
                              .arg(result.skipped)
                              .arg(path));
    }
    ShowFaceInfo();
}

void TForm1::Remplacerlacouleur1Click()
{
    const std::int32_t sample = currentFace;
    const std::uint8_t colour = currentColour;
    runTool(stepName(Tessaro3DText("Remplacerlacouleur1")),
            [sample, colour](Object3D& o) { ReplaceColour(o, sample, colour); });
}

void TForm1::Supprimerlespointsdoubles1Click()
{
    runTool(stepName(Tessaro3DText("Supprimerlespointsdoubles1")), [](Object3D& o) { MergeCoincidentPoints(o); });
}

void TForm1::dblfac2Click()
{
    runTool(stepName(Tessaro3DText("dblfac2")), [](Object3D& o) { SetAllDoubleSided(o, 0); });
}

void TForm1::dblface1Click()
{
    runTool(stepName(Tessaro3DText("dblface1")), [](Object3D& o) { SetAllDoubleSided(o, 1); });
}

void TForm1::Inverserlesnormales1Click()
{
    runTool(stepName(Tessaro3DText("Inverserlesnormales1")), [](Object3D& o) { TurnFacesOver(o); });
}

void TForm1::Chargerobjetancienformat1Click()
{
    // Nothing is read: the old format is gone; only the caption names the file.
    const QString path = runOnChosenFile(ObjectOpenFlow, [](const std::string&) {});
    if (!path.isEmpty())
        setWindowTitle(Entry(Tessaro3DText("Caption")) + " - " + path + "[*]");
    ShowFaceInfo();
}

void TForm1::Convertirancienobjet1Click()
{
    // An open dialog that writes the object to the chosen file, as the hidden item always did.
    const QString path = runOnChosenFile(ObjectOpenFlow, [this](const std::string& file) { SaveObject(file, object); });
    if (!path.isEmpty())
        document->Saved(path);
    ShowFaceInfo();
}

namespace {

// The mirror and quarter-turn steps: the submenu's name and the item's ("Mirror X").
QString axisStepName(const DictionaryEntry& submenu, const QString& item) { return stepName(submenu) + " " + item; }

QString axisLetter(Axis axis) { return QString(QLatin1Char("XYZ"[static_cast<int>(axis)])); }

} // namespace

void TForm1::mirrorTool(Axis axis)
{
    runTool(axisStepName(Tessaro3DText("Symtrie1"), axisLetter(axis)), [axis](Object3D& o) { MirrorObject(o, axis); });
}

void TForm1::quarterTurnTool(Axis axis)
{
    runTool(axisStepName(Tessaro3DText("Rotation1"), QString::fromUtf8("90° ") + axisLetter(axis)),
            [axis](Object3D& o) { QuarterTurn(o, axis); });
}

void TForm1::X1Click() { mirrorTool(Axis::X); }

void TForm1::Y1Click() { mirrorTool(Axis::Y); }

void TForm1::Z1Click() { mirrorTool(Axis::Z); }

void TForm1::N90Z1Click() { quarterTurnTool(Axis::Z); }

void TForm1::N90X1Click() { quarterTurnTool(Axis::X); }

void TForm1::N90Y1Click() { quarterTurnTool(Axis::Y); }
