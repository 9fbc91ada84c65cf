// TForm1's object files: the dialogs of the file flows, opening, making anew and saving an object,
// files from the command line or dropped, the recovery copies, and the help.
#include "Tessaro3DUnit.h"

#include "CommandLineFolder.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FileResolver.h"
#include "LastFolders.h"
#include "LocalisationUnit.h"
#include "ObjectFile.h"
#include "ProgramUsages.h"
#include "Shell.h"
#include "Tessaro3DEntries.h"
#include "Text.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
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

using Flow = TForm1::FileFlow;
const Flow ObjectOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("ObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("OpenObjectTitle"), "Object"};
const Flow ObjectSaveFlow{TForm1::DialogKind::Save, Tessaro3DText("SavedObjectFilter"), "(*.3do *.3DO)", "3DO",
                          Tessaro3DText("SaveObjectTitle"), "Object"};

// A file dropped or named from elsewhere that the model importer reads.
bool isModelFile(const QString& path)
{
    const std::string kind = Native("." + QFileInfo(path).suffix().toLower());
    return std::ranges::find(ModelExtensions(), kind) != ModelExtensions().end();
}

} // namespace

void TForm1::objectReplaced(const QString& saveName)
{
    // A new object: nothing selected (the controls act on the current face, the tools on every
    // face), seen whole from the front.
    setSelection(FaceFlags(object.faceCount(), 0));
    setCurrentFace(std::clamp<std::int32_t>(currentFace, 0, object.lastFace));
    angleX = angleY = angleZ = 0;
    frameFaces(nullptr);
    SaveDialog.fileName = saveName;
    warnOfMissingTextures();
}

void TForm1::objectChanged()
{
    // An undo or a tool may change the face count: the selection keeps what is still there.
    selection = selectionFlags();
    viewChanged();
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

void TForm1::LoadObjet3DClick() { replaceFromChosenFile(ObjectOpenFlow, &TForm1::loadObjectFile); }

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

void TForm1::Quitter1Click() { close(); } // the question about unsaved work comes with the close

void TForm1::Aide1Click()
{
    OpenHelp(this, "Tessaro3D", Tessaro3DText("HelpNotOpened"), Tessaro3DText("HelpMissing"));
}
