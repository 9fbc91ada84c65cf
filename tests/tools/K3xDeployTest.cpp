// k3x deploy as a script uses it: what it refuses, and --force for a folder of other files.
#include "K3xRun.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::HasSubstr;

namespace fs = std::filesystem;

TEST(K3xDeploy, RefusesAFileAndEmptiesAFolderOfOtherFilesOnlyWithForce)
{
    const TempFolder folder;
    folder.write("GAME/game.ini", "[Game]\n");
    folder.write("GAME/LEVELS/ONE.LEV", "one");
    folder.write("GAME/Ormel2.ini", "[Config]\n");
    folder.write("precious.txt", "my thesis");
    folder.write("docs/thesis.odt", "chapter one");
    fs::current_path(folder.path() / "GAME");
    const K3xRefusal refusals[] = {
        {"deploy ../precious.txt", 1, "is not a folder; nothing was changed"},
        {"deploy ../precious.txt --force", 1, "is not a folder; nothing was changed"},
        {"deploy ../docs", 1, "is not a deployed game (no game.ini, or files that deploy leaves out); nothing was "
                              "changed (--force empties it)"},
        {"deploy LEVELS --force", 1, "cannot receive the game"},
        {"deploy ../docs --forse", 2, "unknown option --forse"},
    };
    expectRefusals(folder, refusals);
    EXPECT_EQ(folder.read("precious.txt"), "my thesis");
    EXPECT_EQ(folder.read("docs/thesis.odt"), "chapter one");

    const K3xRun forced = k3x(folder, "deploy ../docs --force");
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_THAT(forced.out, HasSubstr("deployed into " + fs::canonical(folder.path() / "docs").string() + ": "));
    EXPECT_FALSE(folder.exists("docs/thesis.odt"));
    EXPECT_EQ(folder.read("docs/LEVELS/ONE.LEV"), "one");
    EXPECT_FALSE(folder.exists("docs/Ormel2.ini"));
    // Now an earlier deploy: it is emptied again without --force.
    EXPECT_EQ(k3x(folder, "deploy ../docs").exitCode, 0);
}
