// TForm1's imports of meshes made elsewhere: a DXF drawing read in place, and every model format
// through the model importer (k3x import-mesh, a child process that cannot take the editor down),
// its materials then offered as bank textures or flat colours in the materials table.
#include "Tessaro3DUnit.h"

#include "DxfImport.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FileResolver.h"
#include "HelperProcess.h"
#include "K3xFiles.h"
#include "LocalisationUnit.h"
#include "K3xDisplay.h"
#include "MaterialsDialog.h"
#include "ObjectFile.h"
#include "ProgramUsages.h"
#include "Renderer.h"
#include "Shell.h"
#include "Tessaro3DEntries.h"
#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>

namespace {

constexpr int TooManyFacesExit = 3; // k3x import-mesh: a model --max-faces would fit

using Flow = TForm1::FileFlow;
const Flow DxfImportFlow{TForm1::DialogKind::Open, Tessaro3DText("DxfFilter"), "(*.dxf *.DXF)", "dxf",
                         Tessaro3DText("OpenDxfTitle"), "Dxf"};

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

// The name Save offers for an object imported from `path`, never that of an object loaded before:
// the mesh's own name as a .3do beside it when it lies in the game folder, else in the game folder
// itself, where the game finds it and a deploy takes it.
QString objectNameFor(const QString& path, const std::string& gameFolder)
{
    const QFileInfo mesh(path);
    const QString name = mesh.completeBaseName() + ".3do";
    if (NameInsideFolder(Native(mesh.absoluteFilePath()), gameFolder))
        return mesh.dir().filePath(name);
    return QDir(Ui(gameFolder)).filePath(name);
}

// The importer's first line on its error stream: k3x names the file and the reason after its own
// name and the command's, which are left out.
QString importerReason(const HelperRun& run)
{
    return run.errorText.section('\n', 0, 0).remove(QRegularExpression("^k3x import-mesh: "));
}

} // namespace

void TForm1::LoadDXFObjetClick() { replaceFromChosenFile(DxfImportFlow, &TForm1::importDxfFile); }

void TForm1::ImportModelClick() { replaceFromChosenFile(ModelImportFlow, &TForm1::importModelFile); }

void TForm1::importDxfFile(const QString& path)
{
    if (!runFileAction(path, [this](const std::string& file) { ImportDxf(file, object); }))
        return;
    const QString name = objectNameFor(path, startFolder);
    objectReplaced(name);
    document->Imported(QFileInfo(name).fileName());
}

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
        const QString reason = importerReason(run).section(';', 0, 0);
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
        const QString reason = importerReason(run);
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
