// Image names relative to the start folder, as banks keep them.
#include "StartFolder.h"

#include <gtest/gtest.h>

TEST(StartFolder, BankNamesSeparateFoldersWithBackslashes)
{
    EXPECT_EQ(BankImageName("/game/textures/walls/Brick.pcx", "/game"), std::optional<std::string>("textures\\walls\\Brick.pcx"));
    EXPECT_EQ(BankImageName("/game/brick.pcx", "/game"), std::optional<std::string>("brick.pcx"));
    EXPECT_FALSE(BankImageName("/game2/brick.pcx", "/game").has_value());
}
