// k3x deploy TARGET [--force]: the launcher's deploy without its window, from the current folder.
#include "Deploy.h"
#include "K3xCommand.h"

#include <cstdio>

namespace {

void list(const char* heading, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::fprintf(stderr, "%s: %s\n", heading, line.c_str());
}

} // namespace

int RunDeploy(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {}, {"force"});
    if (args.positional.size() != 1)
        throw UsageError("expected one target folder, got " + std::to_string(args.positional.size()));
    const std::filesystem::path target = DeployTargetPath(args.positional[0]);
    // A folder with files that is not an earlier deploy is emptied only when the user says so,
    // as the launcher asks before it.
    const OtherFolderConsent consent = args.has("force") ? OtherFolderConsent::Empty : OtherFolderConsent::Refuse;
    DeployCounts counts;
    try {
        counts = DeployGame(target, consent);
    } catch (const RefusedDeployTarget& refused) {
        if (refused.kind != DeployTargetKind::OtherFolder)
            throw;
        throw OrmelError(std::string(refused.what()) + " (--force empties it)");
    }
    std::printf("deployed into %s: %zu file%s copied, %zu removed\n", counts.target.string().c_str(), counts.copied,
                counts.copied == 1 ? "" : "s", counts.removed);
    list("not copied", counts.failures);
    list("not removed", counts.notRemoved);
    list("skipped, a pipe, socket or device", counts.specialFiles);
    list("skipped, a linked folder leading to one copied already", counts.repeatedFolders);
    return counts.failures.empty() && counts.notRemoved.empty() ? 0 : 1;
}
