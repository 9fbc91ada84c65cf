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
    std::vector<std::filesystem::path> suiteFolders;        // when set, where the suite's programs are
};

// Process-wide; tests set them to see what would be started or opened.
ShellHooks& Shell();

// Where programs are looked for. The suite's own programs (Tessaro3D, Pigmenta, Partiva, k3x)
// come only from the folder of the running program or the installation's program folder: a game
// project folder is data, often handed over by someone else, and a program in it must never run
// as the user. The game's own programs (the level editor, the player) and the tile bank editor,
// installed apart, are looked for in the current (project) folder, then beside the running program.
enum class ProgramKind { OfTheSuite, OfTheGame };
// The folders searched for a kind of program, in that order.
std::vector<std::filesystem::path> ProgramFolders(ProgramKind kind = ProgramKind::OfTheSuite);
// Where `name` is among the folders of its kind; nothing when it is in none.
std::optional<std::filesystem::path> LocateProgram(std::string_view name, ProgramKind kind);
std::optional<std::filesystem::path> FindSuiteProgram(std::string_view name);
bool ProgramExists(std::string_view name, ProgramKind kind);
// Starts `name`, looked up among the folders of its kind, detached, with the current folder as its
// working folder. False, starting nothing, when it is not found.
bool StartProgram(std::string_view name, ProgramKind kind);

// Shows a folder in the desktop's file manager; says `notShown` (%1 the folder) when nothing could.
void OpenFolder(QWidget* parent, const QString& folder, const QString& notShown);

// Opens the program's help file (prefix_Language.chm, prefix.chm, then the .html forms). When
// there is none, or no program shows it, says so with the program's texts: `notOpened` (%1 the
// file) and `missing` (%1 the names looked for).
void OpenHelp(QWidget* parent, std::string_view prefix, const DictionaryEntry& notOpened, const DictionaryEntry& missing);
