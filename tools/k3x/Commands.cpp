#include "K3xCommand.h"

// Each command lives in its own file; this table is the one place that lists them.

int RunPcx(const std::vector<std::string>& words);
int RunBlend(const std::vector<std::string>& words);
int RunDeploy(const std::vector<std::string>& words);
int RunRender(const std::vector<std::string>& words);
int RunDxf(const std::vector<std::string>& words);
int RunInfo(const std::vector<std::string>& words);
int RunCheck(const std::vector<std::string>& words);
int RunNewProject(const std::vector<std::string>& words);
int RunTool(const std::vector<std::string>& words);
int RunImportImage(const std::vector<std::string>& words);
int RunImportMesh(const std::vector<std::string>& words);
int RunBank(const std::vector<std::string>& words);
int RunSkin(const std::vector<std::string>& words);

const std::vector<K3xCommand>& K3xCommands()
{
    static const std::vector<K3xCommand> commands{
        {"pcx", "pcx IN.pcx OUT.(pcx|png) [--onto PALETTE.pcx]",
         "convert a 256-colour PCX image, optionally onto another image's palette", RunPcx},
        {"blend", "blend BANK.def [--rebuild]",
         "load a texture bank and make sure its blend-table cache (.POT) exists", RunBlend},
        {"render",
         "render OBJECT.3do -o OUT.(pcx|png) [--bank BANK.def] [--size WxH] [--yaw U] [--pitch U] [--distance D] "
         "[--height H] [--ticks N] [--outline F] [--repeat N]",
         "draw an object as the skinning editor shows it", RunRender, RenderDetails},
        {"dxf", "dxf IN.dxf OUT.3do", "import the 3D faces of a DXF mesh into a new object", RunDxf},
        {"import-image",
         "import-image IN OUT.pcx | IN... FOLDER [--palette BANK.def|IMAGE.pcx] [--fit crop|pad|stretch] [--dither]",
         "make 128 x 128 texture PCX files of PNG, JPEG, BMP, GIF, TGA, WebP or PCX pictures", RunImportImage},
        {"bank",
         "bank new|add BANK.def PICTURE... [--folder F] [--fit crop|pad|stretch] [--dither] | list BANK.def | "
         "remove BANK.def SLOT... | texture BANK.def FIRST LAST [--index T]",
         "make a texture bank of pictures (one palette for all), add pictures, list, remove slots, define textures",
         RunBank, BankDetails},
        {"import-mesh",
         "import-mesh IN OUT.3do [--size N] [--up y|z] [--bank BANK.def [--textures]] [--max-faces N] [--timeout S] "
         "[--materials LIST]",
         "make an object of an OBJ, STL, PLY, glTF, FBX, Collada, 3DS or DXF mesh; --textures brings its "
         "texture pictures into the bank; a model over N faces is simplified; exit 3: too many faces",
         RunImportMesh},
        {"tool",
         "tool NAME IN.3do OUT.3do [--colour C] [--texture T] [--transparency P] [--face K] [--from OTHER.3do]",
         "run one of the skinning editor's whole-object tools on an object", RunTool, ToolDetails},
        {"skin", "skin IN.3do OUT.3do [--where CONDITION]... --set FIELD=VALUE...",
         "give the faces that meet every condition the values set, as the skinning editor's face panel does",
         RunSkin, SkinDetails},
        {"info", "info FILE.(3do|dxf|def|pcx|wav)", "describe an object, mesh, texture bank, image or sound", RunInfo},
        {"check", "check",
         "check the game project in the current folder: named files, bank images, faces, dictionaries", RunCheck},
        {"new-project", "new-project FOLDER [--from PROJECT]",
         "make a new game project folder, a copy of the demo game (or of PROJECT)", RunNewProject},
        {"deploy", "deploy TARGET [--force]",
         "copy the game in the current folder into TARGET without the tools; --force empties a TARGET "
         "that holds files and is not an earlier deploy",
         RunDeploy},
    };
    return commands;
}
