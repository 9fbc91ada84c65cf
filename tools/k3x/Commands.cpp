#include "K3xCommand.h"

// Each command lives in its own file; this table is the one place that lists them.

int RunDeploy(const std::vector<std::string>& words);

const std::vector<K3xCommand>& K3xCommands()
{
    static const std::vector<K3xCommand> commands{
        {"deploy", "deploy TARGET", "copy the game in the current folder into TARGET without the tools", RunDeploy},
    };
    return commands;
}
