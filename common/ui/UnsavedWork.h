#pragma once
// The question before work is lost: closing the window (Quit closes it too), New, Open or Load,
// and imports over unsaved changes ask Save / Discard / Cancel. Cancel changes nothing; a save
// that fails (or whose file dialog is cancelled) keeps the work, its mark and the window.
#include <QObject>

#include <functional>

class UndoHistory;
class QWidget;

class UnsavedWorkGuard : public QObject {
public:
    // Saves the document as its Save item does (asking a name when it has none); true when saved.
    using Save = std::function<bool()>;

    // Watches `window`'s close: the window closes only when MayDiscard says so.
    UnsavedWorkGuard(QWidget* window, UndoHistory& history, Save save);

    // True when the document's work may go now: nothing unsaved, or the user had it saved (and
    // the save worked), or chose to discard it. Ask before anything that replaces the document.
    bool MayDiscard();

    std::function<void()> onDiscarded; // the user gave the unsaved work up
    std::function<void()> onClosed;    // the window closes: a clean exit of the document

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    UndoHistory& history_;
    Save save_;
};
