#pragma once
// The launcher's dictionary entries (Ormel2.dic), one row each: number, name in the code, use,
// English text. New texts of the launcher are added here as rows.
#include "DictionaryEntries.h"
#include "DialogEntries.h"
#include "DocumentEntries.h"

inline constexpr DictionaryEntry Ormel2Entries[] = {
    {0, "File1", "File menu", "&File"},
    {1, "Quit1", "File menu: Quit", "&Quit"},
    {2, "Options1", "Options menu", "&Options"},
    {3, "RendererMenu", "Options menu: rendering mode submenu", "Level editor && game rendering mode"},
    {4, "LanguageMenu", "Options menu: language submenu", "&Language"},
    {5, "Help1", "Help menu item", "&Help"},
    {6, "Caption", "window caption, before \" - \" and the game title", "Ormel 2"},
    {7, "Tessaro3DButton", "button starting the 3D object skinning editor", "3D object skinning"},
    {8, "TextureButton", "button starting the texture bank editor", "Texture banks"},
    {9, "TileButton", "button starting the tile bank editor", "Tile banks"},
    {10, "LevelButton", "button starting the level editor", "Level editor"},
    {11, "PartivaButton", "button starting the game parameters editor", "Game parameters"},
    {12, "TestGameButton", "button starting the game player", "Test the game"},
    {13, "DeployButton", "button deploying the game", "Deploy the game"},
    {14, "DeployCaption", "caption of the deploy folder question and of its progress window", "Deploy the game"},
    {15, "DeployPrompt", "prompt of the deploy folder question", "Folder to deploy the game into:"},
    {16, "Deployed", "message when the deployment has finished", "The game has been deployed."},
    {17, "UnsafeDeployTarget", "message refusing a deploy folder",
     "This folder cannot receive the game: it is the project folder, one of the folders that hold it, a folder "
     "inside it, or the root of a disk."},
    {18, "NotCopied", "deploy's closing message: heading of the files not copied", "These files could not be copied:"},
    {19, "NotRemoved", "deploy's closing message: heading of the files not removed",
     "These files could not be removed:"},
    {20, "ProgramMissing", "message of a button whose program is missing (%1 the program), before the folders",
     "The program %1 was not found. It was looked for in these folders:"},
    {21, "SeparatePrograms", "added to that message for the tile bank editor, the level editor and the player",
     "The tile bank editor, the level editor and the game player are programs of their own: install them into "
     "the game folder."},
    {22, "HelpNotOpened", "message when no program could show the help file (%1 the file)",
     "The help file %1 could not be opened: no program to show it was found."},
    {23, "HelpMissing", "message when there is no help file (%1 the names looked for)",
     "There is no help file: %1 was looked for."},
    {30, "NotADeployFolder", "message refusing a deploy target that is not a folder, before its path",
     "This is not a folder; nothing was changed:"},
    {31, "DeployInsideProject", "message refusing a deploy folder inside another game project, before that project's path",
     "This folder lies inside another game project, whose deploy would copy it along:"},
    {32, "EmptyOtherFolder", "question before deploy empties a folder that is not a deployed game, before its path",
     "This folder holds files and is not a deployed game. Delete everything in it and deploy the game there?"},
    {33, "DeployedInto", "deploy's closing message: heading of the folder the game went into",
     "The game is in the folder:"},
    {34, "SpecialFilesLeftOut", "deploy's closing message: heading of the pipes, sockets and devices left out",
     "These special files (pipes, sockets, devices) were left out:"},
    {35, "RepeatedFoldersLeftOut", "deploy's closing message: heading of the linked folders left out",
     "These linked folders lead to folders copied already and were left out:"},
    DocumentEntry("RefusedArgument", 40),
    DialogEntry("Yes", 41),
    DialogEntry("No", 42),
    DialogEntry("OK", 43),
    DocumentEntry("Cancel", 44),
};
static_assert(IsWellFormed(Ormel2Entries));

consteval const DictionaryEntry& Ormel2Text(std::string_view name) { return EntryNamed(Ormel2Entries, name); }
