#pragma once
// Images are named relative to the start folder: the texture bank editor's loads run with it as
// the current folder, and the folder the user was in comes back afterwards.
#include <filesystem>
#include <string>
#include <system_error>

class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::string& folder)
    {
        std::error_code ec;
        previous_ = std::filesystem::current_path(ec);
        std::filesystem::current_path(folder, ec);
    }
    ~CurrentFolderScope()
    {
        std::error_code ec;
        if (!previous_.empty())
            std::filesystem::current_path(previous_, ec);
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::filesystem::path previous_;
};
