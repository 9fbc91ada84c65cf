// New game project folders: where the demo template is found, and a copy that is whole or absent.
#include "Errors.h"
#include "NewProject.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

void makeTemplate(const TempFolder& folder)
{
    folder.write("demo/game.ini", "[Game]\nGameTitle=Quest\n");
    folder.write("demo/TEXTURES/A.PCX", "pcx");
    folder.write("demo/LEVEL/First.lev", "level");
}

// Files left beside `target` by a copy in progress.
int leftovers(const fs::path& parent)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(parent))
        count += entry.path().filename().string().rfind(".", 0) == 0 ? 1 : 0;
    return count;
}

} // namespace

TEST(ProjectTemplate, InstalledOneComesBeforeTheBuildTree)
{
    const TempFolder folder;
    fs::create_directories(folder.path() / "bin");
    EXPECT_FALSE(FindProjectTemplate(folder.path() / "bin"));
    fs::create_directories(folder.path() / "demo");
    EXPECT_EQ(FindProjectTemplate(folder.path() / "bin"), fs::canonical(folder.path() / "demo"));
    fs::create_directories(folder.path() / "share/ormel2/demo");
    EXPECT_EQ(FindProjectTemplate(folder.path() / "bin"), fs::canonical(folder.path() / "share/ormel2/demo"));
}

TEST(MakeProjectFolder, CopiesTheWholeTreeIntoANewOrEmptyFolder)
{
    const TempFolder folder;
    makeTemplate(folder);
    fs::create_directory(folder.path() / "empty");
    for (const char* target : {"new/deeper/project", "empty"}) {
        MakeProjectFolder(folder.path() / "demo", target);
        EXPECT_EQ(folder.read(std::string(target) + "/game.ini"), "[Game]\nGameTitle=Quest\n") << target;
        EXPECT_EQ(folder.read(std::string(target) + "/TEXTURES/A.PCX"), "pcx") << target;
        EXPECT_EQ(folder.read(std::string(target) + "/LEVEL/First.lev"), "level") << target;
    }
    EXPECT_EQ(leftovers(folder.path()), 0);
    EXPECT_EQ(leftovers(folder.path() / "new/deeper"), 0);
}

TEST(MakeProjectFolder, RefusesTargetsThatWouldLoseOrLoopAndTouchesNothing)
{
    const TempFolder folder;
    makeTemplate(folder);
    folder.write("busy/notes.txt", "mine");
    folder.write("plain-file", "x");
    folder.write("game/game.ini", "[Game]\n");
    const struct {
        fs::path source, target;
    } cases[] = {
        {"demo", "busy"},             // a folder with the user's files
        {"demo", "plain-file"},       // a file
        {"demo", "demo/copy"},        // inside what it copies
        {"missing", "fresh"},         // nothing to copy
        {"demo", "plain-file/inner"}, // a parent that cannot be a folder
        {"demo", "game/sub"},         // inside another project, whose deploy would copy it along
        {"demo", "game/sub/deeper"},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(MakeProjectFolder(c.source, c.target), OrmelError) << c.target;
        EXPECT_EQ(leftovers(folder.path()), 0) << c.target;
    }
    EXPECT_EQ(folder.read("busy/notes.txt"), "mine");
    EXPECT_EQ(folder.read("plain-file"), "x");
    EXPECT_FALSE(folder.exists("fresh"));
    EXPECT_FALSE(folder.exists("demo/copy"));
    EXPECT_FALSE(folder.exists("game/sub"));
}
