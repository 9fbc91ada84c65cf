// Ormel2, the launcher: works in the current folder, the installation folder of the game, or in
// the game project folder named on its command line.
#include "CommandLineFolder.h"
#include "Ormel2Entries.h"
#include "Ormel2Unit.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"
#include "Text.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerUsageRequest(Ormel2Usage(), argc, argv))
        return *answered;
    OrmelApplication application(argc, argv, QStringLiteral("Ormel 2"), QStringLiteral("Ormel2"));
    const QStringList refused = EnterFolderOfCommandLine(Ormel2Usage(), application.Arguments());
    TOrmel2Form form;
    form.show();
    ShowRefusedArguments(&form, Ormel2Usage(), refused, EntryOrEnglish(Ormel2Text("RefusedArgument")));
    return application.exec();
}
