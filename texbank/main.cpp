// Pigmenta, the texture bank editor: works in the current folder, the installation folder of the
// game, and names every image relative to it.
#include "OrmelApplication.h"
#include "EditorDocument.h"
#include "PigmentaUnit.h"
#include "ProgramUsages.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerUsageRequest(PigmentaUsage(), argc, argv))
        return *answered;
    OrmelApplication application(argc, argv, QStringLiteral("Ormel2 - Texture bank editor"), QStringLiteral("Pigmenta"));
    TMainForm form;
    form.show();
    form.document->Start(PigmentaUsage(), application.Arguments()); // the recovery offer, then the bank named
    return application.exec();
}
