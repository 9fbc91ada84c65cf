#include "FolderContainment.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(EnclosingGameProject, IsTheNearestFolderAboveHoldingAGameIni)
{
    const TempFolder folder;
    folder.write("OUTER/game.ini", "[Game]\n");
    folder.write("OUTER/INNER/GAME.INI", "[Game]\n");
    folder.write("PLAIN/notes.txt", "n");
    fs::create_directory_symlink(folder.path() / "OUTER", folder.path() / "ALIAS");
    const struct {
        const char* folder;
        const char* project; // empty: none
    } cases[] = {
        {"OUTER/sub", "OUTER"},          {"OUTER/not/yet/made", "OUTER"},
        {"OUTER/INNER/sub", "OUTER/INNER"}, {"OUTER/INNER", "OUTER"},
        {"ALIAS/sub", "OUTER"},          {"OUTER", ""},
        {"PLAIN/sub", ""},               {"elsewhere", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const auto project = EnclosingGameProject(c.folder);
        if (*c.project)
            EXPECT_EQ(project, fs::canonical(folder.path() / c.project));
        else
            EXPECT_FALSE(project);
    }
}

TEST(IsSameOrInsideFolder, ComparesRealFoldersNotTexts)
{
    const TempFolder folder;
    fs::create_directories(folder.path() / "game/LEVELS");
    fs::create_directories(folder.path() / "game2");
    fs::create_directory_symlink(folder.path() / "game", folder.path() / "link");
    const struct {
        const char* folder;
        const char* outer;
        bool inside;
    } cases[] = {
        {"game/LEVELS", "game", true}, {"game", "game", true},     {"link/LEVELS", "game", true},
        {"game2", "game", false},      {"game", "game/LEVELS", false}, {"game/NEW/DEEPER", "link", true},
        {"other/x", "other", true}, // neither exists: compared as written
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSameOrInsideFolder(c.folder, c.outer), c.inside) << c.folder << " in " << c.outer;
}
