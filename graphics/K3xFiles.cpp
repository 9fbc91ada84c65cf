#include "K3xFiles.h"

#include "Errors.h"

#include <cerrno>
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
    // One open, one size query and one read: the bank loads read thousands of small images.
    errno = 0;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        throw IoError("Cannot open " + file.string() + ": " + reason());
    std::vector<std::uint8_t> bytes;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    bool ok = !ec;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    }
    const std::string why = ec ? ec.message() : reason();
    std::fclose(in);
    if (!ok)
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
