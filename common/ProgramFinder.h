#pragma once
// Programs are started by bare file name ("Pigmenta.exe", "EDITOR_OGL.EXE") and looked up in a
// list of folders, in order; names are matched without regard to case, and a name ending in
// ".exe" also matches the same name without it (the native executables of this system). Which
// folders are searched is the caller's choice: the suite's own programs never come from a game
// project folder, whose files anyone who handed the project over may have put there.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

std::optional<std::filesystem::path> FindProgram(std::string_view name, const std::vector<std::filesystem::path>& folders);
