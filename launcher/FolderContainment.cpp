#include "FolderContainment.h"

#include "FileResolver.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path realFolder(const fs::path& folder, std::error_code& ec)
{
    return fs::weakly_canonical(fs::absolute(folder.empty() ? fs::path(".") : folder, ec), ec);
}

} // namespace

bool IsSameOrInsideFolder(const std::string& folder, const std::string& outer)
{
    std::error_code ec;
    const fs::path real = realFolder(folder, ec);
    if (ec)
        return false;
    const fs::path container = outer.empty() ? fs::path(".") : fs::path(outer);
    if (!fs::exists(container, ec)) {
        // Nothing on disk to compare with: compare the written paths component by component.
        const fs::path written = realFolder(container, ec);
        const auto [end, unused] = std::mismatch(written.begin(), written.end(), real.begin(), real.end());
        return end == written.end();
    }
    for (fs::path p = real;; p = p.parent_path()) {
        if (fs::equivalent(p, container, ec))
            return true;
        if (p == p.parent_path() || p.empty())
            return false;
    }
}

bool IsFileSystemRoot(const fs::path& folder) { return !folder.has_relative_path(); }

bool IsGameProject(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_regular_file(ResolvePath("game.ini", folder), ec);
}

std::optional<fs::path> EnclosingGameProject(const fs::path& folder)
{
    std::error_code ec;
    const fs::path real = realFolder(folder, ec);
    if (ec)
        return std::nullopt;
    for (fs::path p = real.parent_path(); !p.empty(); p = p.parent_path()) {
        if (IsGameProject(p))
            return p;
        if (IsFileSystemRoot(p))
            break;
    }
    return std::nullopt;
}
