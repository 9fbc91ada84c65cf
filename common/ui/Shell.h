#pragma once
// Starting programs of the suite and opening documents, as the desktop does. What does not
// happen is told: a program that is not there, a help file no program can show.
#include "DictionaryEntries.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QWidget;

struct ShellHooks {
    std::function<void(const QString& name)> startProgram; // replaces the lookup and start
    std::function<bool(const QString& path)> openDocument; // the resolved document path; false: not shown
};

// Process-wide; tests set them to see what would be started or opened.
ShellHooks& Shell();

// Starts `name` (looked up in the current folder, then beside the running executable) detached,
// with the current folder as its working folder. False, starting nothing, when it is not found.
bool StartProgram(std::string_view name);
bool ProgramExists(std::string_view name);
// Where `name` is, looked up as StartProgram does; nothing when it is in neither folder.
std::optional<std::filesystem::path> FindSuiteProgram(std::string_view name);
// The folders StartProgram looks in, in that order.
std::vector<std::filesystem::path> ProgramFolders();

// Opens the program's help file (prefix_Language.chm, prefix.chm, then the .html forms). When
// there is none, or no program shows it, says so with the program's texts: `notOpened` (%1 the
// file) and `missing` (%1 the names looked for).
void OpenHelp(QWidget* parent, std::string_view prefix, const DictionaryEntry& notOpened, const DictionaryEntry& missing);
