#include "CopierTestHooks.h"
#include "Deploy.h"
#include "PipeWatch.h"
#include "SafeWrite.h"
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
        else if (it->is_regular_file())
            entries[name] = readFile(it->path());
        else
            entries[name] = "(special)"; // a pipe is never opened
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
                 // and their help pages, which the player's stays beside
                 "Ormel2_English.html", "Partiva_Francais.chm", "pigmenta.html", "TESSARO3D_English.HTML",
                 "Player_English.html",
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
    "NOTES.TXT", "PLAYER", "PLAYER.EXE", "PLAYER_OGL.EXE", "Player.dic", "Player_English.html", "game.ini",
    "sounds/", "sounds/.hidden", "src/", "textures/", "textures/bank.def"};

} // namespace

TEST(Deploy, LeavesTheGameAndItsPlayerWithoutTheTools)
{
    Installation installation;
    const std::size_t sourceFiles = 45;
    const std::size_t keptFiles = 12;
    const DeployCounts counts = DeployGame("../REDIST");
    const fs::path target = installation.root.path() / "REDIST";
    EXPECT_THAT(names(snapshot(target)), ::testing::ElementsAreArray(DeployedGame));
    EXPECT_EQ(counts.copied, sourceFiles);
    EXPECT_EQ(counts.removed, sourceFiles - keptFiles);
    EXPECT_EQ(counts.files, keptFiles);
    EXPECT_EQ(counts.bytes, 156u); // each file holds its name: the lengths of the twelve names kept
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
    // listed names and kinds of the copy. The old NOTES.TXT is replaced by the game's own. The
    // target is not an earlier deploy, nor after this one, which leaves the launcher's files:
    // the user agrees each time to its emptying.
    SetDeleteFaultHook([](const std::string& name) {
        const std::string file = fs::path(name).filename().string();
        return file.starts_with("STALE") || file.starts_with("Ormel2") || file.ends_with(".BMP");
    });
    const DeployCounts counts = DeployGame("../REDIST", OtherFolderConsent::Empty);
    SetDeleteFaultHook(nullptr);

    const fs::path target = fs::canonical(installation.root.path() / "REDIST");
    std::vector<std::string> expected;
    for (const char* file : {"LEVELS/SKY.BMP", "OLD/STALE.TXT", "Ormel2", "Ormel2.dic", "Ormel2.ini", "Ormel2_English.html"})
        expected.push_back((target / file).string());
    EXPECT_EQ(counts.notRemoved, expected);
    EXPECT_TRUE(counts.failures.empty());
    EXPECT_EQ(installation.root.read("REDIST/NOTES.TXT"), "NOTES.TXT");
    EXPECT_FALSE(fs::exists(target / "EDITOR.EXE"));

    // With deletion working again, the next deploy takes them all.
    EXPECT_EQ(ExamineDeployTarget(target), DeployTargetKind::OtherFolder);
    EXPECT_TRUE(DeployGame(target, OtherFolderConsent::Empty).notRemoved.empty());
    EXPECT_THAT(names(snapshot(target)), ::testing::ElementsAreArray(DeployedGame));
    EXPECT_EQ(ExamineDeployTarget(target), DeployTargetKind::EarlierDeploy);
}

TEST(Deploy, RefusesEveryUnsafeTargetWithTheDiskUntouched)
{
    Installation installation;
    fs::create_directory_symlink(installation.root.path() / "GAME", installation.root.path() / "ALIAS");
    installation.root.write("OTHER/game.ini", "[Game]\n");
    const auto before = snapshot(installation.root.path());
    const struct {
        const char* target;
        DeployTargetKind kind;
    } cases[] = {
        {".", DeployTargetKind::Unsafe},         {"", DeployTargetKind::Unsafe},
        {"./", DeployTargetKind::Unsafe},        {"LEVELS", DeployTargetKind::Unsafe},
        {"LEVELS/NEW", DeployTargetKind::Unsafe}, {"LEVELS/../LEVELS", DeployTargetKind::Unsafe},
        {"..", DeployTargetKind::Unsafe},        {"../ALIAS", DeployTargetKind::Unsafe},
        {"../ALIAS/LEVELS", DeployTargetKind::Unsafe}, {"../GAME/EMPTY", DeployTargetKind::Unsafe},
        // another game project's deploy would copy the game along
        {"../OTHER/REDIST", DeployTargetKind::InsideProject}, {"../OTHER/A/B", DeployTargetKind::InsideProject},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(ExamineDeployTarget(DeployTargetPath(c.target)), c.kind);
        for (const OtherFolderConsent consent : {OtherFolderConsent::Refuse, OtherFolderConsent::Empty})
            EXPECT_THROW(DeployGame(c.target, consent), RefusedDeployTarget);
        EXPECT_EQ(snapshot(installation.root.path()), before);
    }
    // Roots and the folders above the test's own are only asked about: a fault here must not
    // empty them.
    for (const fs::path& target : {fs::path("/"), fs::temp_directory_path(), fs::path("../..")})
        EXPECT_EQ(ExamineDeployTarget(target), DeployTargetKind::Unsafe) << target;
}

TEST(Deploy, EmptiesOnlyAnEarlierDeployWithoutConsentAndNeverAFile)
{
    Installation installation;
    const TempFolder& root = installation.root;
    root.write("precious.txt", "my thesis");
    fs::create_symlink(root.path() / "precious.txt", root.path() / "TO_PRECIOUS");
    fs::create_symlink(root.path() / "missing", root.path() / "NOWHERE");
    MakePipe(root.path() / "PIPE");
    root.write("docs/thesis.odt", "chapter one");
    root.write("docs/photos/cat.jpg", "cat");
    root.write("PROJECT/game.ini", "[Game]\n"); // a game project: its tools and settings go with it
    root.write("PROJECT/Ormel2.ini", "[Config]\n");
    root.write("EARLIER/game.ini", "[Game]\n");
    root.write("EARLIER/STALE.LEV", "old");
    fs::create_directory(root.path() / "EMPTY");
    const struct {
        const char* target;
        DeployTargetKind kind;
    } cases[] = {
        {"../precious.txt", DeployTargetKind::NotAFolder}, {"../TO_PRECIOUS", DeployTargetKind::NotAFolder},
        {"../NOWHERE", DeployTargetKind::NotAFolder},      {"../PIPE", DeployTargetKind::NotAFolder},
        {"../docs", DeployTargetKind::OtherFolder},        {"../PROJECT", DeployTargetKind::OtherFolder},
        {"../EARLIER", DeployTargetKind::EarlierDeploy},   {"../EMPTY", DeployTargetKind::Empty},
        {"../NEW", DeployTargetKind::New},
    };
    const auto before = snapshot(root.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(ExamineDeployTarget(DeployTargetPath(c.target)), c.kind);
        if (c.kind == DeployTargetKind::NotAFolder || c.kind == DeployTargetKind::OtherFolder) {
            EXPECT_TRUE(FinishesWithoutOpening(root.path() / "PIPE", [&c] {
                EXPECT_THROW(DeployGame(c.target), RefusedDeployTarget);
            }));
            EXPECT_EQ(snapshot(root.path()), before);
        }
    }
    // Consent empties another folder, never a file.
    EXPECT_THROW(DeployGame("../precious.txt", OtherFolderConsent::Empty), RefusedDeployTarget);
    EXPECT_EQ(root.read("precious.txt"), "my thesis");
    for (const char* target : {"../docs", "../EARLIER", "../EMPTY", "../NEW"}) {
        SCOPED_TRACE(target);
        const OtherFolderConsent consent =
            std::string(target) == "../docs" ? OtherFolderConsent::Empty : OtherFolderConsent::Refuse;
        const fs::path folder = DeployTargetPath(target);
        EXPECT_EQ(DeployGame(target, consent).target, folder);
        EXPECT_THAT(names(snapshot(folder)), ::testing::ElementsAreArray(DeployedGame));
    }
}

TEST(Deploy, LeavesOutPipesAndLinkLoopsAndNamesThem)
{
    Installation installation;
    const TempFolder& root = installation.root;
    MakePipe(root.path() / "GAME/LEVELS/PIPE");
    root.write("GAME/X/A.LEV", "a");
    root.write("GAME/Y/B.LEV", "b");
    fs::create_directory_symlink("../Y", root.path() / "GAME/X/TO_Y");
    fs::create_directory_symlink("../X", root.path() / "GAME/Y/TO_X");
    DeployCounts counts;
    EXPECT_TRUE(FinishesWithoutOpening(root.path() / "GAME/LEVELS/PIPE", [&counts] { counts = DeployGame("../REDIST"); }));
    EXPECT_THAT(counts.specialFiles, ::testing::ElementsAre("LEVELS/PIPE"));
    EXPECT_EQ(counts.repeatedFolders.size(), 2u);
    EXPECT_TRUE(counts.failures.empty());
    EXPECT_TRUE(counts.notRemoved.empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(root.path() / "REDIST/LEVELS/PIPE")));
    EXPECT_EQ(root.read("REDIST/X/A.LEV"), "a");
    EXPECT_EQ(root.read("REDIST/Y/B.LEV"), "b");
}

TEST(Deploy, AFailedFileAtTheTopIsTheOnlyLineOfItsFailure)
{
    Installation installation;
    SetWriteFaultHook([](const fs::path& target) { return target.filename() == "game.ini"; });
    const DeployCounts counts = DeployGame("../REDIST");
    SetWriteFaultHook(nullptr);
    ASSERT_EQ(counts.failures.size(), 1u) << ::testing::PrintToString(counts.failures);
    EXPECT_THAT(counts.failures[0], ::testing::MatchesRegex("Write error on .*/REDIST/game.ini Copy failed\\."));
}

TEST(Deploy, OffersTheFolderRedistBesideTheInstallation)
{
    Installation installation;
    const fs::path offered = DefaultDeployTarget();
    EXPECT_TRUE(offered.is_absolute());
    EXPECT_EQ(offered, installation.root.path() / "REDIST");
    EXPECT_EQ(ExamineDeployTarget(offered), DeployTargetKind::New);
}
