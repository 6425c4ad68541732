#include "player/player_update.h"

#include <SDL.h>

#include <cmath>
#include <cstdint>

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "player/collision.h"
#include "player/game_state.h"
#include "player/nearby_entities.h"
#include "world/saves.h"
#include "world/world_grid.h"

// A key is pressed in the frame it went down, and down while it is not up.
static bool Pressed(int key) { return keyState[key] == BUTTON_PRESSED; }
static bool Down(int key) { return keyState[key] != BUTTON_UP; }

// ---- number keys: switches, the tile editor, saving and loading

// The grid cell the player stands in, or null when it lies off the grid.
static WorldCell* PlayerCell()
{
    const CellCoord& c = gameState.cell;
    if (!InGrid(c.x, c.z) || c.y < 0 || c.y >= GRID_LAYERS)
        return nullptr;
    return &worldGrid[CellIndex(c.x, c.y, c.z)];
}

static void RunNumberKeys()
{
    GameState& s = gameState;
    // One shorter or longer, within the limits (written so that no loaded
    // value can overflow).
    if (Pressed(SDLK_1))
        s.viewDistance = s.viewDistance > VIEW_DISTANCE_MIN ? s.viewDistance - 1 : VIEW_DISTANCE_MIN;
    if (Pressed(SDLK_2))
        s.viewDistance = s.viewDistance < VIEW_DISTANCE_MAX ? s.viewDistance + 1 : VIEW_DISTANCE_MAX;
    if (Pressed(SDLK_3))
        s.texturesEnabled = !s.texturesEnabled;
    if (Pressed(SDLK_4))
        s.flyMode = !s.flyMode;
    // The tile editor changes the grid only: the map is not redrawn and
    // nothing is saved until key 8.
    WorldCell* cell = PlayerCell();
    if (cell && Pressed(SDLK_5))
        cell->tileType = cell->tileType == 0 ? (uint8_t)(TILE_TYPE_COUNT - 1) : (uint8_t)(cell->tileType - 1);
    if (cell && Pressed(SDLK_6))
        cell->tileType = cell->tileType >= TILE_TYPE_COUNT - 1 ? (uint8_t)0 : (uint8_t)(cell->tileType + 1);
    if (cell && Pressed(SDLK_7))
        cell->orientation = cell->orientation >= ORIENTATION_COUNT - 1 ? (uint8_t)0 : (uint8_t)(cell->orientation + 1);
    if (Pressed(SDLK_8)) {
        SaveWorldGrid();
        SaveCoreState();
    }
    // The rest of the update goes on with whatever was loaded.
    if (Pressed(SDLK_9)) {
        LoadWorldGrid();
        LoadCoreState();
    }
}

// ---- turning and moving

// The pointer's offset from the window centre sets how fast the view turns.
static void MouseLook(float dt)
{
    if (!appHasMouseFocus || screenWidth == 0.0f || screenHeight == 0.0f)
        return;
    gameState.yaw += (2.0f * (float)mouseX - screenWidth) / screenWidth * MOUSE_YAW_RATE * dt;
    gameState.pitch -= (2.0f * (float)mouseY - screenHeight) / screenHeight * MOUSE_PITCH_RATE * dt;
}

void ApplyThrust(float amount)
{
    GameState& s = gameState;
    s.velocity.y += (float)(sin(s.pitch) * amount);
    float horizontal = (float)(cos(s.pitch) * amount);
    s.velocity.x += (float)(cos(s.yaw) * horizontal);
    s.velocity.z += (float)(sin(s.yaw) * horizontal);
}

// Walking pushes toward the keys' direction relative to the view; in free
// flight any movement key thrusts along the view.
static void MovementKeys(float dt)
{
    float f = Down(SDLK_w) || Down(SDLK_UP) ? 1.0f : 0.0f;
    float b = Down(SDLK_s) || Down(SDLK_DOWN) ? 1.0f : 0.0f;
    float l = Down(SDLK_a) || Down(SDLK_LEFT) ? 1.0f : 0.0f;
    float r = Down(SDLK_d) || Down(SDLK_RIGHT) ? 1.0f : 0.0f;
    float s = r - l, t = f - b;
    float angle = (float)atan2(s, t);
    float magnitude = sqrtf(t * t + s * s);
    if (magnitude > 1.0f)
        magnitude = 1.0f;
    if (!(magnitude > MOVE_THRESHOLD))
        return;
    GameState& g = gameState;
    if (g.flyMode) {
        ApplyThrust(magnitude * FLY_THRUST * dt);
        return;
    }
    float heading = g.yaw + angle;
    g.velocity.x += (float)(cos(heading) * magnitude * WALK_ACCELERATION * dt);
    g.velocity.z += (float)(sin(heading) * magnitude * WALK_ACCELERATION * dt);
}

// Gravity while walking: light on the ground, a held jump that fades, a fall.
static void VerticalMotion(float dt)
{
    GameState& g = gameState;
    if (g.onGround) {
        g.velocity.y -= GROUND_GRAVITY * dt;
        g.jumping = false;
        if (Down(SDLK_SPACE)) {
            g.jumping = true;
            g.velocity.y = JUMP_SPEED;
        }
    } else if (g.jumping) {
        g.velocity.y -= (JUMP_GRAVITY_BASE - JUMP_GRAVITY_FACTOR * g.velocity.y) * dt;
        g.jumping = Down(SDLK_SPACE) && g.velocity.y > JUMP_MIN_SPEED;
    } else {
        g.velocity.y -= AIR_GRAVITY * dt;
    }
}

// ---- the frame's update

void UpdateGame(float dt)
{
    RunNumberKeys();
    // Entities move around the player as they stand before this move.
    UpdateNearbyEntities(dt);
    RefileNearbyEntities();
    MouseLook(dt);
    GameState& g = gameState;
    if (g.pitch < -PITCH_LIMIT)
        g.pitch = -PITCH_LIMIT;
    else if (g.pitch > PITCH_LIMIT)
        g.pitch = PITCH_LIMIT;

    Vec3 old = g.position;
    MovementKeys(dt);
    if (!g.flyMode)
        VerticalMotion(dt);
    g.position.x += g.velocity.x * dt;
    g.position.y += g.velocity.y * dt;
    g.position.z += g.velocity.z * dt;
    if (!g.flyMode) {
        CollidePlayerWithWorld();
        // Standing: collision lifted the player above where the move alone
        // would have put them.
        float unpushed = old.y + g.velocity.y * dt;
        g.onGround = g.position.y > unpushed + GROUND_TOLERANCE;
    }
    // A collision that stopped or deflected the player does the same to the velocity.
    g.velocity.x = (g.position.x - old.x) / dt;
    g.velocity.y = (g.position.y - old.y) / dt;
    g.velocity.z = (g.position.z - old.z) / dt;
    g.velocity.x -= g.velocity.x * HORIZONTAL_DAMPING * dt;
    g.velocity.z -= g.velocity.z * HORIZONTAL_DAMPING * dt;
    g.velocity.y -= g.velocity.y * (g.flyMode ? VERTICAL_DAMPING_FLY : VERTICAL_DAMPING_WALK) * dt;

    g.cell = CellCoord{PlayerCell(g.position.x), PlayerCell(g.position.y), PlayerCell(g.position.z)};
    g.eye = Vec3{g.position.x, g.position.y + EYE_HEIGHT, g.position.z};
}
