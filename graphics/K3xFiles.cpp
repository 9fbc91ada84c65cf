#include "K3xFiles.h"

#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::string reason() { return errno ? std::strerror(errno) : "unknown error"; }

bool seek(std::FILE* file, std::uint64_t offset)
{
    return offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max()) &&
           std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const fs::path& file)
{
    // One open, one size query and one read: a bank load reads many small images.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw IoError("Cannot open " + file.string() + ": " + reason());
    std::vector<std::uint8_t> bytes;
    std::string why;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = reason();
    } else if (!S_ISREG(info.st_mode)) {
        why = "not a file";
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                why = n == 0 ? "the file ended early" : reason();
                break;
            }
            done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    if (!why.empty())
        throw IoError("Cannot read " + file.string() + ": " + why);
    return bytes;
}

bool FileExists(const fs::path& file)
{
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec))
        return false;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        return false;
    std::fclose(in);
    return true;
}

std::vector<std::uint8_t> ReadNamedFile(const std::string& name)
{
    const fs::path path = ResolvePath(name);
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw IoError(name + " is a folder, not a file");
    if (!FileExists(path))
        throw FatalError(name);
    return ReadWholeFile(path);
}

BinaryFile BinaryFile::OpenOrCreate(const fs::path& file)
{
    errno = 0;
    std::FILE* handle = std::fopen(file.c_str(), "r+b");
    if (!handle)
        handle = std::fopen(file.c_str(), "w+b");
    if (!handle)
        throw IoError("Cannot open " + file.string() + ": " + reason());
    std::uint64_t size = 0;
    if (std::fseek(handle, 0, SEEK_END) == 0) {
        const long end = std::ftell(handle);
        size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    return BinaryFile(handle, size);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), size_(other.size_)
{
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        CloseFile();
        file_ = std::exchange(other.file_, nullptr);
        size_ = other.size_;
    }
    return *this;
}

BinaryFile::~BinaryFile() { CloseFile(); }

std::size_t BinaryFile::ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset)
{
    if (!file_ || !seek(file_, offset))
        return 0;
    return std::fread(buffer.data(), 1, buffer.size(), file_);
}

std::size_t BinaryFile::WriteAt(std::span<const std::uint8_t> buffer, std::uint64_t offset)
{
    if (!file_ || !seek(file_, offset))
        return 0;
    return std::fwrite(buffer.data(), 1, buffer.size(), file_);
}

void BinaryFile::CloseFile()
{
    if (file_)
        std::fclose(std::exchange(file_, nullptr));
}
