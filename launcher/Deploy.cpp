#include "Deploy.h"

#include "FileResolver.h"
#include "FolderContainment.h"
#include "Ormel2Entries.h"
#include "WildcardMask.h"

#include <algorithm>
#include <span>
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

// A listed name or mask matches an entry of the target without regard to case; "NAME.EXE" also
// matches "NAME", the form our own programs take on systems without ".exe".
bool matchesListedFile(std::string_view entry, std::string_view listed)
{
    constexpr std::string_view exe = ".EXE";
    if (MatchesMask(entry, listed))
        return true;
    return listed.size() > exe.size() && HasExtension(listed, exe) &&
           MatchesMask(entry, listed.substr(0, listed.size() - exe.size()));
}

bool listedIn(std::span<const std::string_view> list, std::string_view name,
              bool (*matches)(std::string_view, std::string_view))
{
    return std::ranges::any_of(list, [&](std::string_view listed) { return matches(name, listed); });
}

std::vector<fs::directory_entry> topEntries(const fs::path& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    return entries;
}

// The removal rules, written once: whether deploy takes this entry of the target away. `top`
// marks the entries of the target's own folder. The listed folders are the real ones or links
// to folders; the listed names and kinds never take a real folder.
bool leftOut(const fs::directory_entry& entry, bool top)
{
    const std::string name = entry.path().filename().string();
    std::error_code ec;
    if (top && entry.is_directory(ec) && listedIn(DeployRemovedFolders, name, SameNameIgnoringCase))
        return true;
    if (isRealFolder(entry))
        return false;
    if (top && (listedIn(DeployRemovedFiles, name, matchesListedFile) ||
                listedIn(DeployRemovedHelpPages, name, matchesListedFile)))
        return true;
    return listedIn(DeployPurgedExtensions, name, HasExtension);
}

// Every entry of the target that the rules take away: what is removed, and after the removal
// what could not be. A listed folder counts as one entry and is not entered.
std::vector<fs::directory_entry> leftOutEntries(const fs::path& target)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(target, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (!leftOut(*it, it.depth() == 0))
            continue;
        entries.push_back(*it);
        if (isRealFolder(*it))
            it.disable_recursion_pending();
    }
    return entries;
}

void removeEntries(const std::vector<fs::directory_entry>& entries)
{
    TFileCopyNew deleter;
    for (const fs::directory_entry& entry : entries) {
        if (isRealFolder(entry))
            DeleteFolder(entry.path().string());
        else
            deleter.DeleteOneFile(entry.path().string()); // a link goes as a link; a failure is skipped
    }
}

// The copier breaks its messages into lines with CR; a failure is listed on one line.
std::string oneLine(const std::string& message)
{
    std::string line;
    for (char c : message)
        if (c != '\r')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    return line;
}

// A name the copier gave, as the user knows it: relative to the project folder.
std::string inProject(const std::string& name) { return name.starts_with("./") ? name.substr(2) : name; }

// The refusal in English (the launcher's own texts, as its dictionary's table gives them).
std::string refusal(DeployTargetKind kind, const fs::path& folder)
{
    const auto english = [](const DictionaryEntry& entry) { return std::string(entry.english); };
    switch (kind) {
    case DeployTargetKind::NotAFolder:
        return english(Ormel2Text("NotADeployFolder")) + " " + folder.string();
    case DeployTargetKind::InsideProject:
        return english(Ormel2Text("DeployInsideProject")) + " " + EnclosingGameProject(folder).value_or(folder).string();
    case DeployTargetKind::OtherFolder:
        return folder.string() + ": this folder holds files and is not a deployed game (no game.ini, or files "
                                 "that deploy leaves out); nothing was changed";
    default:
        return folder.string() + ": " + english(Ormel2Text("UnsafeDeployTarget"));
    }
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

DeployTargetKind ExamineDeployTarget(const fs::path& target)
{
    const fs::path real = DeployTargetPath(target.string());
    const std::string here = fs::current_path().string();
    if (IsFileSystemRoot(real) || IsSameOrInsideFolder(real.string(), here) || IsSameOrInsideFolder(here, real.string()))
        return DeployTargetKind::Unsafe;
    if (EnclosingGameProject(real))
        return DeployTargetKind::InsideProject;
    std::error_code ec;
    // The entry itself, not what a link leads to: a link leading nowhere is no folder either.
    const fs::file_status entry = fs::symlink_status(real, ec);
    if (!fs::exists(entry))
        return DeployTargetKind::New;
    if (!fs::is_directory(real, ec))
        return DeployTargetKind::NotAFolder;
    if (fs::is_empty(real, ec) && !ec)
        return DeployTargetKind::Empty;
    // A game project holds a game.ini too, beside the tools and settings that deploy leaves out.
    const bool deployed = IsGameProject(real) && std::ranges::none_of(topEntries(real), [](const fs::directory_entry& entry) {
        return leftOut(entry, true);
    });
    return deployed ? DeployTargetKind::EarlierDeploy : DeployTargetKind::OtherFolder;
}

DeployCounts DeployGame(const fs::path& target, OtherFolderConsent consent, const TCopyProgressEvent& onProgress)
{
    const fs::path folder = DeployTargetPath(target.string());
    const DeployTargetKind kind = ExamineDeployTarget(folder);
    const bool refused = kind == DeployTargetKind::Unsafe || kind == DeployTargetKind::InsideProject ||
                         kind == DeployTargetKind::NotAFolder ||
                         (kind == DeployTargetKind::OtherFolder && consent != OtherFolderConsent::Empty);
    if (refused)
        throw RefusedDeployTarget(kind, refusal(kind, folder));
    const std::string text = folder.string();

    DeployCounts counts;
    counts.target = folder;
    DeleteFolder(text);
    // Files the emptying could not take are not part of the game: they are named at the end
    // unless the copy replaced them.
    std::vector<fs::path> notRemoved;
    for (const fs::path& file : filesIn(folder)) {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(file.lexically_relative(folder), ec)))
            notRemoved.push_back(file);
    }
    TCopyEvents events;
    events.OnCopyProgress = onProgress;
    events.OnError = [&counts](TFileCopyNew&, const std::string& message) {
        counts.failures.push_back(oneLine(message));
    };
    events.OnSkipped = [&counts](TFileCopyNew&, const std::string& name, TSkipReason why) {
        (why == TSkipReason::SpecialFile ? counts.specialFiles : counts.repeatedFolders).push_back(inProject(name));
    };
    CopyFolder(".", text, events);
    counts.copied = filesIn(folder).size();
    removeEntries(leftOutEntries(folder));
    const std::vector<fs::path> left = filesIn(folder);
    counts.removed = counts.copied > left.size() ? counts.copied - left.size() : 0;
    counts.files = left.size();
    for (const fs::path& file : left) {
        std::error_code ec;
        const std::uintmax_t size = fs::is_regular_file(fs::symlink_status(file, ec)) ? fs::file_size(file, ec) : 0;
        counts.bytes += ec ? 0 : size;
    }
    for (const fs::directory_entry& entry : leftOutEntries(folder))
        notRemoved.push_back(entry.path());
    std::ranges::sort(notRemoved);
    const auto [first, last] = std::ranges::unique(notRemoved);
    notRemoved.erase(first, last);
    for (const fs::path& file : notRemoved)
        counts.notRemoved.push_back(file.string());
    return counts;
}
