#pragma once
// The document's undo history: one QUndoStack per document, capped at Limit steps, the window's
// caption "<program caption> - <file name>[*]" whose [*] mark follows the stack's clean state (an
// edit undone back to the saved state is not unsaved), and the Edit menu's Undo and Redo items,
// which say what they undo ("Undo Set colour").
//
// Editors push every edit as a command (UndoCommands.h: PushChange, PushSnapshot); a command
// pushed is applied at once (its redo). Loading or making another document starts a new history
// (Start); a save marks the saved state (MarkSaved).
#include "DocumentTexts.h"

#include <QObject>
#include <QString>

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
class QUndoCommand;
class QUndoStack;
class QWidget;

class UndoHistory : public QObject {
public:
    // 200 steps: a whole-object tool on the largest object (65,536 faces) keeps one 1 MB face list
    // per step, so even a history of nothing but such tools stays near 200 MB; field edits take a
    // few bytes each.
    static constexpr int Limit = 200;

    UndoHistory(QWidget* window, const DocumentTexts& texts);
    // The stack clears itself when it goes, which is no return to the saved state: nobody hears it.
    ~UndoHistory() override;

    QUndoStack* Stack() const { return stack_; }
    // Applies `command` and keeps it (the stack takes it over).
    void Push(QUndoCommand* command);

    // Typing in one field is merged into one command while the run lasts; the run ends when the
    // field is left (the editor calls this on editingFinished), and at every undo or redo.
    int TypingRun() const { return run_; }
    void EndTypingRun() { ++run_; }
    // Ends the run whenever `field` is left or Enter is pressed in it.
    void EndRunsWhenLeft(QLineEdit* field);

    // The Edit menu with Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z, Ctrl+Y), put before `before` (at the
    // end when null).
    QMenu* AddEditMenu(QMenuBar* bar, QAction* before = nullptr);
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }

    // A new history for the document in `file` (empty: a new document never saved), saved as it is.
    void Start(const QString& file);
    // A new document made from another file (an import): no file of its own yet, shown as `name`
    // and unsaved until it is saved.
    void StartImported(const QString& name);
    // The document was saved in `file`: this state is the saved one.
    void MarkSaved(const QString& file);
    // The document holds work that no file holds (a recovered copy): unsaved until saved.
    void MarkUnsaved();
    bool Unsaved() const;
    // The document's file, empty for one never saved; its name as the caption shows it (an
    // imported document's name, else the untitled text, when it has none).
    const QString& File() const { return file_; }
    QString DisplayName() const;

    void Retranslate(const DocumentTexts& texts);
    const DocumentTexts& Texts() const { return texts_; }

protected:
    // Ctrl+Z and Ctrl+Y in a text field of the window are the document's undo and redo, not the
    // field's own: a field's private undo would change the document behind the history's back.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCaption();
    void showActions();

    QWidget* window_;
    QUndoStack* stack_;
    DocumentTexts texts_;
    QString file_;
    QString importedName_; // the name shown while an imported document has no file
    int run_ = 0;
    QMenu* menu_ = nullptr;
    QAction* undo_;
    QAction* redo_;
};
