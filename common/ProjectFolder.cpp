#include "ProjectFolder.h"

#include "FileResolver.h"

namespace {

// The settings files that mark a project folder: the launcher's and the game's.
constexpr const char* ProjectMarks[] = {"Ormel2.ini", "game.ini"};

bool holdsProjectMark(const std::filesystem::path& folder)
{
    std::error_code ec;
    for (const char* mark : ProjectMarks)
        if (std::filesystem::is_regular_file(ResolvePath(mark, folder), ec))
            return true;
    return false;
}

} // namespace

std::filesystem::path ProjectFolderOf(const std::filesystem::path& file)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(file, ec).lexically_normal();
    if (ec)
        absolute = file;
    const std::filesystem::path own = absolute.parent_path();
    for (std::filesystem::path folder = own;; folder = folder.parent_path()) {
        if (holdsProjectMark(folder))
            return folder;
        if (folder == folder.parent_path())
            return own;
    }
}
