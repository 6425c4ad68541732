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

    gameState.viewDistance = 3;
    gameState.texturesEnabled = false;
    gameState.flyMode = true;
    gameState.collectablesFound = 17;
    gameState.velocity = {1, 2, 3};
    gameState.onGround = gameState.jumping = true;
    gameState.pitch = gameState.yaw = gameState.roll = 0.5f;
    ResetGameState();
    EXPECT_EQ(gameState.viewDistance, 10);
    EXPECT_TRUE(gameState.texturesEnabled);
    EXPECT_FALSE(gameState.flyMode || gameState.onGround || gameState.jumping);
    EXPECT_EQ(gameState.collectablesFound, 0);
    EXPECT_EQ(gameState.position.x, 1250.0f);
    EXPECT_EQ(gameState.position.y, 30.0f);
    EXPECT_EQ(gameState.position.z, 1250.0f);
    EXPECT_EQ(gameState.velocity.x + gameState.velocity.y + gameState.velocity.z, 0.0f);
    EXPECT_EQ(gameState.cell.x, 125);
    EXPECT_EQ(gameState.cell.y, 3);
    EXPECT_EQ(gameState.cell.z, 125);
    EXPECT_EQ(gameState.eye.x, 1250.0f);
    EXPECT_EQ(gameState.eye.y, 30.0f);
    EXPECT_EQ(gameState.eye.z, 1250.0f);
    EXPECT_EQ(gameState.pitch, 0.0f);
    EXPECT_EQ(gameState.yaw, 0.0f);
    EXPECT_EQ(gameState.roll, 0.0f);
}
