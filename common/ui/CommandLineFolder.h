#pragma once
// The programs that work on a whole game project (Ormel2 [FOLDER], Partiva [FOLDER]) enter the
// folder named on their command line before their window is made, since the window reads its
// settings and dictionary from the current folder.
#include "CommandLine.h"

#include <QStringList>

class QWidget;

// Makes the folder among `arguments` current; the arguments the program does not take.
QStringList EnterFolderOfCommandLine(const ProgramUsage& usage, const QStringList& arguments);

// The editors that open files (Tessaro3D [BANK.def] [OBJECT.3do|MESH.dxf]) enter the game project
// folder of the first file named on their command line before their window is made, for the same
// reason: the window then speaks that project's dictionary. Answers the arguments with the files
// made absolute, as they were named from the folder the program started in.
QStringList EnterProjectOfCommandLine(const ProgramUsage& usage, const QStringList& arguments);

// Tells which arguments were not opened; `text` is the program's DocumentTexts::refusedArgument
// (%1 the arguments, %2 what the program opens). Nothing when none was refused.
void ShowRefusedArguments(QWidget* parent, const ProgramUsage& usage, const QStringList& refused, const QString& text);

// The arguments sorted by kind, as QStrings (one per kind, empty when not given) and the refused.
struct SortedFiles {
    QStringList byKind;
    QStringList refused;
};
SortedFiles SortCommandLine(const ProgramUsage& usage, const QStringList& arguments);
