#include "NewProject.h"

#include "Errors.h"
#include "FolderContainment.h"
#include "dircpy.h"

#include <random>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isEmptyFolder(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(folder, ec) && fs::is_empty(folder, ec) && !ec;
}

// A name beside `target` that nothing holds yet; dot-led so a desktop hides a leftover one.
fs::path unusedSibling(const fs::path& target)
{
    std::random_device seed;
    for (;;) {
        std::string name = ".";
        name += target.filename().string();
        name += '-';
        name += std::to_string(seed());
        const fs::path candidate = target.parent_path() / name;
        std::error_code ec;
        if (!fs::exists(candidate, ec))
            return candidate;
    }
}

// Copies the tree with the suite's copier; the first problem it reports becomes the error.
void copyTree(const fs::path& source, const fs::path& target)
{
    std::string problem;
    TFileCopyNew copier;
    copier.IncludeSubFolders = true;
    copier.ShowProgressOnMemo = false;
    copier.OnError = [&problem](TFileCopyNew&, const std::string& message) {
        if (problem.empty())
            problem = message;
    };
    copier.SourceFile = (source / "*.*").string();
    copier.TargetFile = (target / "*.*").string();
    if (!ForceFolders(target.string()))
        throw IoError("The folder " + target.string() + " cannot be made");
    copier.Execute();
    if (!problem.empty())
        throw IoError("The game project " + source.string() + " could not be copied: " + problem);
}

} // namespace

std::optional<fs::path> FindProjectTemplate(const fs::path& executableFolder)
{
    for (const fs::path& candidate : {executableFolder / ".." / "share" / "ormel2" / "demo", executableFolder / ".." / "demo"}) {
        std::error_code ec;
        if (fs::is_directory(candidate, ec))
            return fs::weakly_canonical(candidate, ec);
    }
    return std::nullopt;
}

fs::path RunningProgramFolder()
{
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
}

void MakeProjectFolder(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    if (!fs::is_directory(source, ec))
        throw IoError("The game project to copy, " + source.string() + ", is not a folder");
    const fs::path whole = fs::absolute(target, ec);
    const bool reuseEmpty = isEmptyFolder(whole);
    if (fs::exists(whole, ec) && !reuseEmpty)
        throw IoError("The folder " + whole.string() + " already exists and is not empty");
    if (IsSameOrInsideFolder(whole.string(), source.string()))
        throw IoError("The folder " + whole.string() + " lies inside the game project it would copy");
    // Another project's deploy would copy this one along into its game.
    if (const std::optional<fs::path> project = EnclosingGameProject(whole))
        throw IoError("The folder " + whole.string() + " lies inside the game project " + project->string());
    if (!fs::exists(whole.parent_path(), ec) && !ForceFolders(whole.parent_path().string()))
        throw IoError("The folder " + whole.parent_path().string() + " cannot be made");

    const fs::path building = unusedSibling(whole);
    try {
        copyTree(source, building);
        // rename() takes the place of an empty folder at once.
        fs::rename(building, whole);
    } catch (const OrmelError&) {
        DeleteFolder(building.string());
        throw;
    } catch (const fs::filesystem_error& error) {
        DeleteFolder(building.string());
        throw IoError("The folder " + whole.string() + " cannot be made: " + error.code().message());
    }
}
