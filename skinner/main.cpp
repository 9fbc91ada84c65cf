// Tessaro3D, the 3D object skinning editor: works in the current folder, the installation folder
// of the game, against which texture banks name their images.
#include "CommandLineFolder.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"
#include "Tessaro3DUnit.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerUsageRequest(Tessaro3DUsage(), argc, argv))
        return *answered;
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Habilleur d'objets 3D"), QStringLiteral("Tessaro3D"));
    const QStringList arguments = EnterProjectOfCommandLine(Tessaro3DUsage(), application.Arguments());
    TForm1 form;
    form.show();
    form.Start(arguments);
    return application.exec();
}
