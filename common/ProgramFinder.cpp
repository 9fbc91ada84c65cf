#include "ProgramFinder.h"

#include "FileResolver.h"

#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A file that can be started here: on POSIX systems it must carry an execute bit, so that a
// Windows build lying in the folder does not hide the native one beside the launcher.
bool isStartable(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::is_regular_file(status))
        return false;
#ifdef _WIN32
    return true;
#else
    constexpr fs::perms anyExec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & anyExec) != fs::perms::none;
#endif
}

} // namespace

std::optional<fs::path> FindProgram(std::string_view name, const std::vector<fs::path>& folders)
{
    std::vector<std::string_view> spellings{name};
    if (name.size() > 4 && SameNameIgnoringCase(name.substr(name.size() - 4), ".exe"))
        spellings.push_back(name.substr(0, name.size() - 4));

    for (const fs::path& folder : folders) {
        if (folder.empty())
            continue;
        for (std::string_view spelling : spellings) {
            const fs::path candidate = ResolvePath(spelling, folder);
            std::error_code ec;
            if (isStartable(candidate))
                return fs::absolute(candidate, ec);
        }
    }
    return std::nullopt;
}
