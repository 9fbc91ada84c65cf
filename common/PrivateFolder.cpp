#include "PrivateFolder.h"

#include "Errors.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr mode_t PrivateMode = 0700;

// One folder on the way: made private when missing, then checked as it is on the disk (lstat, so
// a link is seen as a link and never followed).
void makeOne(const fs::path& folder, bool check)
{
    if (::mkdir(folder.c_str(), PrivateMode) != 0 && errno != EEXIST)
        throw IoError("Cannot make the folder " + folder.string() + ": " + std::strerror(errno));
    if (!check)
        return;
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0)
        throw IoError("Cannot use the folder " + folder.string() + ": " + std::strerror(errno));
    if (S_ISLNK(status.st_mode))
        throw IoError("The folder " + folder.string() + " is a symbolic link; nothing private is written there.");
    if (!S_ISDIR(status.st_mode))
        throw IoError("Cannot use the folder " + folder.string() + ": it is not a folder.");
    if (status.st_uid != ::geteuid())
        throw IoError("The folder " + folder.string() + " belongs to another user; nothing private is written there.");
    if ((status.st_mode & 07777) != PrivateMode && ::chmod(folder.c_str(), PrivateMode) != 0)
        throw IoError("Cannot make the folder " + folder.string() + " private: " + std::strerror(errno));
}

} // namespace

void MakePrivateFolder(const fs::path& folder, const fs::path& checkedFrom)
{
    const fs::path target = folder.lexically_normal();
    const fs::path top = checkedFrom.lexically_normal();
    fs::path walked;
    bool checking = false;
    for (const fs::path& part : target) {
        walked /= part;
        if (part.empty() || walked == walked.root_path())
            continue;
        checking = checking || walked == top;
        makeOne(walked, checking);
    }
}
