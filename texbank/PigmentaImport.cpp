// File, "Import images ...": the pictures chosen, the folder and still textures asked, the import
// run off the window's thread behind a progress bar, then pushed as one undoable command.
#include "PigmentaUnit.h"

#include "EditorDocument.h"
#include "FileResolver.h"
#include "ImportImagesDialog.h"
#include "K3xDisplay.h"
#include "LastFolders.h"
#include "PictureImport.h"
#include "PigmentaEntries.h"
#include "StartFolder.h"
#include "Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <thread>

namespace {

const QString ImportFolderKey = QStringLiteral("Import/TextureFolder");

// The folder as the bank names it inside the start folder ("" for the start folder itself), or
// nothing when it lies outside.
std::optional<std::string> folderInGame(const QString& folder, const std::string& startFolder)
{
    if (QDir(folder) == QDir(Ui(startFolder)))
        return std::string();
    return BankImageName(Native(folder), startFolder);
}

QString refusalText(const RefusedPicture& refused)
{
    switch (refused.why) {
    case PictureRefusal::Unreadable:
        return Ui(refused.detail); // the reader's message names the file
    case PictureRefusal::Blank:
        return EntryOrEnglish(PigmentaText("RefusedBlank")).arg(Ui(refused.file));
    case PictureRefusal::TooLong:
    case PictureRefusal::Character:
        return EntryOrEnglish(PigmentaText("RefusedName")).arg(Ui(refused.file)) +
               (refused.detail.empty() ? QString() : " " + Ui(refused.detail));
    case PictureRefusal::NoFreeSlot:
        return EntryOrEnglish(PigmentaText("RefusedNoSlot")).arg(Ui(refused.file));
    }
    return Ui(refused.file);
}

} // namespace

QString TMainForm::proposedImportFolder() const
{
    const QString chosen = QSettings().value(ImportFolderKey).toString();
    if (!chosen.isEmpty() && QFileInfo(chosen).isDir() && folderInGame(chosen, startFolder))
        return chosen;
    const auto named = std::find_if(Bank.slots.begin(), Bank.slots.end(),
                                    [](const BankImageSlot& slot) { return !slot.name.empty(); });
    const std::size_t cut = named == Bank.slots.end() ? std::string::npos : named->name.find_last_of("\\/");
    if (cut != std::string::npos) {
        const QString folder = Ui(ResolvePath(named->name.substr(0, cut), startFolder).string());
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return Ui(startFolder);
}

void TMainForm::ImportImages1Click()
{
    const QStringList files = ChooseOpenFilesRemembered(this, "Pictures", OpenPicturesDialog);
    if (files.isEmpty())
        return;
    PictureImportRequest request{{}, startFolder, {}, CursorImage, true};
    for (const QString& file : files)
        request.pictures.push_back(Native(file));
    PictureImport importing(Bank, std::move(request));
    const int count = static_cast<int>(files.size());
    // The pictures are read before the question, which shows them as they will come out.
    runImport(importing, EntryOrEnglish(PigmentaText("ImportReading")).arg(count), true, [&] { importing.Prepare(); });
    if (!importing.Prepared())
        return;
    const ImportPreviewMaker preview = [&](TextureFit fit, bool dither) {
        importing.Request().fit = fit;
        importing.Request().dither = dither;
        runImport(importing, EntryOrEnglish(PigmentaText("ImportReading")).arg(count), false, [&] { importing.Prepare(); });
        return importPreview(importing);
    };
    const ImportDialogTexts texts{EntryOrEnglish(PigmentaText("ImportImagesCaption")),
                                  EntryOrEnglish(PigmentaText("ImportFolderLabel")),
                                  EntryOrEnglish(PigmentaText("ImportChooseFolder")),
                                  EntryOrEnglish(PigmentaText("ImportStillTextures")),
                                  document->History().Texts().cancel,
                                  EntryOrEnglish(PigmentaText("ImportFitLabel")),
                                  EntryOrEnglish(PigmentaText("ImportFitCrop")),
                                  EntryOrEnglish(PigmentaText("ImportFitPad")),
                                  EntryOrEnglish(PigmentaText("ImportFitStretch")),
                                  EntryOrEnglish(PigmentaText("ImportDither"))};
    const ImportFolderCheck check{Ui(startFolder), [this](const QString& folder) {
                                      if (!QFileInfo(folder).isDir())
                                          return EntryOrEnglish(PigmentaText("ImportFolderMissing")).arg(folder);
                                      if (!folderInGame(folder, startFolder))
                                          return EntryOrEnglish(PigmentaText("ImportFolderOutside")).arg(Ui(startFolder));
                                      return QString();
                                  }};
    const std::optional<ImportChoice> choice =
        AskImportChoice(this, {proposedImportFolder(), true}, texts, check, preview);
    if (!choice)
        return;
    const std::optional<std::string> folder = folderInGame(choice->folder, startFolder);
    if (!folder) {
        ShowMessage(this, EntryOrEnglish(PigmentaText("ImportFolderOutside")).arg(Ui(startFolder)));
        return;
    }
    QSettings().setValue(ImportFolderKey, choice->folder);
    PictureImportRequest& chosen = importing.Request();
    chosen.folder = *folder;
    chosen.stillTextures = choice->stillTextures;
    chosen.fit = choice->fit;
    chosen.dither = choice->dither;
    runImport(importing, EntryOrEnglish(PigmentaText("ImportProgress")).arg(count), true, [&] { importing.Run(); });
    PictureImportResult& result = importing.Result();
    if (!result.change.Empty())
        pushChange(texts.caption, std::move(result.change));
    reportImport(result);
}

ImportPreview TMainForm::importPreview(const PictureImport& importing) const
{
    ImportPreview preview;
    preview.palette = importing.Palette();
    const std::vector<PicturePreview> pictures = importing.Previews();
    preview.paletteNote = importing.MakesPalette()
                              ? EntryOrEnglish(PigmentaText("ImportMadePalette")).arg(pictures.size())
                              : EntryOrEnglish(PigmentaText("ImportBankPalette"));
    for (const PicturePreview& picture : pictures) {
        ImportPreviewPicture shown{QFileInfo(Ui(picture.file)).fileName(), {}, {}};
        if (picture.pixels)
            shown.texture = TextureThumbnail(picture.pixels->data(), preview.palette, TextureSide, devicePixelRatioF());
        else if (picture.refused)
            shown.refusal = refusalText(*picture.refused);
        preview.pictures.push_back(std::move(shown));
    }
    return preview;
}

void TMainForm::runImport(PictureImport& importing, const QString& label, bool mayCancel,
                          const std::function<void()>& work)
{
    QProgressDialog progress(label, mayCancel ? document->History().Texts().cancel : QString(), 0, importing.Total(),
                             this);
    progress.setWindowTitle(EntryOrEnglish(PigmentaText("ImportImagesCaption")));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(300);
    progress.setValue(0);

    std::atomic<bool> finished = false;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        progress.setValue(importing.Done());
        if (progress.wasCanceled())
            importing.Cancel();
        if (finished)
            loop.quit();
    });
    // The window stays responsive: the pictures are read and written on other threads while
    // this one shows the progress.
    std::jthread worker([&] {
        work();
        finished = true;
    });
    poll.start();
    loop.exec();
}

void TMainForm::reportImport(const PictureImportResult& result)
{
    if (!result.failure.empty()) {
        ShowError(this, EntryOrEnglish(PigmentaText("ImportFailed")).arg(Ui(result.failure)));
        return;
    }
    if (result.cancelled || result.refused.empty())
        return;
    QString text = EntryOrEnglish(PigmentaText("ImportRefused"));
    for (const RefusedPicture& refused : result.refused)
        text += "\n" + refusalText(refused);
    ShowMessage(this, text);
}
