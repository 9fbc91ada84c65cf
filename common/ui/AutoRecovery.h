#pragma once
// Recovery of unsaved work after a crash. Every interval while the document is unsaved (the user's
// setting recovery/interval, in seconds: 120 by default, 2 to a day), a copy in the document's own
// format (the editor gives the bytes) and its description go to the user's data folder
// (QStandardPaths::AppDataLocation, "recovery", private to the user); a last copy is written when
// the program is ended by SIGTERM or SIGINT (a logout, a shutdown, Ctrl+C). They are removed when
// the work is saved or discarded and at a clean exit (the window closing). Each copy is tied to
// its program by a lock file (QLockFile, which knows a lock left by a process that is gone even
// when the system gave its number to another since). At the next start the program offers what an
// earlier run left: Recover opens it as unsaved work under its original name, with the editor's
// details (a bank, a view) back; Discard deletes it; a damaged copy is reported and set aside.
#include "RecoveryStore.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QLockFile;
class QTimer;
class QWidget;
class UndoHistory;

class AutoRecovery : public QObject {
public:
    static constexpr int DefaultInterval = 120; // seconds
    static constexpr int ShortestInterval = 2;  // seconds
    static constexpr int LongestInterval = 24 * 60 * 60; // seconds

    // The document's bytes as its Save would write them.
    using Bytes = std::function<QByteArray()>;
    // Opens a recovered copy: loads `copy` as the document whose file is `original` (empty for a
    // document never saved) and starts its history; throws when the copy cannot be read.
    using Open = std::function<void(const QString& copy, const QString& original)>;
    // What the editor keeps beside the document to bring it back as it was (its bank, its view):
    // names without "=" or line breaks, and their values.
    using Details = QMap<QString, QString>;

    // `program` names the store ("Tessaro3D"); `extension` is the copy's for a document without a
    // file ("3do").
    AutoRecovery(QWidget* window, const QString& program, UndoHistory& history, Bytes bytes, QString extension);
    ~AutoRecovery() override;

    // The user's recovery folder of this program.
    static QString Folder();
    // The interval between copies, from the user's settings, in milliseconds.
    static int IntervalMs();

    // The editor's details, written with every copy and given back after the copy was opened.
    void SetDetails(std::function<Details()> details, std::function<void(const Details&)> restore);

    // The timer's handler: writes the copy when the document is unsaved. Tests call it directly.
    void SaveCopy();
    // Removes this run's copy (the work was saved, discarded, or the window closed).
    void Forget();
    bool Holds() const { return store_.Holds(); }
    QTimer* Timer() const { return timer_; }

    // At start: offers each recovery an earlier run left, oldest first, until one is recovered.
    void OfferPending(const Open& open);

private:
    // Writes the copy when the document is unsaved; the error's text when it could not.
    QString writeCopy();
    void showOnce(const QString& error);

    QWidget* window_;
    UndoHistory& history_;
    Bytes bytes_;
    QString extension_;
    std::function<Details()> details_;
    std::function<void(const Details&)> restoreDetails_;
    std::map<std::string, std::unique_ptr<QLockFile>> locks_; // the lock files this run holds
    RecoveryStore store_;
    QTimer* timer_;
    bool failureShown_ = false;
};
