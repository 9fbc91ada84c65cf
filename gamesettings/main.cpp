// Partiva, the game parameters editor: edits game.ini of the current folder, the game folder.
#include "GameParamUnit.h"
#include "GameSettings.h"
#include "Open3DO.h"
#include "OpenWAV.h"
#include "OrmelApplication.h"

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Game parameters"));
    StartGameSettings();

    TGameParamForm GameParamForm;
    TObjectDialog ObjectDialog(&GameParamForm);
    TWAVDialog WAVDialog(&GameParamForm);
    GameParamForm.WAVDialog = &WAVDialog;

    GameParamForm.show();
    return application.exec();
}
