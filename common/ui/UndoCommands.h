#pragma once
// Commands made from what an edit changes, for UndoHistory.
//
// ValueChange holds the value before and after the edit and the function that puts a value in
// place (in the document, then in the controls): undo puts the old one back, redo the new one.
// - One field: give the field an id (>= 0, unique in the editor) and the history's typing run;
//   typing in one field is then one command, whose before is the value when typing began. A run
//   that types the value back to where it began leaves no command.
// Values are copied in: keep them to what the edit changes.
//
// SwapChange is for a tool that changes everything (every face, the bank's slots and palette):
// it holds one whole state, the other one being in the document, and undo and redo exchange
// them. A step costs one copy of that state (the 1 MB face list of a 65,536-face object) and its
// undo or redo no copy at all.
#include "UndoHistory.h"

#include <QUndoCommand>

#include <functional>
#include <utility>

template <typename Value>
class ValueChange : public QUndoCommand {
public:
    using Apply = std::function<void(const Value&)>;

    ValueChange(const QString& text, Value before, Value after, Apply apply, int field = -1, int run = 0)
        : QUndoCommand(text)
        , before_(std::move(before))
        , after_(std::move(after))
        , apply_(std::move(apply))
        , field_(field)
        , run_(run)
    {
    }

    void undo() override { apply_(before_); }
    void redo() override { apply_(after_); }
    int id() const override { return field_; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const ValueChange*>(other);
        if (!next || next->run_ != run_)
            return false;
        after_ = next->after_;
        setObsolete(after_ == before_);
        return true;
    }

private:
    Value before_;
    Value after_;
    Apply apply_;
    int field_;
    int run_;
};

template <typename State>
class SwapChange : public QUndoCommand {
public:
    // Exchanges the held state with the document's (std::swap), then shows it.
    using Exchange = std::function<void(State& held)>;

    SwapChange(const QString& text, State other, Exchange exchange)
        : QUndoCommand(text)
        , held_(std::move(other))
        , exchange_(std::move(exchange))
    {
    }

    void undo() override { exchange_(held_); }
    void redo() override { exchange_(held_); }

private:
    State held_;
    Exchange exchange_;
};

// An edit of one field (see above); nothing is pushed when the value does not change.
template <typename Value>
void PushChange(UndoHistory& history, const QString& text, int field, Value before, Value after,
                typename ValueChange<Value>::Apply apply)
{
    if (before == after)
        return;
    history.Push(new ValueChange<Value>(text, std::move(before), std::move(after), std::move(apply), field,
                                        history.TypingRun()));
}

// A tool's whole new state `after`, put in place by exchanging it with the document's `current`
// one (see SwapChange); nothing is pushed when the tool changed nothing.
template <typename State>
void PushSnapshot(UndoHistory& history, const QString& text, const State& current, State after,
                  typename SwapChange<State>::Exchange exchange)
{
    if (current == after)
        return;
    history.Push(new SwapChange<State>(text, std::move(after), std::move(exchange)));
}
