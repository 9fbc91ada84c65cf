// The texture bank editor's document comforts: the hooks its EditorDocument calls (save, the
// recovery copy's bytes, banks from elsewhere, recovered copies) and drops on the slot grid.
#include "PigmentaUnit.h"

#include "CommandLineFolder.h"
#include "CurrentFolderScope.h"
#include "EditorDocument.h"
#include "FileResolver.h"
#include "LastFolders.h"
#include "PigmentaEntries.h"
#include "ProgramUsages.h"
#include "Text.h"
#include "Windows1252.h"

#include <QWidget>

#include <filesystem>
#include <system_error>

void TMainForm::makeDocument()
{
    document = new EditorDocument(this, "Pigmenta", "def", documentTexts(),
                                  {[this] { return SaveDocument(); }, [this] { return DocumentBytes(); },
                                   [this](const QString& file) { OpenFile(file); },
                                   [this](const QString& copy, const QString& original) { OpenRecovered(copy, original); }});
    document->AddMenus(File1, Quit1, Help1);
}

DocumentTexts TMainForm::documentTexts() const
{
    return DocumentTexts::FromTable(EntryOrEnglish(PigmentaText("Caption")), PigmentaEntries);
}

bool TMainForm::SaveDocument()
{
    QString file = document->History().File();
    if (file.isEmpty())
        file = ChooseSaveFileRemembered(this, "Bank", SaveBankDialog);
    return !file.isEmpty() && saveBank(file);
}

QByteArray TMainForm::DocumentBytes() const
{
    // The bytes Save writes (WriteBankFile's encoding of the bank text).
    const std::string bytes = EncodeFileText(EditorBankText(Bank), "recovery copy");
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void TMainForm::OpenFile(const QString& file)
{
    if (!HasExtension(Native(file), ".def")) {
        ShowRefusedArguments(this, PigmentaUsage(), {file}, document->History().Texts().refusedArgument);
        return;
    }
    if (!document->MayDiscard())
        return;
    // Image names in the bank are relative to its project folder; a bank that cannot be opened
    // leaves the one shown, with its own folder.
    const std::string previous = startFolder;
    useStartFolder(Native(EnterProjectFolderOf(file)));
    if (loadBank(file)) {
        document->Opened(file);
        return;
    }
    useStartFolder(previous);
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
}

void TMainForm::OpenRecovered(const QString& copy, const QString& original)
{
    if (!original.isEmpty())
        useStartFolder(Native(EnterProjectFolderOf(original)));
    EditorBankLoad load;
    {
        // A copy that cannot be read throws, and is set aside by the recovery.
        const CurrentFolderScope inStartFolder(startFolder);
        load = LoadEditorBank(Native(copy), Bank);
    }
    reportUnread(load, &Bank.kept);
    SaveBankDialog.fileName = original;
    bankPaletteChanged();
    Selection.reset();
    bankChanged();
    document->History().Start(original);
}

bool TMainForm::SlotTakesDrop(const QPoint& at, const QStringList& files) const
{
    return files.size() == 1 && HasExtension(Native(files.constFirst()), ".pcx") && ViewPanel->geometry().contains(at);
}

void TMainForm::DropOnSlot(const QPoint& at, const QString& file)
{
    FormMouseMove(at.x(), at.y()); // the slot under the drop becomes the cursor slot
    loadImageInto(CursorImage, file);
}
