// Ormel2, the launcher: works in the current folder, the installation folder of the game.
#include "Ormel2Unit.h"
#include "OrmelApplication.h"

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, QStringLiteral("Ormel 2"));
    TOrmel2Form form;
    form.show();
    return application.exec();
}
