#include "ProgramFinder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

fs::path makeProgram(const TempFolder& folder, std::string_view name, bool executable = true)
{
    const fs::path file = folder.write(name, "#!/bin/sh\n");
    if (executable)
        fs::permissions(file, fs::perms::owner_exec, fs::perm_options::add);
    return file;
}

} // namespace

TEST(ProgramFinder, FoldersAreSearchedInTheOrderGiven)
{
    TempFolder folder;
    makeProgram(folder, "game/PLAYER");
    makeProgram(folder, "bin/PLAYER");
    makeProgram(folder, "bin/Partiva");
    const fs::path game = folder.path() / "game", bin = folder.path() / "bin";
    EXPECT_EQ(FindProgram("PLAYER.EXE", {game, bin}), game / "PLAYER");
    EXPECT_EQ(FindProgram("PLAYER.EXE", {bin, game}), bin / "PLAYER");
    EXPECT_EQ(FindProgram("Partiva.exe", {game, bin}), bin / "Partiva");
    EXPECT_FALSE(FindProgram("Partiva.exe", {game}));
    EXPECT_FALSE(FindProgram("Mosaro.exe", {game, bin}));
}

TEST(ProgramFinder, ExeNamesMatchNativeNamesWithoutRegardToCase)
{
    TempFolder folder;
    makeProgram(folder, "EDITOR_OGL");
    EXPECT_EQ(FindProgram("EDITOR_OGL.EXE", {folder.path()}), folder.path() / "EDITOR_OGL");
    EXPECT_EQ(FindProgram("editor_ogl.exe", {folder.path()}), folder.path() / "EDITOR_OGL");
    EXPECT_FALSE(FindProgram("EDITOR", {folder.path()}));
}

TEST(ProgramFinder, FilesThatCannotBeStartedAreSkipped)
{
    TempFolder folder;
    makeProgram(folder, "game/Tessaro3D.exe", false);
    makeProgram(folder, "bin/Tessaro3D");
    fs::create_directories(folder.path() / "game" / "PLAYER.EXE");
    EXPECT_EQ(FindProgram("Tessaro3D.exe", {folder.path() / "game", folder.path() / "bin"}), folder.path() / "bin/Tessaro3D");
    EXPECT_FALSE(FindProgram("PLAYER.EXE", {folder.path() / "game"}));
}
