// k3x new-project DIR [--from FOLDER]: makes a new game project folder, a copy of the demo game
// that comes with the suite (or of FOLDER). Start the launcher inside it.
#include "K3xCommand.h"

#include "Errors.h"
#include "NewProject.h"

#include <cstdio>

int RunNewProject(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"from"});
    if (args.positional.size() != 1)
        throw UsageError("expected one folder, got " + std::to_string(args.positional.size()));
    std::filesystem::path source = args.option("from");
    if (source.empty()) {
        const auto demo = FindProjectTemplate(RunningProgramFolder());
        if (!demo)
            throw IoError("The demo game is not installed beside k3x (share/ormel2/demo); name one with --from");
        source = *demo;
    }
    const std::filesystem::path target = std::filesystem::absolute(args.positional[0]);
    MakeProjectFolder(source, target);
    std::printf("made the game project %s from %s\n", target.string().c_str(), source.string().c_str());
    return 0;
}
