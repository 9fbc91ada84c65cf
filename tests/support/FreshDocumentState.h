#pragma once
// The set-up before each test of an editor's document: the user's settings and recovery copies
// emptied, errors and messages recorded (into one list when both are the same), and the
// questions answered as `questions` scripts them.
#include "AutoRecovery.h"
#include "Dialogs.h"
#include "ScriptedQuestions.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

inline void FreshDocumentState(QStringList& errors, QStringList& messages, ScriptedQuestions& questions)
{
    QSettings().clear();
    QDir(AutoRecovery::Folder()).removeRecursively();
    errors.clear();
    messages.clear();
    Hooks().error = [&errors](const QString& text) { errors << text; };
    Hooks().message = [&messages](const QString& text) { messages << text; };
    questions.Answer();
}
