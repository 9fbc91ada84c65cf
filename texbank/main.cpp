// Pigmenta, the texture bank editor: works in the current folder, the installation folder of the
// game, and names every image relative to it.
#include "OrmelApplication.h"
#include "PigmentaUnit.h"

int main(int argc, char** argv)
{
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Texture bank editor"));
    TMainForm form;
    form.show();
    return application.exec();
}
