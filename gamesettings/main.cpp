// Partiva, the game parameters editor: edits game.ini of the current folder, the game folder, or
// of the game project folder named on its command line.
#include "CommandLineFolder.h"
#include "DocumentTexts.h"
#include "GameParamUnit.h"
#include "GameSettings.h"
#include "Open3DO.h"
#include "OpenWAV.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"
#include "PartivaEntries.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerUsageRequest(PartivaUsage(), argc, argv))
        return *answered;
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Game parameters"), QStringLiteral("Partiva"));
    const QStringList refused = EnterFolderOfCommandLine(PartivaUsage(), application.Arguments());
    StartGameSettings();

    TGameParamForm GameParamForm;
    TObjectDialog ObjectDialog(&GameParamForm);
    TWAVDialog WAVDialog(&GameParamForm);
    GameParamForm.WAVDialog = &WAVDialog;

    GameParamForm.show();
    ShowRefusedArguments(&GameParamForm, PartivaUsage(), refused, DocumentTexts::FromTable({}, PartivaEntries).refusedArgument);
    return application.exec();
}
