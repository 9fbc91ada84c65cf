#include "UnsavedWork.h"

#include "Dialogs.h"
#include "OrmelApplication.h"
#include "UndoHistory.h"

#include <QCloseEvent>
#include <QWidget>

UnsavedWorkGuard::UnsavedWorkGuard(QWidget* window, UndoHistory& history, Save save)
    : QObject(window)
    , window_(window)
    , history_(history)
    , save_(std::move(save))
{
    window_->installEventFilter(this);
}

bool UnsavedWorkGuard::MayDiscard()
{
    if (!history_.Unsaved())
        return true;
    const DocumentTexts& texts = history_.Texts();
    switch (AskSaveDiscardCancel(window_, texts.caption, texts.saveQuestion.arg(history_.DisplayName()),
                                 {texts.save, texts.discard, texts.cancel})) {
    case SaveChoice::Cancel:
        return false;
    case SaveChoice::Discard:
        if (onDiscarded)
            onDiscarded();
        return true;
    case SaveChoice::Save:
        break;
    }
    // A save that throws has shown its error; it kept the work, as one that returns false.
    bool saved = false;
    RunGuarded(window_, [this, &saved] { saved = save_(); });
    return saved && !history_.Unsaved();
}

bool UnsavedWorkGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::Close)
        return false;
    if (!MayDiscard()) {
        event->ignore();
        return true;
    }
    if (onClosed)
        onClosed();
    return false;
}
