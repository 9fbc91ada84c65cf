#include "EditorDocument.h"

#include "CommandLineFolder.h"
#include "Dialogs.h"
#include "FileDrops.h"
#include "OrmelApplication.h"
#include "ProjectFolder.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

EditorDocument::EditorDocument(QMainWindow* window, const QString& program, const QString& extension,
                               const DocumentTexts& texts, EditorDocumentHooks hooks)
    : QObject(window)
    , window_(window)
    , hooks_(std::move(hooks))
    , history_(new UndoHistory(window, texts))
    , guard_(new UnsavedWorkGuard(window, *history_, hooks_.save))
    , recovery_(new AutoRecovery(window, program, *history_, hooks_.bytes, extension))
{
    // Both belong to the window, which they watch; nothing asks them anything afterwards.
    new WindowPlacement(window);
    new FileDrops(window, [this](const QStringList& files) { OpenFiles(files); });
    if (hooks_.recoveryDetails)
        recovery_->SetDetails(hooks_.recoveryDetails, hooks_.restoreRecoveryDetails);
    guard_->onDiscarded = [this] { recovery_->Forget(); };
    guard_->onClosed = [this] { recovery_->Forget(); };
}

QMenu* EditorDocument::AddMenus(QMenu* fileMenu, QAction* recentBefore, QAction* editBefore)
{
    QMenu* edit = history_->AddEditMenu(window_->menuBar(), editBefore);
    recent_ = new RecentFiles(window_, fileMenu, recentBefore, history_->Texts(),
                              [this](const QString& file) { OpenFiles({file}); });
    return edit;
}

void EditorDocument::Opened(const QString& file)
{
    history_->Start(file);
    if (recent_)
        recent_->Add(file);
}

void EditorDocument::Saved(const QString& file)
{
    history_->MarkSaved(file);
    if (recent_)
        recent_->Add(file);
}

void EditorDocument::Started() { history_->Start({}); }

void EditorDocument::Imported(const QString& name) { history_->StartImported(name); }

void EditorDocument::Start(const ProgramUsage& usage, const QStringList& arguments)
{
    recovery_->OfferPending(hooks_.openRecovered);
    const SortedFiles sorted = SortCommandLine(usage, arguments);
    ShowRefusedArguments(window_, usage, sorted.refused, history_->Texts().refusedArgument);
    QStringList files = sorted.byKind;
    files.removeAll(QString());
    OpenFiles(files);
}

void EditorDocument::OpenFiles(const QStringList& files)
{
    for (const QString& file : files)
        RunGuarded(window_, [this, &file] { hooks_.open(file); });
}

void EditorDocument::Retranslate(const DocumentTexts& texts)
{
    history_->Retranslate(texts);
    if (recent_)
        recent_->Retranslate(texts);
}

QString EnterProjectFolderOf(const QString& file)
{
    const QString folder = QString::fromStdString(ProjectFolderOf(file.toStdString()).string());
    QDir::setCurrent(folder);
    return folder;
}
