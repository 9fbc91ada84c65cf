#include "UndoHistory.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <QWidget>

UndoHistory::UndoHistory(QWidget* window, const DocumentTexts& texts)
    : QObject(window)
    , window_(window)
    , stack_(new QUndoStack(this))
    , texts_(texts)
    , undo_(new QAction(this))
    , redo_(new QAction(this))
{
    stack_->setUndoLimit(Limit);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The shortcuts work with the menu closed and while a field has the focus.
    undo_->setShortcutContext(Qt::WindowShortcut);
    redo_->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(undo_);
    window_->addAction(redo_);
    connect(undo_, &QAction::triggered, this, [this] {
        EndTypingRun();
        stack_->undo();
    });
    connect(redo_, &QAction::triggered, this, [this] {
        EndTypingRun();
        stack_->redo();
    });
    connect(stack_, &QUndoStack::indexChanged, this, &UndoHistory::showActions);
    connect(stack_, &QUndoStack::cleanChanged, this, [this](bool clean) { window_->setWindowModified(!clean); });
    showActions();
    showCaption();
    qApp->installEventFilter(this);
}

UndoHistory::~UndoHistory() { stack_->disconnect(); }

bool UndoHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : {undo_, redo_})
        if (action->shortcuts().contains(pressed)) {
            event->ignore(); // not taken by the field: the window's shortcut runs
            return true;
        }
    return false;
}

void UndoHistory::Push(QUndoCommand* command) { stack_->push(command); }

void UndoHistory::EndRunsWhenLeft(QLineEdit* field)
{
    // The history, not the window, receives it: a field also loses the focus while the window is
    // being destroyed, when the window's own members are gone.
    connect(field, &QLineEdit::editingFinished, this, &UndoHistory::EndTypingRun);
}

QMenu* UndoHistory::AddEditMenu(QMenuBar* bar, QAction* before)
{
    menu_ = new QMenu(texts_.editMenu, bar);
    menu_->addAction(undo_);
    menu_->addAction(redo_);
    bar->insertMenu(before, menu_);
    return menu_;
}

void UndoHistory::Start(const QString& file)
{
    stack_->clear();
    importedName_.clear();
    MarkSaved(file);
}

void UndoHistory::StartImported(const QString& name)
{
    Start({});
    importedName_ = name;
    MarkUnsaved();
    showCaption();
}

void UndoHistory::MarkSaved(const QString& file)
{
    EndTypingRun();
    file_ = file;
    stack_->setClean();
    window_->setWindowModified(false);
    showCaption();
}

void UndoHistory::MarkUnsaved()
{
    stack_->resetClean();
    window_->setWindowModified(true);
}

bool UndoHistory::Unsaved() const { return !stack_->isClean(); }

QString UndoHistory::DisplayName() const
{
    if (!file_.isEmpty())
        return QFileInfo(file_).fileName();
    return importedName_.isEmpty() ? texts_.untitled : importedName_;
}

void UndoHistory::Retranslate(const DocumentTexts& texts)
{
    texts_ = texts;
    if (menu_)
        menu_->setTitle(texts_.editMenu);
    showActions();
    showCaption();
}

void UndoHistory::showCaption()
{
    // "[*]" is where Qt shows the unsaved mark; a literal one would be doubled.
    QString name = DisplayName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    window_->setWindowTitle(texts_.caption + QStringLiteral(" - ") + name + QStringLiteral("[*]"));
}

void UndoHistory::showActions()
{
    undo_->setEnabled(stack_->canUndo());
    redo_->setEnabled(stack_->canRedo());
    undo_->setText(stack_->canUndo() ? texts_.undoNamed.arg(stack_->undoText()) : texts_.undo);
    redo_->setText(stack_->canRedo() ? texts_.redoNamed.arg(stack_->redoText()) : texts_.redo);
}
