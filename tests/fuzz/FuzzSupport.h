#pragma once
// Helpers shared by the fuzz targets.
#include <filesystem>
#include <string>
#include <unistd.h>

// The folder a target works in: one per process, made the current folder on first use. On tmpfs
// when there is one, so that saves cost no disk writes; scripts/fuzz removes it afterwards.
inline const std::filesystem::path& FuzzFolder(const std::string& target)
{
    static const std::filesystem::path folder = [&] {
        const std::filesystem::path shm = "/dev/shm";
        auto path = (std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) /
                    ("ormel-fuzz-" + target + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
        return path;
    }();
    return folder;
}

// Stops the run as a finding when a property that must hold does not.
inline void FuzzCheck(bool holds)
{
    if (!holds)
        __builtin_trap();
}
