#pragma once
// Recovery of unsaved work after a crash. Every Interval while the document is unsaved, a copy
// in the document's own format (the editor gives the bytes) and its description go to the
// user's data folder (QStandardPaths::AppDataLocation, "recovery"); they are removed when the
// work is saved or discarded and at a clean exit (the window closing). At the next start the
// program offers what an earlier run left: Recover opens it as unsaved work under its original
// name, Discard deletes it; a damaged copy is reported and set aside, never opened.
#include "RecoveryStore.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTimer;
class QWidget;
class UndoHistory;

class AutoRecovery : public QObject {
public:
    static constexpr int Interval = 2 * 60 * 1000; // ms

    // The document's bytes as its Save would write them.
    using Bytes = std::function<QByteArray()>;
    // Opens a recovered copy: loads `copy` as the document whose file is `original` (empty for a
    // document never saved) and starts its history; throws when the copy cannot be read.
    using Open = std::function<void(const QString& copy, const QString& original)>;

    // `program` names the store ("Tessaro3D"); `extension` is the copy's for a document without a
    // file ("3do").
    AutoRecovery(QWidget* window, const QString& program, UndoHistory& history, Bytes bytes, QString extension);

    // The user's recovery folder of this program.
    static QString Folder();

    // The timer's handler: writes the copy when the document is unsaved. Tests call it directly.
    void SaveCopy();
    // Removes this run's copy (the work was saved, discarded, or the window closed).
    void Forget();
    bool Holds() const { return store_.Holds(); }
    QTimer* Timer() const { return timer_; }

    // At start: offers each recovery an earlier run left, oldest first, until one is recovered.
    void OfferPending(const Open& open);

private:
    QWidget* window_;
    UndoHistory& history_;
    Bytes bytes_;
    QString extension_;
    RecoveryStore store_;
    QTimer* timer_;
    bool failureShown_ = false;
};
