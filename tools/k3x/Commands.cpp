#include "K3xCommand.h"

// Each command lives in its own file; this table is the one place that lists them.

const std::vector<K3xCommand>& K3xCommands()
{
    static const std::vector<K3xCommand> commands{
    };
    return commands;
}
