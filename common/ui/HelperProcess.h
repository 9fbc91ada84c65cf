#pragma once
// Running a helper program of the suite (k3x) on a user's file as a child process, so that a
// fault in what it reads can never take the window and its unsaved work down. The hourglass shows
// while it runs and the window keeps drawing (a local event loop that lets no user input through,
// so nothing changes the document meanwhile); past the time limit the helper is stopped.
#include <QString>
#include <QStringList>

struct HelperRun {
    enum class Outcome {
        Finished,   // it exited by itself: see exitCode
        NotStarted, // it could not be started (errorText says why)
        Crashed,    // it ended by a signal (a fault while reading)
        TimedOut,   // it ran past the limit and was stopped
    };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = 0;
    QString errorText; // what it wrote on its standard error, or why it did not start
};

// Runs `program` with `arguments` in `workingFolder`, waiting at most `limitMs` milliseconds.
HelperRun RunHelper(const QString& program, const QStringList& arguments, const QString& workingFolder, int limitMs);
