#pragma once
// The texts the editors' document comforts show (Edit menu, questions, recovery, recent files).
// Each editor hands its own: the English defaults below stand in for entries its dictionary
// lacks (a game project made before the entries existed), and FromDictionary reads a block of
// DocumentTexts::Count consecutive entries from the editor's own first entry number, in the
// order of the members below.
#include <QString>

struct DocumentTexts {
    QString caption;                                   // the program's own caption (not an entry here)
    QString editMenu = QStringLiteral("&Edit");
    QString undo = QStringLiteral("&Undo");            // nothing to undo
    QString redo = QStringLiteral("&Redo");            // nothing to redo
    QString undoNamed = QStringLiteral("&Undo %1");    // %1: what the command did ("Set colour")
    QString redoNamed = QStringLiteral("&Redo %1");
    QString untitled = QStringLiteral("Untitled");     // the name of a document never saved
    QString saveQuestion = QStringLiteral("Save the changes to %1?"); // %1: the file name
    QString save = QStringLiteral("&Save");
    QString discard = QStringLiteral("&Discard");
    QString cancel = QStringLiteral("Cancel");
    QString recoverQuestion = QStringLiteral(
        "Unsaved work on %1 was kept when the program stopped (%2). Recover it?"); // %1 file, %2 time
    QString recover = QStringLiteral("&Recover");
    QString damagedRecovery = QStringLiteral(
        "A recovery copy cannot be used: %1. It has been set aside as %2."); // %1 reason, %2 file
    QString recentMenu = QStringLiteral("Recent &files");
    QString missingRecent = QStringLiteral("%1 no longer exists: it has been taken off the recent files.");
    QString refusedArgument = QStringLiteral("%1 is not opened: this program opens %2."); // %2: usage

    static constexpr int Count = 16; // the members read from the dictionary, editMenu to refusedArgument

    // The texts of entries first to first + Count - 1 of the program's dictionary table, each in
    // the order of the members above; an entry the dictionary lacks keeps its English default.
    static DocumentTexts FromDictionary(const QString& caption, int first);
};
