#include "Deploy.h"

#include "FileResolver.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isRealFolder(const fs::directory_entry& entry)
{
    std::error_code ec;
    return entry.is_directory(ec) && !entry.is_symlink(ec);
}

// Every file below `folder`, links counted as files and never entered.
std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec))
        if (!isRealFolder(*it))
            files.push_back(it->path());
    return files;
}

// A listed name matches an entry of the target without regard to case; "NAME.EXE" also
// matches "NAME".
bool matchesListedFile(std::string_view entry, std::string_view listed)
{
    constexpr std::string_view exe = ".EXE";
    if (SameNameIgnoringCase(entry, listed))
        return true;
    return listed.size() > exe.size() && SameNameIgnoringCase(listed.substr(listed.size() - exe.size()), exe) &&
           SameNameIgnoringCase(entry, listed.substr(0, listed.size() - exe.size()));
}

std::vector<fs::directory_entry> topEntries(const fs::path& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    return entries;
}

void removeListedFolder(const fs::path& target, std::string_view listed)
{
    for (const fs::directory_entry& entry : topEntries(target)) {
        if (!SameNameIgnoringCase(entry.path().filename().string(), listed))
            continue;
        std::error_code ec;
        if (isRealFolder(entry))
            DeleteFolder(entry.path().string());
        else if (entry.is_symlink(ec) && entry.is_directory(ec))
            fs::remove(entry.path(), ec); // a link: what it leads to is not ours to delete
    }
}

void removeListedFile(const fs::path& target, std::string_view listed)
{
    TFileCopyNew deleter;
    for (const fs::directory_entry& entry : topEntries(target))
        if (matchesListedFile(entry.path().filename().string(), listed))
            deleter.DeleteOneFile(entry.path().string()); // folders are left alone; a failure is skipped
}

bool isListedFolder(const fs::directory_entry& entry)
{
    std::error_code ec;
    return entry.is_directory(ec) &&
           std::ranges::any_of(DeployRemovedFolders, [&entry](std::string_view listed) {
               return SameNameIgnoringCase(entry.path().filename().string(), listed);
           });
}

bool isListedFile(const fs::directory_entry& entry)
{
    return !isRealFolder(entry) && std::ranges::any_of(DeployRemovedFiles, [&entry](std::string_view listed) {
               return matchesListedFile(entry.path().filename().string(), listed);
           });
}

bool isPurgedKind(const fs::path& file)
{
    const std::string name = file.filename().string();
    return std::ranges::any_of(DeployPurgedExtensions, [&name](std::string_view extension) {
        return HasExtension(name, std::string(extension));
    });
}

// What the removal steps should have taken and is still in the target, whose files are `files`.
std::vector<fs::path> listedLeftovers(const fs::path& target, const std::vector<fs::path>& files)
{
    std::vector<fs::path> left;
    for (const fs::directory_entry& entry : topEntries(target))
        if (isListedFolder(entry) || isListedFile(entry))
            left.push_back(entry.path());
    for (const fs::path& file : files)
        if (isPurgedKind(file))
            left.push_back(file);
    return left;
}

} // namespace

fs::path DefaultDeployTarget()
{
#ifdef _WIN32
    return fs::path("C:\\REDIST");
#else
    return fs::current_path().parent_path() / "REDIST";
#endif
}

fs::path DeployTargetPath(std::string_view typed)
{
    // The real folder, so that the checks and the copy see one and the same path.
    const fs::path written = typed.empty() ? fs::current_path() : fs::absolute(fs::path(typed));
    std::error_code ec;
    fs::path real = fs::weakly_canonical(written, ec);
    return ec ? written : real;
}

bool IsUnsafeDeployTarget(const fs::path& target)
{
    const fs::path real = DeployTargetPath(target.string());
    if (!real.has_relative_path())
        return true;
    const std::string here = fs::current_path().string();
    return IsSameOrInsideFolder(real.string(), here) || IsSameOrInsideFolder(here, real.string());
}

DeployCounts DeployGame(const fs::path& target, const TCopyProgressEvent& onProgress)
{
    const fs::path folder = DeployTargetPath(target.string());
    if (IsUnsafeDeployTarget(folder))
        throw UnsafeDeployTarget(folder.string() + ": " + UnsafeDeployTargetMessage);
    const std::string text = folder.string();

    DeployCounts counts;
    DeleteFolder(text);
    // Files the emptying could not take are not part of the game: they are named at the end
    // unless the copy replaced them.
    std::vector<fs::path> notRemoved;
    for (const fs::path& file : filesIn(folder)) {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(file.lexically_relative(folder), ec)))
            notRemoved.push_back(file);
    }
    // The copier breaks its messages into lines with CR; a failure is listed on one line.
    CopyFolder(".", text, onProgress, [&counts](TFileCopyNew&, const std::string& message) {
        std::string line;
        for (char c : message)
            if (c != '\r')
                line += c;
            else if (!line.empty() && line.back() != ' ')
                line += ' ';
        counts.failures.push_back(line);
    });
    counts.copied = filesIn(folder).size();
    for (std::string_view name : DeployRemovedFolders)
        removeListedFolder(folder, name);
    for (std::string_view extension : DeployPurgedExtensions)
        PurgeExtension(text, std::string(extension));
    for (std::string_view name : DeployRemovedFiles)
        removeListedFile(folder, name);
    const std::vector<fs::path> left = filesIn(folder);
    counts.removed = counts.copied > left.size() ? counts.copied - left.size() : 0;
    std::ranges::copy(listedLeftovers(folder, left), std::back_inserter(notRemoved));
    std::ranges::sort(notRemoved);
    const auto [first, last] = std::ranges::unique(notRemoved);
    notRemoved.erase(first, last);
    for (const fs::path& file : notRemoved)
        counts.notRemoved.push_back(file.string());
    return counts;
}
