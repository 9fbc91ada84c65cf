#pragma once
// Programs of the suite are started by bare file name ("Pigmenta.exe", "EDITOR_OGL.EXE").
// The name is looked up in the current folder first, then in the folder of the running
// executable; names are matched without regard to case, and a name ending in ".exe" also
// matches the same name without it (the native executables of this system).
#include <filesystem>
#include <optional>
#include <string_view>

std::optional<std::filesystem::path> FindProgram(std::string_view name, const std::filesystem::path& currentFolder,
                                                 const std::filesystem::path& executableFolder);
