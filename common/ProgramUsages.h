#pragma once
// The command line of each program of the suite: what --help says (and the manual pages made
// from it), and the files or folder each opens when started with them.
#include "CommandLine.h"

const ProgramUsage& Ormel2Usage();    // Ormel2 [FOLDER]
const ProgramUsage& Tessaro3DUsage(); // Tessaro3D [BANK.def] [OBJECT.3do|MODEL]
const ProgramUsage& PigmentaUsage();  // Pigmenta [BANK.def]
const ProgramUsage& PartivaUsage();   // Partiva [FOLDER]

// The models of other formats that Tessaro3D imports (through its model importer, k3x
// import-mesh), by extension with the dot, DXF drawings among them.
const std::vector<std::string>& ModelExtensions();
