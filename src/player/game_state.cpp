#include "player/game_state.h"

GameState gameState = {NEW_GAME_VIEW_DISTANCE, true, false, 0, {0, 0, 0}, {0, 0, 0}, false, false,
                       {0, 0, 0}, {0, 0, 0}, 0.0f, 0.0f, 0.0f};

void ResetGameState()
{
    gameState.viewDistance = NEW_GAME_VIEW_DISTANCE;
    gameState.texturesEnabled = true;
    gameState.flyMode = false;
    gameState.collectablesFound = 0;
    gameState.position = {1250.0f, 30.0f, 1250.0f};
    gameState.velocity = {0.0f, 0.0f, 0.0f};
    gameState.onGround = false;
    gameState.jumping = false;
    gameState.cell = {125, 3, 125};
    gameState.eye = {1250.0f, 30.0f, 1250.0f};
    gameState.pitch = 0.0f;
    gameState.yaw = 0.0f;
    gameState.roll = 0.0f;
}
