#include "player/game_state.h"

GameState gameState = {NEW_GAME_VIEW_DISTANCE, true, false, 0, {0, 0, 0}, {0, 0, 0}, false, false,
                       {0, 0, 0}, {0, 0, 0}, 0.0f, 0.0f, 0.0f};

void ResetGameState()
{
    gameState.viewDistance = NEW_GAME_VIEW_DISTANCE;
    gameState.texturesEnabled = true;
    gameState.flyMode = false;
    gameState.collectablesFound = 0;
    gameState.position = NEW_GAME_POSITION;
    gameState.velocity = {0.0f, 0.0f, 0.0f};
    gameState.onGround = false;
    gameState.jumping = false;
    gameState.cell = NEW_GAME_CELL;
    gameState.eye = NEW_GAME_POSITION;
    gameState.pitch = 0.0f;
    gameState.yaw = 0.0f;
    gameState.roll = 0.0f;
}
