#include "Deploy.h"
#include "SafeWrite.h"
#include "dircpy.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every entry below `folder`, folders marked with a trailing "/", with the files' contents.
std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = fs::relative(it->path(), folder).generic_string();
        if (it->is_symlink())
            entries[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            entries[name + "/"] = "";
        else
            entries[name] = readFile(it->path());
    }
    return entries;
}

std::vector<std::string> names(const std::map<std::string, std::string>& entries)
{
    std::vector<std::string> list;
    for (const auto& [name, contents] : entries)
        list.push_back(name);
    return list;
}

// An installation folder with the suite, its settings and a small game, made current.
struct Installation {
    TempFolder root;

    Installation()
    {
        for (const char* file : {
                 // the game and its player stay
                 "PLAYER.EXE", "PLAYER_OGL.EXE", "PLAYER", "game.ini", "Player.dic", "NOTES.TXT",
                 "LEVELS/SKY.PCX", "LEVELS/ONE.LEV", "LEVELS/EDITOR/MAP.LEV", "textures/bank.def", "sounds/.hidden",
                 // the tools, their dictionaries and settings go, in any letter case, native or not
                 "EDITOR.EXE", "Editor_Ogl.exe", "editor.dic", "Partiva", "Partiva.dic", "Pigmenta", "Pigmenta.dic",
                 "Mosaro.exe", "Tessaro3D", "Tessaro3D.dic", "Ormel2", "Ormel2.ini", "Ormel2.dic", "ormel2.txt",
                 "History.txt", "unins000.exe", "unins000.dat", "Opengl32.dll", "k3x",
                 // so do the listed kinds, anywhere
                 "textures/bank.pot", "src/main.pas", "app.ico", "run.bat", "LEVELS/SKY.BMP",
                 // and the listed folders at the top
                 "EDITOR/OBJECTS.DAT", "TESSARO3D/SAMPLE.3DO", "logo/LOGO.PCX", "CURRENT_GAME/STATE", "EDTICNS/A.ICN"})
            root.write(std::string("GAME/") + file, file);
        fs::create_directories(root.path() / "GAME/EMPTY");
        fs::current_path(root.path() / "GAME");
    }
};

const std::vector<std::string> DeployedGame{
    "EMPTY/", "LEVELS/", "LEVELS/EDITOR/", "LEVELS/EDITOR/MAP.LEV", "LEVELS/ONE.LEV", "LEVELS/SKY.PCX",
    "NOTES.TXT", "PLAYER", "PLAYER.EXE", "PLAYER_OGL.EXE", "Player.dic", "game.ini",
    "sounds/", "sounds/.hidden", "src/", "textures/", "textures/bank.def"};

} // namespace

TEST(Deploy, LeavesTheGameAndItsPlayerWithoutTheTools)
{
    Installation installation;
    const std::size_t sourceFiles = 40;
    const std::size_t keptFiles = 11;
    const DeployCounts counts = DeployGame("../REDIST");
    const fs::path target = installation.root.path() / "REDIST";
    EXPECT_THAT(names(snapshot(target)), ::testing::ElementsAreArray(DeployedGame));
    EXPECT_EQ(counts.copied, sourceFiles);
    EXPECT_EQ(counts.removed, sourceFiles - keptFiles);
    EXPECT_EQ(installation.root.read("REDIST/LEVELS/SKY.PCX"), "LEVELS/SKY.PCX");

    // Running again empties the target first: what was added there goes, the result is the same.
    installation.root.write("REDIST/STALE.TXT", "old");
    EXPECT_EQ(DeployGame(target).copied, sourceFiles);
    EXPECT_THAT(names(snapshot(target)), ::testing::ElementsAreArray(DeployedGame));
}

TEST(Deploy, FilesThatCannotBeWrittenAreNamedAndTheGameIsUntouched)
{
    Installation installation;
    const auto before = snapshot(installation.root.path() / "GAME");
    // A full disk for the levels only: the rest of the game arrives.
    SetWriteFaultHook([](const fs::path& target) { return target.string().find("LEVELS") != std::string::npos; });
    const DeployCounts counts = DeployGame("../REDIST");
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(counts.failures.size(), 4u);
    for (const std::string& failure : counts.failures) {
        EXPECT_THAT(failure, ::testing::MatchesRegex("Write error on .*/REDIST/LEVELS/.* Copy failed\\."));
        EXPECT_EQ(failure.find('\r'), std::string::npos);
    }
    EXPECT_EQ(snapshot(installation.root.path() / "GAME"), before);
    const fs::path target = installation.root.path() / "REDIST";
    EXPECT_FALSE(fs::exists(target / "LEVELS/ONE.LEV"));
    EXPECT_EQ(installation.root.read("REDIST/game.ini"), "game.ini");
    EXPECT_TRUE(DeployGame(target).failures.empty());
}

TEST(Deploy, FilesThatCannotBeDeletedAreNamed)
{
    Installation installation;
    installation.root.write("REDIST/OLD/STALE.TXT", "old");
    installation.root.write("REDIST/NOTES.TXT", "old notes");
    // Nothing named STALE, ORMEL2 or BMP can be deleted: neither the target's old files nor the
    // listed names and kinds of the copy. The old NOTES.TXT is replaced by the game's own.
    SetDeleteFaultHook([](const std::string& name) {
        const std::string file = fs::path(name).filename().string();
        return file.starts_with("STALE") || file.starts_with("Ormel2") || file.ends_with(".BMP");
    });
    const DeployCounts counts = DeployGame("../REDIST");
    SetDeleteFaultHook(nullptr);

    const fs::path target = fs::canonical(installation.root.path() / "REDIST");
    std::vector<std::string> expected;
    for (const char* file : {"LEVELS/SKY.BMP", "OLD/STALE.TXT", "Ormel2", "Ormel2.dic", "Ormel2.ini"})
        expected.push_back((target / file).string());
    EXPECT_EQ(counts.notRemoved, expected);
    EXPECT_TRUE(counts.failures.empty());
    EXPECT_EQ(installation.root.read("REDIST/NOTES.TXT"), "NOTES.TXT");
    EXPECT_FALSE(fs::exists(target / "EDITOR.EXE"));

    // With deletion working again, the next deploy takes them all.
    EXPECT_TRUE(DeployGame(target).notRemoved.empty());
    EXPECT_THAT(names(snapshot(target)), ::testing::ElementsAreArray(DeployedGame));
}

TEST(Deploy, RefusesEveryUnsafeTargetWithTheDiskUntouched)
{
    Installation installation;
    fs::create_directory_symlink(installation.root.path() / "GAME", installation.root.path() / "ALIAS");
    const auto before = snapshot(installation.root.path());
    for (const char* target : {".", "", "./", "LEVELS", "LEVELS/NEW", "LEVELS/../LEVELS", "..", "../ALIAS",
                               "../ALIAS/LEVELS", "../GAME/EMPTY"}) {
        SCOPED_TRACE(target);
        EXPECT_TRUE(IsUnsafeDeployTarget(DeployTargetPath(target)));
        EXPECT_THROW(DeployGame(target), UnsafeDeployTarget);
        EXPECT_EQ(snapshot(installation.root.path()), before);
    }
    // Roots and the folders above the test's own are only asked about: a fault here must not
    // empty them.
    for (const fs::path& target : {fs::path("/"), fs::temp_directory_path(), fs::path("../..")})
        EXPECT_TRUE(IsUnsafeDeployTarget(target)) << target;
}

TEST(Deploy, OffersTheFolderRedistBesideTheInstallation)
{
    Installation installation;
    const fs::path offered = DefaultDeployTarget();
    EXPECT_TRUE(offered.is_absolute());
    EXPECT_EQ(offered, installation.root.path() / "REDIST");
    EXPECT_FALSE(IsUnsafeDeployTarget(offered));
}
