#pragma once
// What each program of the suite takes on its command line: the files or folder it opens when a
// user starts it from a terminal or the desktop opens a file with it, and --help and --version,
// answered before any window (the manual pages are made from --help).
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One argument a program takes, known by its extension ("BANK.def": .def), or a folder when no
// extension is listed.
struct ArgumentKind {
    std::vector<std::string> extensions; // with the dot, any letter case matches; empty: a folder
};

struct ProgramUsage {
    std::string name;        // the command: "Tessaro3D"
    std::string arguments;   // as the usage line shows them: "[BANK.def] [OBJECT.3do|MESH.dxf]"
    std::string summary;     // one line: what the program is
    std::string description; // a paragraph or two for --help and the manual page
    std::vector<ArgumentKind> kinds;
};

// The suite's version, shown by --version.
const char* SuiteVersion();

// Answers -h/--help (usage on `out`) and --version; the exit status then, nothing when the
// program should start.
std::optional<int> AnswerUsageRequest(const ProgramUsage& usage, const std::vector<std::string>& arguments,
                                      std::FILE* out);
// The same for main(), on standard output: every program's first line.
std::optional<int> AnswerUsageRequest(const ProgramUsage& usage, int argc, char** argv);

// The arguments sorted by kind: one path per kind of the usage (empty when not given), and the
// arguments the program does not take (an unknown kind, a second file of one kind, a folder that
// is not one, an option), in the order given.
struct SortedArguments {
    std::vector<std::filesystem::path> byKind;
    std::vector<std::string> refused;
};
SortedArguments SortArguments(const ProgramUsage& usage, const std::vector<std::string>& arguments);
