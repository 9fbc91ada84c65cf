#include "SafeWrite.h"

#include "Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

WriteFaultHook faultHook = nullptr;

std::string reason() { return std::strerror(errno); }

constexpr int MostLinksFollowed = 40; // as the system's own limit on a chain of links

// The file that writing to `path` reaches: a symbolic link (or a chain of them; a relative one
// counts from the link's folder) leads to the file it names, which may not exist yet.
fs::path fileBehindLinks(const fs::path& path, const std::string& name)
{
    fs::path file = path;
    for (int followed = 0; followed < MostLinksFollowed; ++followed) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(file, ec)))
            return file;
        const fs::path next = fs::read_symlink(file, ec);
        if (ec)
            throw IoError("Cannot write " + name + ": " + ec.message());
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    throw IoError("Cannot write " + name + ": " + std::strerror(ELOOP));
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target, FileAccess access)
    : name_(target.string())
    , target_(access == FileAccess::Private ? name_ : fileBehindLinks(target, name_).string())
{
    // An existing file keeps what its owner set up: it is replaced only when the user may write
    // it (as a direct write would be refused), and the new one gets its permissions and owner.
    struct stat existing {};
    const bool exists =
        access == FileAccess::Usual && ::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
        throw IoError("Cannot write " + name_ + ": " + reason());

    fs::path folder = fs::path(target_).parent_path();
    if (folder.empty())
        folder = ".";
    // A hidden name beside the target; mkstemp fills in the Xs.
    std::string hidden(1, '.');
    hidden += fs::path(target_).filename().string();
    hidden += ".XXXXXX";
    temp_ = (folder / hidden).string();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0)
        throw IoError("Cannot write " + name_ + ": " + reason());
    if (access == FileAccess::Private)
        return; // mkstemp made it 0600
    if (exists) {
        // Only a privileged user can give the file to its owner; anyone else owns what they save.
        [[maybe_unused]] const int given = ::fchown(fd_, existing.st_uid, existing.st_gid);
        ::fchmod(fd_, existing.st_mode & 07777);
    } else {
        // mkstemp makes the file private; a new document gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void AtomicFileWriter::fail(const std::string& why)
{
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
    throw IoError("Cannot write " + name_ + ": " + why);
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0)
        throw IoError("Cannot write " + name_ + ": the file was already closed");
    // Carries on after partial writes and interruptions.
    const std::uint8_t* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(reason());
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::Commit(Sync sync)
{
    if (fd_ < 0)
        throw IoError("Cannot write " + name_ + ": the file was already closed");
    if (sync == Sync::ToDisk && ::fsync(fd_) != 0)
        fail(reason());
    if (faultHook && faultHook(name_)) {
        errno = ENOSPC;
        fail(reason());
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
        const std::string why = reason();
        ::unlink(temp_.c_str());
        throw IoError("Cannot write " + name_ + ": " + why);
    }
}

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes, FileAccess access)
{
    AtomicFileWriter file(target, access);
    file.Write(bytes);
    file.Commit();
}

void SetWriteFaultHook(WriteFaultHook hook) { faultHook = hook; }

void WriteFileAtomically(const std::filesystem::path& target, std::string_view text, FileAccess access)
{
    WriteFileAtomically(target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), access);
}
