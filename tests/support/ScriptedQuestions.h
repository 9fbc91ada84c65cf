#pragma once
// The question before work is lost and the recovery offer, answered as a test scripts them: each
// question asked is recorded and takes the next answer (Cancel, then Later, when none is left).
#include "Dialogs.h"

#include <QList>
#include <QStringList>

struct ScriptedQuestions {
    QStringList asked;
    QList<SaveChoice> saveAnswers;
    QList<RecoveryChoice> recoveryAnswers;

    // Answers through the dialog hooks from now until the hooks are reset.
    void Answer()
    {
        asked.clear();
        saveAnswers.clear();
        recoveryAnswers.clear();
        Hooks().askSaveDiscardCancel = [this](const QString&, const QString& text) {
            asked << text;
            return saveAnswers.isEmpty() ? SaveChoice::Cancel : saveAnswers.takeFirst();
        };
        Hooks().askRecoverDiscard = [this](const QString&, const QString& text) {
            asked << text;
            return recoveryAnswers.isEmpty() ? RecoveryChoice::Later : recoveryAnswers.takeFirst();
        };
    }
};
