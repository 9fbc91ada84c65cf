#pragma once
// Small file helpers of the graphics library: whole-file reads for the format readers, and a
// binary file read and written in blocks at absolute offsets.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The whole file; IoError naming the file when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file);

// True when `file` names a regular file that can be opened for reading (false for an empty name).
bool FileExists(const std::filesystem::path& file);

// The whole of a file named by the user or by a data file, found without regard to letter case:
// FatalError when nothing is there, an IoError naming it when it is a folder or cannot be read.
std::vector<std::uint8_t> ReadNamedFile(const std::string& name);

// A file opened for reading and writing, closed when the object goes (CloseFile).
class BinaryFile {
public:
    // Opens an existing file without shortening it, or creates it empty. IoError when neither works.
    static BinaryFile OpenOrCreate(const std::filesystem::path& file);

    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    ~BinaryFile();

    std::uint64_t size() const { return size_; } // length when opened
    // Both answer the number of bytes moved; fewer than asked past the end or on an error.
    std::size_t ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset);
    std::size_t WriteAt(std::span<const std::uint8_t> buffer, std::uint64_t offset);
    void CloseFile();

private:
    BinaryFile(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};
