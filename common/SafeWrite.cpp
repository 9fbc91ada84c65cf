#include "SafeWrite.h"

#include "Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace {

WriteFaultHook faultHook = nullptr;

std::string reason() { return std::strerror(errno); }

// Writes all of the bytes, carrying on after partial writes and interruptions.
bool writeAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
{
    const std::string name = target.string();
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    // A hidden name beside the target; mkstemp fills in the Xs.
    std::string hidden(1, '.');
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temp = (folder / hidden).string();

    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw IoError("Cannot write " + name + ": " + reason());
    // mkstemp makes the file private; a saved document gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    if (written && faultHook && faultHook(target)) {
        errno = ENOSPC;
        written = false;
    }
    const std::string why = written ? std::string() : reason();
    if (::close(fd) != 0 || !written) {
        ::unlink(temp.c_str());
        throw IoError("Cannot write " + name + ": " + (why.empty() ? reason() : why));
    }
    if (std::rename(temp.c_str(), name.c_str()) != 0) {
        const std::string renameWhy = reason();
        ::unlink(temp.c_str());
        throw IoError("Cannot write " + name + ": " + renameWhy);
    }
}

void SetWriteFaultHook(WriteFaultHook hook) { faultHook = hook; }

void WriteFileAtomically(const std::filesystem::path& target, std::string_view text)
{
    WriteFileAtomically(target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
