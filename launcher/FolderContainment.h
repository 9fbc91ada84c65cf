#pragma once
// Which folder holds which: the tests that keep deploy and new projects from writing into a game
// project, into the folder they copy, or over a whole disk. Real folders are compared, so links
// and other spellings of the same folder are caught.
#include <filesystem>
#include <optional>
#include <string>

// True when `folder` is `outer` or lies inside it, comparing the real folders on disk (links
// followed, a relative path taken from the current folder); parts that do not exist yet are
// compared as written.
bool IsSameOrInsideFolder(const std::string& folder, const std::string& outer);

// A file-system root ("/", "C:\"): emptying it would empty the disk.
bool IsFileSystemRoot(const std::filesystem::path& folder);

// A game project is a folder holding a game.ini (any letter case).
bool IsGameProject(const std::filesystem::path& folder);

// The game project that `folder` lies inside: the nearest folder above it (real folders, links
// followed) that is a game project. A folder there is copied along by that project's deploy.
std::optional<std::filesystem::path> EnclosingGameProject(const std::filesystem::path& folder);
