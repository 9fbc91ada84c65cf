#pragma once
// The document comforts of an editor's window in one piece, for wiring an editor in a few lines:
// the undo history and caption (UndoHistory), the question before work is lost
// (UnsavedWorkGuard), recovery copies (AutoRecovery), recent files (RecentFiles), the window's
// place (WindowPlacement), files dropped on the window (FileDrops) and the files named on the
// command line. Each piece also stands alone.
//
// The editor gives its texts and four functions; in return it pushes its edits on History(),
// asks MayDiscard() before anything that replaces its document, and reports Opened, Saved and
// Started documents. See the recipe in the README's "Wiring an editor" section.
#include "AutoRecovery.h"
#include "CommandLine.h"
#include "DocumentTexts.h"
#include "RecentFiles.h"
#include "UndoHistory.h"
#include "UnsavedWork.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;

struct EditorDocumentHooks {
    // The Save item: saves the document (asking a name when it has none), calls Saved; true when
    // saved. Throws or answers false when it did not.
    std::function<bool()> save;
    // The document in its own format, for the recovery copy.
    std::function<QByteArray()> bytes;
    // Opens a file given from elsewhere (the command line, a drop, the recent files) by its kind,
    // asking MayDiscard first when it replaces the document. Throws when it cannot.
    std::function<void(const QString& file)> open;
    // Opens a recovered copy as the document whose file is `original` (see AutoRecovery::Open).
    AutoRecovery::Open openRecovered;
    // Optional: what the editor keeps with a recovery copy beside the document (its bank, its
    // view), and how it takes them back once the copy is open (see AutoRecovery::SetDetails).
    std::function<AutoRecovery::Details()> recoveryDetails = {};
    std::function<void(const AutoRecovery::Details&)> restoreRecoveryDetails = {};
};

class EditorDocument : public QObject {
public:
    // `program` names the program's settings and recovery store ("Tessaro3D"); `extension` is the
    // document's ("3do"), for the copy of a document never saved.
    EditorDocument(QMainWindow* window, const QString& program, const QString& extension, const DocumentTexts& texts,
                   EditorDocumentHooks hooks);

    // The Edit menu before `editBefore` in the menu bar, the recent files before `recentBefore`
    // in the File menu (at the ends when null). Answers the Edit menu, for the program's own items.
    QMenu* AddMenus(QMenu* fileMenu, QAction* recentBefore, QAction* editBefore);

    UndoHistory& History() { return *history_; }
    AutoRecovery& Recovery() { return *recovery_; }
    RecentFiles& Recent() { return *recent_; }

    // Ask before replacing the document (New, Open/Load, an import): true when its work may go.
    bool MayDiscard() { return guard_->MayDiscard(); }
    // The document was loaded from `file`: a new history, saved as it is; first of the recent files.
    void Opened(const QString& file);
    // The document was saved in `file`.
    void Saved(const QString& file);
    // A new document without a file (New, an import that is not saved yet).
    void Started();
    // A new document made from another file (an import), unsaved and shown as `name` until saved.
    void Imported(const QString& name);

    // After the window is shown: offers recovery, then opens the files named on the command line
    // (after Qt took its own options), refusing with one message what the program does not open.
    void Start(const ProgramUsage& usage, const QStringList& arguments);
    // Opens files from elsewhere, one after the other; an error is shown and the next one tried.
    void OpenFiles(const QStringList& files);

    void Retranslate(const DocumentTexts& texts);

private:
    QMainWindow* window_;
    EditorDocumentHooks hooks_;
    UndoHistory* history_;
    UnsavedWorkGuard* guard_;
    AutoRecovery* recovery_;
    RecentFiles* recent_ = nullptr;
};

// Makes the project folder of a file opened from elsewhere current (ProjectFolderOf) and answers
// it: the editor then names files inside the project relative to it.
QString EnterProjectFolderOf(const QString& file);
