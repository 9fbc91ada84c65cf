// TForm1's file flows: opening, importing and saving objects, loading the texture bank, the
// recovery copies and the help.
#include "Tessaro3DUnit.h"

#include "BankImageProblem.h"
#include "CommandLineFolder.h"
#include "DxfImport.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FileResolver.h"
#include "HelperProcess.h"
#include "K3xDisplay.h"
#include "LastFolders.h"
#include "K3xFiles.h"
#include "LocalisationUnit.h"
#include "MaterialsDialog.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "ProgramUsages.h"
#include "Renderer.h"
#include "Shell.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"
#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int TooManyFacesExit = 3; // k3x import-mesh: a model --max-faces would fit

// File names from the dialogs are taken as they are; data files name theirs relative to the start
// folder, which is made current before each file operation.
void makeCurrent(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
}


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
std::string modelPatterns()
{
    QStringList patterns;
    for (const std::string& extension : ModelExtensions())
        patterns << "*" + Ui(extension) << "*" + Ui(extension).toUpper();
    return Native("(" + patterns.join(' ') + ")");
}

const std::string ModelPatterns = modelPatterns();
const Flow ModelImportFlow{TForm1::DialogKind::Open, Tessaro3DText("ModelFilter"), ModelPatterns.c_str(), "",
                           Tessaro3DText("ImportModelTitle"), "Model"};

// The name a Save offers for an object imported from `path`: the mesh's own name as a .3do
// beside it, never the name of an object loaded before.
// The name an imported mesh's object is saved under: beside the mesh when that lies in the game
// folder, else in the game folder itself, where the game finds it and a deploy takes it.
QString objectNameFor(const QString& path, const std::string& gameFolder)
{
    const QFileInfo mesh(path);
    const QString name = mesh.completeBaseName() + ".3do";
    if (NameInsideFolder(Native(mesh.absoluteFilePath()), gameFolder))
        return mesh.dir().filePath(name);
    return QDir(Ui(gameFolder)).filePath(name);
}

// A file dropped or named from elsewhere that the model importer reads.
bool isModelFile(const QString& path)
{
    const std::string kind = Native("." + QFileInfo(path).suffix().toLower());
    return std::ranges::find(ModelExtensions(), kind) != ModelExtensions().end();
}

} // namespace

void TForm1::objectReplaced(const QString& saveName)
{
    // A new object: the first face alone selected, seen whole from the front.
    selectFace(std::clamp<std::int32_t>(currentFace, 0, object.lastFace));
    angleX = angleY = angleZ = 0;
    frameFaces(nullptr);
    SaveDialog.fileName = saveName;
    warnOfMissingTextures();
}

void TForm1::objectChanged()
{
    // An undo or a tool may change the face count: the selection keeps what is still there.
    FaceFlags flags = selection;
    flags.resize(object.faceCount(), 0);
    selection = std::move(flags);
    setCurrentFace(currentFace);
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
    turnViewBack();
    return path;
}

QString TForm1::runOnChosenObject(const std::function<void(const std::string& file)>& action)
{
    return runOnChosenFile(ObjectOpenFlow, action);
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
    // Every model, a DXF drawing too, comes in as File, Import model brings it: through the model
    // importer, which reads polyface meshes and blocks as well as 3D faces.
    if (kind == "def")
        loadBankFile(path);
    else if (kind == "3do")
        loadObjectFile(path);
    else
        importModelFile(path);
    turnViewBack();
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
    const QString name = objectNameFor(path, startFolder);
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
    ShowFaceInfo();
}

void TForm1::replaceFromChosenFile(const FileFlow& flow, void (TForm1::*open)(const QString& path))
{
    const QString path = chooseFile(flow);
    if (!path.isEmpty() && document->MayDiscard())
        (this->*open)(path);
    turnViewBack();
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
    const QString program = Ui(importer->string());
    const QTemporaryDir scratch;
    const QString made = scratch.filePath("import.3do"), listing = scratch.filePath("materials.txt");
    QStringList arguments{"import-mesh", path, made, "--materials", listing};
    if (!bankPath_.isEmpty())
        arguments << "--bank" << bankPath_;
    Object3D imported;
    ModelMaterials materials;
    if (!runModelImporter(program, arguments, path, imported, materials))
        return;
    chooseMaterialSkins(program, arguments, path, imported, materials);
    object = std::move(imported);
    const QString name = objectNameFor(path, startFolder);
    objectReplaced(name);
    document->Imported(QFileInfo(name).fileName());
}

bool TForm1::runModelImporter(const QString& program, QStringList arguments, const QString& path, Object3D& imported,
                              ModelMaterials& materials)
{
    const QString made = arguments[2], listing = arguments[4];
    QFile::remove(made);
    HelperRun run = RunHelper(program, arguments, Ui(startFolder), importTimeLimit);
    // More faces than an object holds: the importer can simplify the model to fit, if the user wants.
    if (run.outcome == HelperRun::Outcome::Finished && run.exitCode == TooManyFacesExit) {
        const QString reason =
            run.errorText.section('\n', 0, 0).remove(QRegularExpression("^k3x import-mesh: ")).section(';', 0, 0);
        if (!AskYesNo(this, EntryOrEnglish(Tessaro3DText("ModelImportCaption")),
                      EntryOrEnglish(Tessaro3DText("ModelTooManyFaces")).arg(reason)))
            return false;
        arguments << "--max-faces" << "65536";
        run = RunHelper(program, arguments, Ui(startFolder), importTimeLimit);
    }
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
        return false;
    }
    if (!runFileAction(made, [&imported](const std::string& file) { LoadObject(file, imported); }))
        return false;
    // The listing only offers a choice: without it the importer's own skins stand.
    materials = {};
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(Native(listing));
        materials = ParseModelMaterials(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const OrmelError&) {
    }
    return true;
}

void TForm1::chooseMaterialSkins(const QString& program, const QStringList& arguments, const QString& path,
                                 Object3D& imported, ModelMaterials& materials)
{
    const MaterialsDialogTexts texts{
        EntryOrEnglish(Tessaro3DText("MaterialsCaption")),     EntryOrEnglish(Tessaro3DText("MaterialsIntro")),
        EntryOrEnglish(Tessaro3DText("MaterialsName")),        EntryOrEnglish(Tessaro3DText("MaterialsColour")),
        EntryOrEnglish(Tessaro3DText("MaterialsTextureFile")), EntryOrEnglish(Tessaro3DText("MaterialsFaces")),
        EntryOrEnglish(Tessaro3DText("MaterialsSkin")),        EntryOrEnglish(Tessaro3DText("MaterialsFlat")),
        EntryOrEnglish(Tessaro3DText("MaterialsTexture")),     EntryOrEnglish(Tessaro3DText("MaterialsBring")),
        document->History().Texts().cancel};
    bool brought = false;
    for (;;) {
        const bool named = std::any_of(materials.materials.begin(), materials.materials.end(),
                                       [](const ModelMaterial& m) { return !m.textureFile.empty(); });
        if (materials.materials.size() < 2 && !named)
            return; // one plain material: nothing to choose
        std::vector<MaterialTexture> textures;
        for (std::int32_t t = 0; haveBank_ && t <= context->bank.lastTexture; ++t)
            if (const std::uint8_t* first = context->bank.image(context->bank.textures[static_cast<std::size_t>(t)].first))
                textures.push_back({t, TextureThumbnail(first, context->bank.bankPalette, 32, devicePixelRatioF())});
        const bool canBring = haveBank_ && !brought &&
                              std::any_of(materials.materials.begin(), materials.materials.end(),
                                          [](const ModelMaterial& m) { return !m.textureFile.empty() && !m.texture; });
        const std::optional<MaterialsAnswer> answer = AskMaterialSkins(this, materials, textures, canBring, texts);
        if (!answer)
            return;
        if (!answer->bringPictures) {
            ApplyMaterialSkins(imported, materials, answer->skins);
            return;
        }
        // The pictures become textures of the bank file, which is then read again.
        brought = true;
        if (!runModelImporter(program, QStringList(arguments) << "--textures", path, imported, materials))
            return;
        loadBankFile(bankPath_);
    }
}

bool TForm1::saveObject()
{
    QString path = chooseFile(ObjectSaveFlow);
    // The game finds its objects in its own folder, and a deploy takes nothing from elsewhere.
    if (!path.isEmpty() && !NameInsideFolder(Native(QFileInfo(path).absoluteFilePath()), startFolder) &&
        !AskYesNo(this, EntryOrEnglish(Tessaro3DText("SaveOutsideCaption")),
                  EntryOrEnglish(Tessaro3DText("SaveOutsideGame")).arg(QDir::toNativeSeparators(path), Ui(startFolder))))
        path.clear();
    if (!path.isEmpty() && !runFileAction(path, [this](const std::string& file) { SaveObject(file, object); }))
        path.clear();
    ResetClick();
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

constexpr const char* BankDetail = "Bank";         // the bank loaded, a full path
constexpr const char* SaveNameDetail = "SaveName"; // the name Save offers (an import's, before a first save)
constexpr const char* ViewDetail = "View";         // the view: turns, distance, height

} // namespace

AutoRecovery::Details TForm1::recoveryDetails() const
{
    return {{BankDetail, bankPath_},
            {SaveNameDetail, SaveDialog.fileName},
            {ViewDetail, QString("%1 %2 %3 %4 %5 %6")
                             .arg(angleX)
                             .arg(angleY)
                             .arg(viewDistance)
                             .arg(objectHeight)
                             .arg(panX)
                             .arg(panY)}};
}

void TForm1::restoreRecoveryDetails(const AutoRecovery::Details& details)
{
    // The bank first: it checks the object's textures against itself. One that cannot be loaded
    // now is named, and the bank question comes as at any start.
    const QString bank = details.value(BankDetail);
    if (!bank.isEmpty() && bank != bankPath_)
        loadBankFile(bank);
    const QString saveName = details.value(SaveNameDetail);
    if (document->History().File().isEmpty() && !saveName.isEmpty()) {
        SaveDialog.fileName = saveName;
        document->Imported(QFileInfo(saveName).fileName()); // shown by its name, unsaved until saved
    }
    const QStringList view = details.value(ViewDetail).split(' ');
    if (view.size() == 4 || view.size() == 6) { // the pan after the height bar since it came
        angleX = view[0].toInt();
        angleY = view[1].toInt();
        viewDistance = view[2].toInt();
        const QSignalBlocker quiet(HeightBar);
        HeightBar->setValue(view[3].toInt());
        objectHeight = HeightBar->value(); // within the bar's ends
        panX = view.size() == 6 ? view[4].toInt() : 0;
        panY = view.size() == 6 ? view[5].toInt() : 0;
        viewChanged();
    }
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
    turnViewBack();
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
    fillTexturePanel();
    viewChanged();
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
