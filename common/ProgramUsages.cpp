#include "ProgramUsages.h"

namespace {

const char* const FolderNote =
    "Every program of the suite works in its current folder, the game project folder: it holds the\n"
    "settings (Ormel2.ini, game.ini), the dictionaries of every program and the game's data.";

const char* const FileNote =
    "A file opened from elsewhere makes its game project folder current: the nearest folder above\n"
    "it that holds Ormel2.ini or game.ini, else its own folder.";

} // namespace

const ProgramUsage& Ormel2Usage()
{
    static const ProgramUsage usage{
        "Ormel2", "[FOLDER]", "The launcher of the Ormel 2 game making suite.",
        std::string("Starts the tools on a game project, chooses the rendering mode and the interface language\n"
                    "of every program, opens help, and deploys the finished game. With FOLDER, the launcher works\n"
                    "in that game project folder, else in the current folder.\n\n") + FolderNote,
        {{}}};
    return usage;
}

const std::vector<std::string>& ModelExtensions()
{
    static const std::vector<std::string> extensions{".obj", ".stl", ".ply", ".gltf", ".glb", ".fbx", ".dae", ".3ds", ".dxf"};
    return extensions;
}

const ProgramUsage& Tessaro3DUsage()
{
    static const ProgramUsage usage = [] {
        std::vector<std::string> objects{".3do"};
        objects.insert(objects.end(), ModelExtensions().begin(), ModelExtensions().end());
        return ProgramUsage{
            "Tessaro3D", "[BANK.def] [OBJECT.3do|MODEL]", "The 3D object skinning editor of the Ormel 2 suite.",
            std::string("Gives every face of a 3D object its texture or colour, type, sides and transparency, shown\n"
                        "by its own software renderer. Opens the texture bank BANK.def (without asking for one at\n"
                        "start) and the object OBJECT.3do, or imports MODEL, a model of another format (OBJ, STL,\n"
                        "PLY, glTF, FBX, Collada, 3DS or DXF), as File, Import model does.\n\n") + FileNote,
            {ArgumentKind{{".def"}}, ArgumentKind{objects}}};
    }();
    return usage;
}

const ProgramUsage& PigmentaUsage()
{
    static const ProgramUsage usage{
        "Pigmenta", "[BANK.def]", "The texture bank editor of the Ormel 2 suite.",
        std::string("Collects 128 x 128 PCX images into numbered slots of a texture bank, defines animated\n"
                    "textures as runs of slots, and saves the bank as a .def file. Opens BANK.def when given.\n\n") +
            FileNote,
        {{{".def"}}}};
    return usage;
}

const ProgramUsage& PartivaUsage()
{
    static const ProgramUsage usage{
        "Partiva", "[FOLDER]", "The game parameters editor of the Ormel 2 suite.",
        std::string("Edits game.ini: the game's title, sounds with preview, camera limits, start level, help\n"
                    "file, on-screen display layout, videos, music and fonts. With FOLDER, edits the game.ini\n"
                    "of that game project folder, else of the current folder.\n\n") + FolderNote,
        {{}}};
    return usage;
}
