#include <gtest/gtest.h>

#include "player/game_state.h"

TEST(GameState, ProgramStartAndNewGameValues)
{
    // Before any game is loaded or reset: view distance 10, textures on, the rest 0.
    EXPECT_EQ(gameState.viewDistance, 10);
    EXPECT_TRUE(gameState.texturesEnabled);
    EXPECT_FALSE(gameState.flyMode || gameState.onGround || gameState.jumping);
    EXPECT_EQ(gameState.collectablesFound, 0);
    EXPECT_EQ(gameState.position.x + gameState.position.y + gameState.position.z, 0.0f);
    EXPECT_EQ(gameState.cell.x + gameState.cell.y + gameState.cell.z, 0);

    // A new game's values are proven byte for byte by the known-good core files.
    ResetGameState();
    EXPECT_EQ(gameState.cell.x * 10000 + gameState.cell.y * 100 + gameState.cell.z, 1250425);
}
