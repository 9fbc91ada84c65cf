#pragma once
// New game project folders. Every program of the suite works in its current folder, so a game
// project is a folder: a new one starts as a copy of the demo game that comes with the suite
// (installed in share/ormel2/demo beside the programs' bin folder, or the build's demo folder).
#include <filesystem>
#include <optional>

// The demo game that new projects copy, looked for from the folder of the running program:
// ../share/ormel2/demo (an installation), then ../demo (a build tree).
std::optional<std::filesystem::path> FindProjectTemplate(const std::filesystem::path& executableFolder);

// The folder of the running program (empty when the system cannot tell).
std::filesystem::path RunningProgramFolder();

// Copies the `source` tree into `target`, which must not exist yet or be an empty folder, and
// must lie neither inside `source` nor inside another game project (FolderContainment.h). The
// copy is made under a temporary name beside `target` and renamed at the end, so a failed copy
// leaves no half-made project. Throws OrmelError naming the folder and the reason.
void MakeProjectFolder(const std::filesystem::path& source, const std::filesystem::path& target);
