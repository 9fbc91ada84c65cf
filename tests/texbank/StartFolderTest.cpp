// Image names relative to the start folder: inside it only, letter case ignored.
#include "StartFolder.h"

#include <gtest/gtest.h>

TEST(StartFolder, NamesInsideTheFolderOnly)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name; // nullptr: refused
    } cases[] = {
        {"/game/brick.pcx", "/game", "brick.pcx"},
        {"/game/textures/brick.pcx", "/game", "textures/brick.pcx"},
        {"/GAME/Textures/brick.pcx", "/game", "Textures/brick.pcx"},
        {"/game/brick.pcx", "/game/", "brick.pcx"},
        {"C:\\Game\\brick.pcx", "c:\\game", "brick.pcx"},
        {"/brick.pcx", "/", "brick.pcx"},
        {"/game2/brick.pcx", "/game", nullptr},      // a sibling that starts with the same text
        {"/gamebrick.pcx", "/game", nullptr},
        {"/other/game/brick.pcx", "/game", nullptr}, // contains the folder, but not inside it
        {"/game", "/game", nullptr},
        {"/game/", "/game", nullptr},
        {"/gam", "/game", nullptr},
        {"/game/brick.pcx", "", nullptr},
    };
    for (const auto& c : cases) {
        const auto name = NameInsideFolder(c.path, c.folder);
        if (c.name)
            EXPECT_EQ(name, std::optional<std::string>(c.name)) << c.path << " in " << c.folder;
        else
            EXPECT_FALSE(name.has_value()) << c.path << " in " << c.folder;
    }
}

TEST(StartFolder, BankNamesSeparateFoldersWithBackslashes)
{
    EXPECT_EQ(BankImageName("/game/textures/walls/Brick.pcx", "/game"), std::optional<std::string>("textures\\walls\\Brick.pcx"));
    EXPECT_EQ(BankImageName("/game/brick.pcx", "/game"), std::optional<std::string>("brick.pcx"));
    EXPECT_FALSE(BankImageName("/game2/brick.pcx", "/game").has_value());
}
