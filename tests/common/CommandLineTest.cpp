#include "CommandLine.h"
#include "ProgramUsages.h"
#include "ProjectFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace fs = std::filesystem;

namespace {

// What AnswerUsageRequest printed, and its answer.
std::pair<std::optional<int>, std::string> answer(const ProgramUsage& usage, std::vector<std::string> arguments)
{
    std::FILE* out = std::tmpfile();
    const std::optional<int> status = AnswerUsageRequest(usage, arguments, out);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(out);
    return {status, text};
}

} // namespace

TEST(CommandLine, HelpAndVersionAnswerBeforeAnyWindow)
{
    const struct {
        std::vector<std::string> arguments;
        std::optional<int> status;
        std::string start;
    } cases[] = {
        {{"--help"}, 0, "Usage: Tessaro3D [BANK.def] [OBJECT.3do|MODEL]\nThe 3D object skinning editor"},
        {{"HOUSE.3DO", "-h"}, 0, "Usage: Tessaro3D "},
        {{"--version"}, 0, std::string("Tessaro3D (Ormel 2) ") + SuiteVersion() + "\n"},
        {{}, std::nullopt, ""},
        {{"HOUSE.3DO"}, std::nullopt, ""},
        {{"--", "--help"}, std::nullopt, ""}, // a file named --help
    };
    for (const auto& c : cases) {
        const auto [status, text] = answer(Tessaro3DUsage(), c.arguments);
        EXPECT_EQ(status, c.status) << c.arguments.size();
        EXPECT_EQ(text.substr(0, c.start.size()), c.start);
    }
    EXPECT_NE(answer(PartivaUsage(), {"--help"}).second.find("  -h, --help"), std::string::npos);
}

TEST(CommandLine, FilesAreSortedByTheirKindWhateverTheirLetterCase)
{
    TempFolder folder;
    fs::create_directories(folder.path() / "game");
    const struct {
        const ProgramUsage& usage;
        std::vector<std::string> arguments;
        std::vector<fs::path> byKind;
        std::vector<std::string> refused;
    } cases[] = {
        {Tessaro3DUsage(), {"HOUSE.3DO", "demo.def"}, {"demo.def", "HOUSE.3DO"}, {}},
        {Tessaro3DUsage(), {"vase.DXF"}, {"", "vase.DXF"}, {}},
        {Tessaro3DUsage(), {"tower.glb", "demo.def"}, {"demo.def", "tower.glb"}, {}},
        {Tessaro3DUsage(), {"ship.Fbx", "ship.dae", "ship.blend"}, {"", "ship.Fbx"}, {"ship.dae", "ship.blend"}},
        {Tessaro3DUsage(), {"a.3do", "b.dxf", "notes.txt"}, {"", "a.3do"}, {"b.dxf", "notes.txt"}},
        {Tessaro3DUsage(), {"-x", "--", "-y.3do"}, {"", "-y.3do"}, {"-x"}},
        {Tessaro3DUsage(), {"game"}, {"", ""}, {"game"}}, // a folder is no object
        {PigmentaUsage(), {"BANK.DEF", "HOUSE.3DO"}, {"BANK.DEF"}, {"HOUSE.3DO"}},
        {PartivaUsage(), {"game"}, {"game"}, {}},
        {Ormel2Usage(), {"missing-folder"}, {""}, {"missing-folder"}},
        {Ormel2Usage(), {"game", "game"}, {"game"}, {"game"}},
    };
    for (const auto& c : cases) {
        const SortedArguments sorted = SortArguments(c.usage, c.arguments);
        EXPECT_EQ(sorted.byKind, c.byKind) << c.usage.name << " " << c.arguments.front();
        EXPECT_EQ(sorted.refused, c.refused) << c.usage.name << " " << c.arguments.front();
    }
}

TEST(ProjectFolder, TheNearestFolderAboveHoldingTheSettingsElseTheFileOwn)
{
    TempFolder folder;
    folder.write("game/Ormel2.ini", "[Config]\n");
    folder.write("game/TEXTURES/OLD/BRICK.PCX", "");
    folder.write("other/GAME.INI", "[Game]\n");
    folder.write("other/objects/HOUSE.3DO", "");
    folder.write("loose/VASE.DXF", "");
    fs::create_directories(folder.path() / "game/Ormel2.ini.d/game.ini"); // folders do not count
    folder.write("game/Ormel2.ini.d/game.ini/x.def", "");
    const fs::path root = folder.path();
    const struct {
        fs::path file;
        fs::path project;
    } cases[] = {
        {root / "game/TEXTURES/OLD/BRICK.PCX", root / "game"},
        {root / "game/Ormel2.ini", root / "game"},
        {root / "other/objects/HOUSE.3DO", root / "other"},
        {root / "loose/VASE.DXF", root / "loose"},
        {root / "loose/not-yet-made.3do", root / "loose"},
        {"game/TEXTURES/OLD/BRICK.PCX", root / "game"}, // relative to the current folder
        {root / "game/Ormel2.ini.d/game.ini/x.def", root / "game"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProjectFolderOf(c.file), c.project) << c.file;
}
