#pragma once
// A fresh folder per test, made the current folder while the test runs (the suite works in its
// current folder), removed afterwards.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

class TempFolder {
public:
    TempFolder()
        : previous_(std::filesystem::current_path())
    {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("ormel-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        // Tests may leave read-only folders behind; give write access back before removing.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec); !ec && it != decltype(it)(); it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(std::string_view name, std::string_view bytes) const
    {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    std::string read(std::string_view name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(std::string_view name) const { return std::filesystem::exists(path_ / name); }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// True when the process can write into folders it has made read-only (root can): tests of
// failed writes skip themselves then.
inline bool WritesIgnorePermissions()
{
    const TempFolder probe;
    std::filesystem::permissions(probe.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool ignored = static_cast<bool>(std::ofstream(probe.path() / "probe"));
    return ignored;
}
