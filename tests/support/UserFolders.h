#pragma once
// The user's configuration and data folders (QSettings, QStandardPaths::AppDataLocation) moved
// into a fresh temporary folder for the life of a test program, so no test reads or writes the
// real user's. Make it first thing in main(), before the application: Qt takes the folders once.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

class UserFolders {
public:
    UserFolders()
    {
        std::random_device seed;
        root_ = std::filesystem::temp_directory_path() / ("ormel-user-" + std::to_string(seed()) + std::to_string(seed()));
        for (const char* name : {"config", "data", "cache"})
            std::filesystem::create_directories(root_ / name);
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
    }
    ~UserFolders()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};
