#pragma once
// A file opened from the desktop (a double-click, the command line, a drop) belongs to a game
// project somewhere else than the current folder. The programs work in their current folder,
// and names inside a bank or game.ini are relative to the project folder, so opening such a
// file first makes its project folder current.
#include <filesystem>

// The project folder of `file`: the nearest folder above it (its own folder first) that holds
// Ormel2.ini or game.ini, names matched without regard to case; else the file's own folder.
// A relative `file` is taken from the current folder; the answer is absolute.
std::filesystem::path ProjectFolderOf(const std::filesystem::path& file);
