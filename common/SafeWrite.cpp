#include "SafeWrite.h"

#include "Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteFaultHook faultHook = nullptr;

std::string reason() { return std::strerror(errno); }

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target)
    : target_(target.string())
{
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    // A hidden name beside the target; mkstemp fills in the Xs.
    std::string hidden(1, '.');
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    temp_ = (folder / hidden).string();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0)
        throw IoError("Cannot write " + target_ + ": " + reason());
    // mkstemp makes the file private; a saved document gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
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
    throw IoError("Cannot write " + target_ + ": " + why);
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0)
        throw IoError("Cannot write " + target_ + ": the file was already closed");
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
        throw IoError("Cannot write " + target_ + ": the file was already closed");
    if (sync == Sync::ToDisk && ::fsync(fd_) != 0)
        fail(reason());
    if (faultHook && faultHook(target_)) {
        errno = ENOSPC;
        fail(reason());
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
        const std::string why = reason();
        ::unlink(temp_.c_str());
        throw IoError("Cannot write " + target_ + ": " + why);
    }
}

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
{
    AtomicFileWriter file(target);
    file.Write(bytes);
    file.Commit();
}

void SetWriteFaultHook(WriteFaultHook hook) { faultHook = hook; }

void WriteFileAtomically(const std::filesystem::path& target, std::string_view text)
{
    WriteFileAtomically(target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
