// k3x deploy TARGET: the launcher's deploy without its window, from the current folder.
#include "Deploy.h"
#include "K3xCommand.h"

#include <cstdio>

int RunDeploy(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {});
    if (args.positional.size() != 1)
        throw UsageError("expected one target folder, got " + std::to_string(args.positional.size()));
    const std::filesystem::path target = DeployTargetPath(args.positional[0]);
    const DeployCounts counts = DeployGame(target);
    std::printf("deployed into %s: %zu file%s copied, %zu removed\n", target.string().c_str(), counts.copied,
                counts.copied == 1 ? "" : "s", counts.removed);
    for (const std::string& failure : counts.failures)
        std::fprintf(stderr, "not copied: %s\n", failure.c_str());
    for (const std::string& file : counts.notRemoved)
        std::fprintf(stderr, "not removed: %s\n", file.c_str());
    return counts.failures.empty() && counts.notRemoved.empty() ? 0 : 1;
}
