// Partiva, the game parameters editor: edits game.ini of the current folder, the game folder, or
// of the game project folder named on its command line.
#include "CommandLineFolder.h"
#include "EditorDocument.h"
#include "GameParamUnit.h"
#include "GameSettings.h"
#include "Open3DO.h"
#include "OpenWAV.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerUsageRequest(PartivaUsage(), argc, argv))
        return *answered;
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Game parameters"), QStringLiteral("Partiva"));
    // The window reads game.ini and the dictionary of the folder it starts in.
    EnterFolderOfCommandLine(PartivaUsage(), application.Arguments());
    StartGameSettings();

    TGameParamForm GameParamForm;
    TObjectDialog ObjectDialog(&GameParamForm);
    TWAVDialog WAVDialog(&GameParamForm);
    GameParamForm.WAVDialog = &WAVDialog;

    GameParamForm.show();
    // The recovery offer, then the folder named (open already) and what was refused, in the
    // window's language.
    GameParamForm.document->Start(PartivaUsage(), application.Arguments());
    return application.exec();
}
