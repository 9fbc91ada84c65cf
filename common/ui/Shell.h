#pragma once
// Starting programs of the suite and opening documents, as the desktop does; the result is not
// examined and nothing is shown when the program or document is missing.
#include <QString>

#include <functional>
#include <string_view>

struct ShellHooks {
    std::function<void(const QString& name)> startProgram; // replaces the lookup and start
    std::function<void(const QString& path)> openDocument; // the resolved document path
};

// Process-wide; tests set them to see what would be started or opened.
ShellHooks& Shell();

// Starts `name` (looked up in the current folder, then beside the running executable) detached,
// with the current folder as its working folder.
void StartProgram(std::string_view name);
bool ProgramExists(std::string_view name);
// Opens the program's help file (prefix_Language.chm, prefix.chm, then the .html forms).
void OpenHelp(std::string_view prefix);
