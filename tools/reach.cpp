// Reachability of a new game's world: from the start position of the world a seed makes, every
// place a walking player can get to with the game's own physics (UpdateGame: walking, jumping,
// collision, lifts), searched cell by cell. Run from the repository root (it reads Media/):
//
//   reach SEED|--saved [--step DT] [--view N] [--region X0 Z0 X1 Z1] [--map FILE.ppm]
//
// It prints every run that leaves the world as it finds it (its start and keys, how it left:
// below the floor, above the top, off the grid or at a position that is not a number), then each
// collectable out of reach, each lift not boarded on foot from the floor of its foot's layer and
// each descent not walked down from the channel bed to the cave and back up, then its figures as
// key=value lines, and exits 1 when it found any of those. --saved searches the world and game
// saved in Saves/ (as the tile editor leaves them) from where its player stands, instead of a
// seed's new game. Every update advances the game by --step time units (within the game's own
// range; its step at its frame cap when not given) with lifts moving within --view cells of the
// player (a new game's view distance when not given). --region keeps the search inside a
// rectangle of columns (what it must reach stands REGION_MARGIN columns inside); --map draws the
// reached cells of the cave, channel and room levels and of the levels above.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <sys/wait.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "player/game_state.h"
#include "player/nearby_entities.h"
#include "player/player_update.h"
#include "render/model_sets.h"
#include "world/saves.h"
#include "world/world_grid.h"
#include "worldgen/cave_level.h"
#include "worldgen/generate_world.h"
#include "worldgen/place_entities.h"
#include "worldgen/world_random.h"

// ---- the search's limits, in time units (one is an update at step 1; a run of T lasts T / step updates)

static const int HEADINGS = 8;             // walking directions tried from each cell, 45 degrees apart
static const int START_TIME = 60;          // time the player is given to come to rest at the start
static const int RUN_TIME = 90;            // longest jump from a cell: a held jump lands within it
static const int WALK_TIME = 160;          // longest walk, across about six cells
static const int RIDE_TIME = 2400;         // longest ride on a lift: the tallest shaft takes about 1,500
static const int RIDE_SETTLED = 40;        // time without moving that ends a ride (the lift waits)
static const int RIDE_OFF_TIME = 10;       // time not standing on the lift that ends a ride
static const int SETTLE_TIME = 10;         // a walk that has not moved after this long may be stopped
constexpr float RIDE_STILL = 0.2f;         // a rider's feet staying this near a height stand still
static const float AIM_OFFSET = 1.0f;      // a start this far off the middle line across the walk is off it
static const float AIM_REACHED = 0.5f;     // an aimed walk this near its point has reached it
static const float LIFT_WAIT_GAP = 0.01f;  // how far above a standing player's head a lift coming down waits, at least
static const float FREE_JUMP_RISE = 10.0f;  // a held jump under open sky rises about 16 units (17 at the frame cap's step)

// A moving lift carries its rider further than that in no update of the game's largest step.
static_assert(RIDE_STILL > LIFT_SPEED * MAX_TIME_STEP, "a rising rider would count as standing still");

// The ways a run leaves the world. Below the floor: the whole player is under the underside of
// the lowest layer (feet half a cell below it), where nothing can hold them. Above the top: the
// feet over the top of the highest layer. Off the grid: past the outer faces of the edge columns.
enum WayOut { OUT_BELOW, OUT_ABOVE, OUT_OFF_GRID, OUT_NOT_A_NUMBER, WAY_OUT_COUNT };
static const char* const WAY_OUT_NAMES[WAY_OUT_COUNT] = {"below the floor", "above the top", "off the grid",
                                                         "not a number"};
static const float BELOW_WORLD_Y = -CELL_SIZE;
static const float ABOVE_WORLD_Y = CELL_SIZE * GRID_LAYERS - CELL_SIZE / 2.0f;

// The ways a run may use the jump key: none, a tap in its first update, held throughout.
enum JumpMode { JUMP_NONE, JUMP_TAP, JUMP_HELD, JUMP_MODE_COUNT };
static const char* const JUMP_NAMES[JUMP_MODE_COUNT] = {"walk", "walk+tapped jump", "walk+held jump"};

// ---- the search's record

// What is searched, and how: the arguments.
struct ReachOptions {
    bool saved;            // the world and game saved in Saves/, not a seed's new game
    unsigned seed;         // the seed of the new game's world
    float step;            // time units each update advances the game
    int viewDistance;      // cells around the player in which lifts move
    int region[4];         // the columns searched: x0, z0, x1, z1
    const char* mapPath;   // where the map of the reached cells goes, or null
};

struct Lift {
    Entity* entity;
    int x, z;            // its column
    float bottom, top;   // the heights its origin turns at
    bool boarded;        // a player walked onto it from the room floor
    bool ridden;         // a player rode it from its foot to the top: every such ride passes the same cells
};

struct Node {
    Vec3 position;       // where the player stood when the cell was first reached
    int lift;            // the lift stood on there, or -1
    float liftY, liftVelocity;
};

// Everything a search knows: its options, the lifts and collectables of the world, what its runs
// have found, and the run under way. The world and the player are the game's own globals.
struct ReachSearch {
    ReachOptions options;
    std::vector<Lift> lifts;
    std::vector<int> liftInColumn;          // per column (ColumnIndex): index into lifts, or -1
    float liftDeck;                         // height of a lift's deck above its origin, from its model
    std::vector<Vec3> collectables;         // where every collectable floats
    std::vector<int> collectableInCell;     // per cell: index into collectables, or -1
    std::vector<bool> collectableReached;
    std::vector<uint8_t> visited;           // per cell: stood on (2 once merged into the search)
    std::vector<Node> queue;                // cells newly stood on, in the order found
    int escapes[WAY_OUT_COUNT];             // runs out of the world, by the way they left
    long long updates;
    bool searching;                         // runs add the cells they stand on and collectables they pass
    // The run under way.
    bool runOver;                           // it has left the world or the region: it is not followed further
    bool runStarting;                       // no update of it yet
    CellCoord lastStood;                    // the cell it last stood in
    char startLifts[256];                   // the lifts in and beside the column it started in, as it started
    float lastRise;                         // how far it rose above its start
};

// What a search found, as counts.
struct ReachFigures {
    int cellsByLayer[GRID_LAYERS], cells;
    long long updates;
    int collectablesReached, collectables;   // of those the search must reach
    int runsOut, runsOutBy[WAY_OUT_COUNT];
    int liftsBoarded, lifts;
    int descentsWalked, descents;
};

// Updates that cover `time` time units at the search's step.
static int Updates(const ReachSearch& s, float time) { return (int)std::ceil(time / s.options.step); }

static bool InRegion(const ReachSearch& s, int x, int z)
{
    const int* region = s.options.region;
    return x >= region[0] && x <= region[2] && z >= region[1] && z <= region[3];
}

// What the search must reach: in a region, only what stands at least REGION_MARGIN columns inside
// its edges (or at the world's), since the way to a room's storeys or a cave may start outside it.
static const int REGION_MARGIN = 10;
static bool Required(const ReachSearch& s, int x, int z)
{
    auto inside = [](int c, int low, int high, int size) {
        return c >= (low > 0 ? low + REGION_MARGIN : 0) && c <= (high < size - 1 ? high - REGION_MARGIN : size - 1);
    };
    const int* region = s.options.region;
    return inside(x, region[0], region[2], GRID_SIZE_X) && inside(z, region[1], region[3], GRID_SIZE_Z);
}

// ---- the world searched

// Takes the collectables out of the entity index, so that no run takes one (and saves), and notes
// where they are; notes every lift and its shaft.
static void SurveyEntities(ReachSearch& s)
{
    s.collectableInCell.assign(CELL_COUNT, -1);
    s.liftInColumn.assign(COLUMN_COUNT, -1);
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int y = 0; y < GRID_LAYERS; y++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                int i = CellIndex(x, y, z);
                for (int k = 0; k < entityCount[i];) {
                    Entity* e = EntitySlot(i, k);
                    if (e->kind == ENTITY_COLLECTABLE) {
                        s.collectableInCell[i] = (int)s.collectables.size();
                        s.collectables.push_back({e->x, e->y, e->z});
                        RemoveEntitySlot(i, k);
                        delete e;
                        continue;
                    }
                    if (e->kind == ENTITY_LIFT) {
                        int top = y;
                        while (top < TOP_LAYER && TileAt(x, top, z) != TILE_LIFT_TOP) top++;
                        s.liftInColumn[ColumnIndex(x, z)] = (int)s.lifts.size();
                        s.lifts.push_back({e, x, z, (float)(CELL_SIZE * y), (float)(CELL_SIZE * top), false, false});
                    }
                    k++;
                }
            }
    s.collectableReached.assign(s.collectables.size(), false);
}

// The lift whose shaft is column (x, z), or -1 (also off the grid).
static int LiftInColumn(const ReachSearch& s, int x, int z) { return InGrid(x, z) ? s.liftInColumn[ColumnIndex(x, z)] : -1; }

// Puts a lift at height y moving at `velocity`, filed in the cell that holds it.
static void SetLift(const Lift& lift, float y, float velocity)
{
    for (int layer = 0; layer < GRID_LAYERS; layer++) {
        int cell = CellIndex(lift.x, layer, lift.z);
        for (int k = 0; k < entityCount[cell]; k++)
            if (EntitySlot(cell, k) == lift.entity) RemoveEntitySlot(cell, k);
    }
    lift.entity->y = y;
    lift.entity->velocityY = velocity;
    int layer = y < 0 ? 0 : TOP_LAYER;
    EntityHomeCell(y, GRID_LAYERS, layer);
    FileEntity(CellIndex(lift.x, layer, lift.z), lift.entity);
}

// The lift the player stands on, or -1.
static int LiftUnderPlayer(const ReachSearch& s)
{
    const CellCoord& c = gameState.cell;
    if (!gameState.onGround) return -1;
    int l = LiftInColumn(s, c.x, c.z);
    if (l < 0) return -1;
    float above = gameState.position.y - (s.lifts[l].entity->y + s.liftDeck);
    return above > -0.3f && above < 0.3f ? l : -1;
}

// ---- runs

// The player at rest, standing at `node`, looking along `yaw`, with the lift it rode as it was.
static void PutPlayer(ReachSearch& s, const Node& node, float yaw)
{
    ResetGameState();
    gameState.viewDistance = s.options.viewDistance;
    gameState.position = node.position;
    gameState.eye = {node.position.x, node.position.y + EYE_HEIGHT, node.position.z};
    gameState.cell = {PlayerCell(node.position.x), PlayerCell(node.position.y), PlayerCell(node.position.z)};
    gameState.onGround = true;
    gameState.yaw = yaw;
    if (node.lift >= 0) SetLift(s.lifts[node.lift], node.liftY, node.liftVelocity);
    // A lift coming down the column the player stands in waits above their head for as long as
    // they stand there, so no lift is ever lower over a standing player; where its shaft ends
    // lower than that, the player can only be standing on it. A run before may have left it anywhere.
    int own = LiftInColumn(s, gameState.cell.x, gameState.cell.z);
    if (own >= 0 && own != node.lift) {
        const Lift& lift = s.lifts[own];
        float y = lift.entity->y, feet = node.position.y, head = feet + LIFT_CLEARANCE;
        if (y <= head && y + s.liftDeck > feet)
            SetLift(lift, head + LIFT_WAIT_GAP <= lift.top ? head + LIFT_WAIT_GAP : std::max(lift.bottom, feet - s.liftDeck),
                    -LIFT_SPEED);
    }
    s.runOver = false;
    s.runStarting = true;
    s.lastStood = gameState.cell;
}

static void HoldKeys(bool walk, bool jump)
{
    memset(keyState, 0, sizeof keyState);
    if (walk) keyState[SDLK_w] = BUTTON_HELD;
    if (jump) keyState[SDLK_SPACE] = BUTTON_HELD;
}

// How the player at `p` has left the world, or -1 while they are in it. In it, the player's cell
// lies on the grid.
static int WayOutOfWorld(const Vec3& p)
{
    const float near = -CELL_SIZE / 2.0f, farX = WORLD_EXTENT_X + near, farZ = WORLD_EXTENT_Z + near;
    if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z)) return OUT_NOT_A_NUMBER;
    if (p.y < BELOW_WORLD_Y) return OUT_BELOW;
    if (p.y >= ABOVE_WORLD_Y) return OUT_ABOVE;
    if (p.x < near || p.z < near || p.x >= farX || p.z >= farZ) return OUT_OFF_GRID;
    return -1;
}

// Calls visit(i) for each collectable i not yet within reach in the cells next to cell c (and c).
template <typename Visit>
static void ForUnreachedAround(const ReachSearch& s, const CellCoord& c, Visit visit)
{
    for (int x = std::max(c.x - 1, 0); x <= std::min(c.x + 1, GRID_SIZE_X - 1); x++)
        for (int y = std::max(c.y - 1, 0); y <= std::min(c.y + 1, TOP_LAYER); y++)
            for (int z = std::max(c.z - 1, 0); z <= std::min(c.z + 1, GRID_SIZE_Z - 1); z++) {
                int i = s.collectableInCell[CellIndex(x, y, z)];
                if (i >= 0 && !s.collectableReached[i]) visit(i);
            }
}

// One update of the run, and what it found: collectables within reach, and the cell stood on,
// queued when new. False when the run is over: the player has left the world (counted), or
// stands outside the region (cut; outside it a run is followed only while the player is in the
// air, so that a fall out of the world beside the region is seen).
static bool Step(ReachSearch& s, const Node& start, const char* keys)
{
    if (s.runOver) return false;
    if (s.runStarting) {
        // Where the lifts around the start were, for the report of a run out of the world.
        s.runStarting = false;
        int n = 0;
        s.startLifts[0] = 0;
        for (int x = gameState.cell.x - 1; x <= gameState.cell.x + 1; x++)
            for (int z = gameState.cell.z - 1; z <= gameState.cell.z + 1; z++) {
                int l = LiftInColumn(s, x, z);
                if (l >= 0 && n < (int)sizeof s.startLifts - 64)
                    n += snprintf(s.startLifts + n, sizeof s.startLifts - n, ", the lift at (%d, %d) at %.2f moving %.3f", x,
                                  z, s.lifts[l].entity->y, s.lifts[l].entity->velocityY);
            }
    }
    UpdateGame(s.options.step);
    s.updates++;
    const Vec3& p = gameState.position;
    int way = WayOutOfWorld(p);
    if (way >= 0) {
        s.escapes[way]++;
        s.runOver = true;
        printf("out of the world, %s: from (%.2f, %.2f, %.2f), %s, yaw %.2f, last stood in cell (%d, %d, %d), "
               "now at (%.1f, %.1f, %.1f)%s\n",
               WAY_OUT_NAMES[way], start.position.x, start.position.y, start.position.z, keys, gameState.yaw,
               s.lastStood.x, s.lastStood.y, s.lastStood.z, p.x, p.y, p.z, s.startLifts);
        return false;
    }
    const CellCoord& c = gameState.cell;
    if (!InRegion(s, c.x, c.z)) {
        s.runOver = gameState.onGround;
        return !s.runOver;
    }
    if (gameState.onGround) s.lastStood = c;
    if (!s.searching) return true;
    ForUnreachedAround(s, c, [&](int i) {
        if (!OutOfPickupReach(s.collectables[i], p)) s.collectableReached[i] = true;
    });
    int cell = CellIndex(c.x, c.y, c.z);
    if (gameState.onGround && !s.visited[cell]) {
        s.visited[cell] = 1;
        int l = LiftUnderPlayer(s);
        s.queue.push_back({p, l, l >= 0 ? s.lifts[l].entity->y : 0.0f, l >= 0 ? s.lifts[l].entity->velocityY : 0.0f});
    }
    return true;
}

// Lets go of every key until the player stands again, so that no fall that ends a run goes
// unseen (a fall out of the world takes a few hundred updates). False when they left the world.
static const int LAND_TIME = 600;

static bool Land(ReachSearch& s, const Node& start, const char* keys)
{
    HoldKeys(false, false);
    for (int i = 0, n = Updates(s, LAND_TIME); i < n && !gameState.onGround; i++)
        if (!Step(s, start, keys)) return false;
    return !s.runOver;
}

// How a run ended.
enum Outcome { RUN_MOVED, RUN_BLOCKED, RUN_DROPPED, RUN_LEFT };

static Outcome Run(ReachSearch& s, const Node& start, float yaw, JumpMode mode, int walkAfter = 0,
                   const Vec3* aim = nullptr);

static const float LEVEL_WITH = 0.5f;  // a rider's feet this little above a storey's floor step off onto it

// When the jumps from a waiting lift start walking: at once, or once risen past the ceiling of
// the storey the lift waits in, to land on the floor above it.
static const int RIDE_JUMP_WALK_AFTER[] = {0, 8, 16};  // time units

// Walks off a rising lift along each axis where it was level with the floor of a storey it passed,
// as a rider steps off at the storey they want.
static void StepOff(ReachSearch& s, const std::vector<Node>& storeys)
{
    for (const Node& level : storeys)
        for (int h = 0; h < 4; h++) Run(s, level, (float)h * PI / 2, JUMP_NONE);
}

// Stands still on a lift until it turns at the top of its shaft or stops (it waits there for a
// rider standing over its origin), or the player is off it, noting in `storeys` where it was level
// with the floor of each storey it passed. Where it waits, a held jump along each axis: the storey
// of the shaft's head is above the lift, reached only that way. True when the ride got to the top;
// a ride cut short leaves the lift to be ridden again.
static bool Ride(ReachSearch& s, const Node& start, int lift, std::vector<Node>& storeys)
{
    HoldKeys(false, false);
    Vec3 last = gameState.position;
    bool rose = false, top = false;
    int passed = gameState.cell.y;  // the highest layer whose floor the rider has been level with
    const int settled = Updates(s, RIDE_SETTLED), offLimit = Updates(s, RIDE_OFF_TIME);
    const Entity& carrier = *s.lifts[lift].entity;
    for (int i = 0, still = 0, off = 0, n = Updates(s, RIDE_TIME); i < n; i++) {
        if (!Step(s, start, "riding a lift")) return false;
        if (carrier.velocityY < 0) {
            top = rose;
            break;
        }
        // A lift that waits may sink a little under its rider, who then stands in the air for an
        // update; off it for longer, they have left it.
        if (LiftUnderPlayer(s) != lift) {
            if (++off == offLimit) break;
            continue;
        }
        off = 0;
        rose = true;
        const Vec3& p = gameState.position;
        float above = p.y - (CELL_SIZE * gameState.cell.y + (float)FLOOR_TOP);
        if (gameState.cell.y > passed && above >= 0 && above < LEVEL_WITH && carrier.velocityY > 0) {
            passed = gameState.cell.y;
            storeys.push_back({p, lift, carrier.y, carrier.velocityY});
        }
        // A waiting lift may tremble by a few hundredths as it is filed in one layer or the next.
        if (std::fabs(p.y - last.y) < RIDE_STILL) {
            still++;
        } else {
            still = 0;
            last = p;
        }
        if (still == settled) {
            Node waiting = {p, lift, carrier.y, carrier.velocityY};
            for (int h = 0; h < 4; h++)
                for (int walkAfter : RIDE_JUMP_WALK_AFTER)
                    Run(s, waiting, (float)h * PI / 2, JUMP_HELD, Updates(s, walkAfter));
            return true;
        }
    }
    Land(s, start, "riding a lift");
    return top;
}

// Walks from `start` along `yaw` (from update `walkAfter` on) with the jump key used as `mode`, until the player stands in
// another cell (or, jumping, lands), stops against something, or the run's time is up; then
// rides any lift stood on.
static Outcome Run(ReachSearch& s, const Node& start, float yaw, JumpMode mode, int walkAfter, const Vec3* aim)
{
    PutPlayer(s, start, yaw);
    CellCoord from = gameState.cell, at = from;
    Outcome outcome = RUN_BLOCKED;
    bool airborne = false;
    size_t pending = SIZE_MAX;  // the queued node of the cell the walk is crossing
    int limit = Updates(s, mode == JUMP_NONE ? WALK_TIME : RUN_TIME), settle = Updates(s, SETTLE_TIME);
    s.lastRise = 0;
    for (int i = 0; i < limit; i++) {
        // Steered at `aim` until there, as a player walks to a point; then straight on.
        const Vec3& now = gameState.position;
        if (aim && (aim->x - now.x) * (aim->x - now.x) + (aim->z - now.z) * (aim->z - now.z) > AIM_REACHED * AIM_REACHED)
            gameState.yaw = std::atan2(aim->z - now.z, aim->x - now.x);
        HoldKeys(i >= walkAfter, mode == JUMP_HELD || (mode == JUMP_TAP && i == 0));
        size_t queued = s.queue.size();
        if (!Step(s, start, JUMP_NAMES[mode])) return RUN_LEFT;
        airborne |= !gameState.onGround;
        const CellCoord& c = gameState.cell;
        const Vec3& p = gameState.position;
        s.lastRise = std::max(s.lastRise, p.y - start.position.y);
        if (!gameState.onGround) continue;
        if (c.x != at.x || c.y != at.y || c.z != at.z) {
            if (outcome == RUN_BLOCKED) outcome = c.y < from.y ? RUN_DROPPED : RUN_MOVED;
            at = c;
            pending = s.queue.size() == queued + 1 ? queued : SIZE_MAX;
            // Stood on before: its own runs go on from there; but a walk onto a lift goes on to its middle.
            if (pending == SIZE_MAX && mode == JUMP_NONE && s.liftInColumn[ColumnIndex(c.x, c.z)] < 0) break;
        }
        if (mode != JUMP_NONE && airborne) break;
        // A walk moves a new cell's node to where it crosses the cell's middle, so that the runs
        // from there start in the middle rather than at an edge; it goes on across further cells.
        float along = (p.x - CELL_SIZE * c.x) * std::cos(yaw) + (p.z - CELL_SIZE * c.z) * std::sin(yaw);
        if (along >= 0 && (pending != SIZE_MAX || LiftUnderPlayer(s) >= 0)) {
            if (pending != SIZE_MAX && s.queue[pending].lift < 0) s.queue[pending].position = p;
            if (LiftUnderPlayer(s) >= 0) break;
            pending = SIZE_MAX;
        }
        if (i > settle && std::fabs(gameState.velocity.x) + std::fabs(gameState.velocity.z) < 0.01f) break;
    }
    if (!Land(s, start, JUMP_NAMES[mode])) return RUN_LEFT;
    int lift = LiftUnderPlayer(s);
    if (lift >= 0) {
        if (start.lift == lift) return RUN_MOVED;
        // Boarded from the floor of the foot's layer (a street, or a room floor at its top). Only a
        // ride from there passes every storey of the shaft; one boarded higher up is ridden each time.
        Lift& onto = s.lifts[lift];
        bool fromFoot = start.position.y < onto.bottom + CELL_SIZE;
        if (fromFoot) onto.boarded = true;
        if (!onto.ridden) {
            std::vector<Node> storeys;
            bool top = Ride(s, start, lift, storeys);
            StepOff(s, storeys);
            if (fromFoot) onto.ridden = top;
        }
        return RUN_MOVED;
    }
    return outcome;
}

// Sets each lift in a column next to the player's cell to a height near the player's feet:
// phase 0 leaves them as they are; the others are what a player waiting beside the shaft sees
// come by (a lift keeps moving while nobody stands in its column), at the speed it was placed with.
static const float LIFT_PHASES[][2] = {{0, 1}, {1.5f, -1}, {3, -1}, {4.5f, -1}, {6, -1}};
static const int LIFT_PHASE_COUNT = 1 + (int)(sizeof LIFT_PHASES / sizeof LIFT_PHASES[0]);

// The lifts whose foot is beside the player's cell, on the same layer.
static std::vector<int> LiftsBeside(const ReachSearch& s, const Vec3& p)
{
    std::vector<int> near;
    int cx = PlayerCell(p.x), cz = PlayerCell(p.z);
    for (int x = cx - 1; x <= cx + 1; x++)
        for (int z = cz - 1; z <= cz + 1; z++) {
            int l = LiftInColumn(s, x, z);
            if ((x != cx || z != cz) && l >= 0) {
                // A room's floor lies at the top of the foot's layer, where the feet count as the
                // layer above.
                int above = PlayerCell(p.y) - PlayerCell(s.lifts[l].bottom);
                if (above == 0 || above == 1) near.push_back(l);
            }
        }
    return near;
}

static void SetLiftPhase(const ReachSearch& s, const std::vector<int>& near, const Vec3& p, int phase)
{
    if (phase == 0) return;
    for (int l : near) {
        const Lift& lift = s.lifts[l];
        float level = std::max(lift.bottom, std::min(lift.top, p.y - s.liftDeck));
        float y = std::max(lift.bottom, std::min(lift.top, level + LIFT_PHASES[phase - 1][0]));
        SetLift(lift, y, LIFT_PHASES[phase - 1][1] * LIFT_SPEED);
    }
}

static float HeadingYaw(int h) { return (float)h * 2 * PI / HEADINGS; }

// The column `steps` cells from `node`'s along heading h.
static void ColumnAlong(const Node& node, int h, int steps, int& x, int& z)
{
    x = PlayerCell(node.position.x) + steps * (int)std::lround(std::cos(HeadingYaw(h)));
    z = PlayerCell(node.position.z) + steps * (int)std::lround(std::sin(HeadingYaw(h)));
}

// The cell next to `node`'s along heading h, on the same layer, is already stood on: a run that
// way finds nothing its own runs do not. A lift's column is never taken as stood on: what a walk
// onto it finds depends on where the lift is.
static bool NeighbourVisited(const ReachSearch& s, const Node& node, int h)
{
    int x, z;
    ColumnAlong(node, h, 1, x, z);
    return InGrid(x, z) && s.visited[CellIndex(x, PlayerCell(node.position.y), z)] && s.liftInColumn[ColumnIndex(x, z)] < 0;
}

// Walks from a cell straight at each collectable not yet within reach in the cells around it,
// steering toward it as a player does: first walking, then with the jump held for one floating
// above a roof or a step. The walks between cells need not pass close enough to take it.
static const int AIMED_TIME = 60;

static void WalkToCollectables(ReachSearch& s, const Node& node)
{
    CellCoord c = {PlayerCell(node.position.x), PlayerCell(node.position.y), PlayerCell(node.position.z)};
    ForUnreachedAround(s, c, [&](int i) {
        for (int mode = JUMP_NONE; !s.collectableReached[i] && mode <= JUMP_HELD; mode += 2) {
            const Vec3 e = s.collectables[i];
            PutPlayer(s, node, 0);
            for (int u = 0, n = Updates(s, AIMED_TIME); u < n && !s.collectableReached[i]; u++) {
                const Vec3& p = gameState.position;
                float dx = e.x - p.x, dz = e.z - p.z;
                gameState.yaw = std::atan2(dz, dx);
                HoldKeys(dx * dx + dz * dz > 0.25f, mode == JUMP_HELD);
                if (!Step(s, node, JUMP_NAMES[mode])) break;
            }
            Land(s, node, JUMP_NAMES[mode]);
        }
    });
}

// A walk along axis h from off the middle line of the cell may miss a doorway at its far side
// (a door 5 wide leaves a player 2.5 wide little room): once more then, steered at the middle of
// the cell beyond. True when that walk reached another cell.
static bool AimAtNeighbour(ReachSearch& s, const Node& node, int h)
{
    int x, z;
    ColumnAlong(node, h, 1, x, z);
    float dx = std::cos(HeadingYaw(h)), dz = std::sin(HeadingYaw(h));
    float across = (node.position.x - CELL_SIZE * PlayerCell(node.position.x)) * dz -
                   (node.position.z - CELL_SIZE * PlayerCell(node.position.z)) * dx;
    if (std::fabs(across) < AIM_OFFSET) return false;
    Vec3 aim = {(float)CELL_SIZE * x, node.position.y, (float)CELL_SIZE * z};
    return Run(s, node, HeadingYaw(h), JUMP_NONE, 0, &aim) == RUN_MOVED;
}

// Walks from a cell toward each neighbour not yet stood on: along the four axes, and along a
// diagonal where the walks on both sides of it were stopped or led down. Gives the headings
// whose walk did not reach another cell.
static unsigned WalkFrom(ReachSearch& s, const Node& node)
{
    WalkToCollectables(s, node);
    std::vector<int> near = LiftsBeside(s, node.position);
    unsigned stopped = 0;
    for (int phase = 0; phase < (near.empty() ? 1 : LIFT_PHASE_COUNT); phase++) {
        SetLiftPhase(s, near, node.position, phase);
        for (int h = 0; h < HEADINGS; h += 2)
            if (!NeighbourVisited(s, node, h) && Run(s, node, HeadingYaw(h), JUMP_NONE) != RUN_MOVED &&
                !AimAtNeighbour(s, node, h))
                stopped |= 1u << h;
        for (int h = 1; h < HEADINGS; h += 2) {
            unsigned sides = (1u << (h - 1)) | (1u << ((h + 1) % HEADINGS));
            if ((stopped & sides) == sides && !NeighbourVisited(s, node, h) &&
                Run(s, node, HeadingYaw(h), JUMP_NONE) != RUN_MOVED)
                stopped |= 1u << h;
        }
    }
    return stopped;
}

// Nothing is built in the two columns along heading h from `node`'s, from the layer below the
// player's to the one above, and the player is above the room level: a jump that way can only
// fall back or fall past, onto what the walks of the cells below already reach.
static bool NothingToLandOn(const Node& node, int h)
{
    int y = PlayerCell(node.position.y);
    for (int d = 1; d <= 2; d++) {
        int x, z;
        ColumnAlong(node, h, d, x, z);
        for (int layer = std::max(y - 1, 0); layer <= std::min(y + 1, TOP_LAYER); layer++)
            if (TileAt(x, layer, z) != TILE_EMPTY) return false;
    }
    return y > ROOM_LAYER;
}

// Jumps from a cell along each heading whose walk was stopped, where the cell that way is not
// already stood on, and along each axis where the cell one layer up that way is not: a held
// jump, and where something overhead cut it short, a tapped one.
static void JumpFrom(ReachSearch& s, const Node& node, unsigned stopped)
{
    std::vector<int> near = LiftsBeside(s, node.position);
    int y = PlayerCell(node.position.y);
    for (int h = 0; h < HEADINGS; h++) {
        bool blocked = (stopped & (1u << h)) && !NeighbourVisited(s, node, h) && !NothingToLandOn(node, h);
        // A climb: along an axis, onto what stands on the neighbouring cell, one layer up.
        int x, z;
        ColumnAlong(node, h, 1, x, z);
        bool climb = h % 2 == 0 && InGrid(x, z) && y + 1 < TOP_LAYER && !s.visited[CellIndex(x, y + 1, z)] &&
                     TileAt(x, y, z) != TILE_EMPTY;
        if (!blocked && !climb) continue;
        for (int phase = 0; phase < (near.empty() ? 1 : LIFT_PHASE_COUNT); phase++) {
            SetLiftPhase(s, near, node.position, phase);
            Run(s, node, HeadingYaw(h), JUMP_HELD);
            if (s.lastRise < FREE_JUMP_RISE) Run(s, node, HeadingYaw(h), JUMP_TAP);
        }
    }
}

// ---- the search, shared between two processes

// What a worker found, written back to the searching process: its updates and escapes, the
// headings stopped at each of its cells, the cells it newly stood on, the collectables it
// reached and the lifts it boarded and rode.
static void WriteFindings(const ReachSearch& s, FILE* f, const std::vector<unsigned>& stopped)
{
    size_t n = s.queue.size();
    fwrite(&s.updates, sizeof s.updates, 1, f);
    fwrite(s.escapes, sizeof s.escapes, 1, f);
    fwrite(stopped.data(), sizeof(unsigned), stopped.size(), f);
    fwrite(&n, sizeof n, 1, f);
    for (const Node& node : s.queue) fwrite(&node, sizeof node, 1, f);
    for (size_t i = 0; i < s.collectables.size(); i++) fputc(s.collectableReached[i], f);
    for (const Lift& lift : s.lifts) fputc(lift.boarded | lift.ridden << 1, f);
}

static void ReadFindings(ReachSearch& s, FILE* f, unsigned* stopped, size_t count, std::vector<Node>& found)
{
    long long moreUpdates = 0;
    int moreEscapes[WAY_OUT_COUNT] = {};
    size_t n = 0;
    bool ok = fread(&moreUpdates, sizeof moreUpdates, 1, f) == 1 && fread(moreEscapes, sizeof moreEscapes, 1, f) == 1 &&
              fread(stopped, sizeof(unsigned), count, f) == count && fread(&n, sizeof n, 1, f) == 1;
    for (size_t i = 0; ok && i < n; i++) {
        Node node;
        ok = fread(&node, sizeof node, 1, f) == 1;
        found.push_back(node);
    }
    for (size_t i = 0; ok && i < s.collectables.size(); i++)
        if (fgetc(f) == 1) s.collectableReached[i] = true;
    for (Lift& lift : s.lifts) {
        int flags = fgetc(f);
        ok = ok && flags != EOF;
        lift.boarded |= (flags & 1) != 0;
        lift.ridden |= (flags & 2) != 0;
    }
    if (!ok) {
        fprintf(stderr, "reach: a worker's findings could not be read\n");
        exit(2);
    }
    s.updates += moreUpdates;
    for (int w = 0; w < WAY_OUT_COUNT; w++) s.escapes[w] += moreEscapes[w];
}

// The cell index of where a node stands.
static int NodeCell(const Node& node)
{
    return CellIndex(PlayerCell(node.position.x), PlayerCell(node.position.y), PlayerCell(node.position.z));
}

// Walks (or jumps) from nodes[from..to): in two worker processes when there are enough of
// them, each with its own copy of the world; the cells they stand on are merged, first come.
static void SearchFrom(ReachSearch& s, std::vector<Node>& nodes, size_t from, size_t to, std::vector<unsigned>& stoppedOf,
                       bool jump)
{
    const size_t WORKERS = 2, SERIAL = 64;
    auto work = [&](size_t begin, size_t end, std::vector<unsigned>& stopped) {
        for (size_t i = begin; i < end; i++) {
            if (!jump) stopped.push_back(WalkFrom(s, nodes[i]));
            else if (stoppedOf[i]) JumpFrom(s, nodes[i], stoppedOf[i]);
        }
    };
    std::vector<Node> found;
    if (to - from < SERIAL) {
        std::vector<unsigned> stopped;
        work(from, to, stopped);
        if (!jump) stoppedOf.insert(stoppedOf.end(), stopped.begin(), stopped.end());
        found.assign(s.queue.begin(), s.queue.end());
        s.queue.clear();
    } else {
        fflush(stdout);
        FILE* results[WORKERS];
        pid_t pids[WORKERS];
        size_t bounds[WORKERS + 1];
        for (size_t w = 0; w <= WORKERS; w++) bounds[w] = from + (to - from) * w / WORKERS;
        for (size_t w = 0; w < WORKERS; w++) {
            results[w] = tmpfile();
            pids[w] = results[w] ? fork() : -1;
            if (pids[w] < 0) {
                fprintf(stderr, "reach: could not start a worker\n");
                exit(2);
            }
            if (pids[w] == 0) {
                s.updates = 0;
                std::fill(s.escapes, s.escapes + WAY_OUT_COUNT, 0);
                std::vector<unsigned> stopped;
                work(bounds[w], bounds[w + 1], stopped);
                WriteFindings(s, results[w], stopped);
                fflush(stdout);
                _exit(fflush(results[w]) == 0 ? 0 : 1);
            }
        }
        if (!jump) stoppedOf.resize(to);
        for (size_t w = 0; w < WORKERS; w++) {
            int status = 0;
            if (waitpid(pids[w], &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                fprintf(stderr, "reach: a worker failed\n");
                exit(2);
            }
            rewind(results[w]);
            ReadFindings(s, results[w], jump ? nullptr : &stoppedOf[bounds[w]], jump ? 0 : bounds[w + 1] - bounds[w],
                         found);
            fclose(results[w]);
        }
    }
    for (const Node& node : found) {
        int cell = NodeCell(node);
        if (s.visited[cell] == 2) continue;
        s.visited[cell] = 2;  // merged: a second worker's find of the same cell is dropped
        nodes.push_back(node);
    }
}

// The search: walks from every cell reached, wave by wave; when they find nothing more, jumps
// from the cells whose walks were stopped, and walks again from whatever the jumps reached.
static void SearchWaves(ReachSearch& s)
{
    std::vector<Node> nodes(s.queue.begin(), s.queue.end());
    s.queue.clear();
    for (const Node& node : nodes) s.visited[NodeCell(node)] = 2;
    std::vector<unsigned> stoppedOf;
    size_t walked = 0, jumped = 0;
    while (walked < nodes.size()) {
        while (walked < nodes.size()) {
            size_t to = nodes.size();
            SearchFrom(s, nodes, walked, to, stoppedOf, false);
            if (walked / 20000 != to / 20000)
                fprintf(stderr, "reach: %zu cells walked from, %lld updates\n", to, s.updates);
            walked = to;
        }
        SearchFrom(s, nodes, jumped, walked, stoppedOf, true);
        jumped = walked;
        fprintf(stderr, "reach: %zu cells jumped from, %lld updates\n", jumped, s.updates);
    }
}

// ---- the descents

static const int DESCENT_WALK_TIME = 900;  // longest walk down or up a descent (about 80 units)
static const float STANDS_ON = 0.05f;      // feet this near a floor's height stand on it
static const float ON_THE_BED = 0.5f;      // on a channel's bed (or the drain stone of its head), not its walkway

// Walks with W held from (x, y, z) along `yaw` until the feet stand within `near` of height
// `floor` at least `along` units from the start, or the time is up; true when they did. A walk out
// of the world is counted with the search's runs.
static bool WalkTo(ReachSearch& s, const char* name, float x, float y, float z, float yaw, float along, float floor,
                   float near)
{
    Node start = {{x, y, z}, -1, 0, 0};
    PutPlayer(s, start, yaw);
    HoldKeys(true, false);
    float cx = std::cos(yaw), cz = std::sin(yaw);
    for (int i = 0, n = Updates(s, DESCENT_WALK_TIME); i < n; i++) {
        if (!Step(s, start, name)) return false;
        const Vec3& p = gameState.position;
        if (gameState.onGround && std::fabs(p.y - floor) < near && (p.x - x) * cx + (p.z - z) * cz >= along)
            return true;
    }
    return false;
}

// The cell of layer 1 that the descent from the top at (x, z) passes d cells along its run.
static void DescentWay(int x, int z, int d, int& wayX, int& wayZ)
{
    int o = worldGrid[CellIndex(x, CHANNEL_LAYER, z)].orientation % ORIENTATION_COUNT;
    wayX = x + d * SIDE_DX[o];
    wayZ = z + d * SIDE_DZ[o];
}

// Whether the descent from the top at (x, z) has another's upper ramp in its way on layer 1, or
// its own upper ramp in another's way; *otherX, *otherZ give that descent's top. The generator
// checks only that a new descent's own cells are empty, so two may cross there, each one's ramp
// then standing across the other's way.
static bool CrossedDescent(int x, int z, int* otherX, int* otherZ)
{
    auto inWay = [](int topX, int topZ, int cellX, int cellZ) {
        for (int d = 0, wx, wz; d <= DESCENT_LOWER_RAMP; d++) {
            DescentWay(topX, topZ, d, wx, wz);
            if (d != DESCENT_UPPER_RAMP && wx == cellX && wz == cellZ) return true;
        }
        return false;
    };
    int rampX, rampZ, otherRampX, otherRampZ;
    DescentWay(x, z, DESCENT_UPPER_RAMP, rampX, rampZ);
    for (int ox = x - 2 * DESCENT_LOWER_RAMP; ox <= x + 2 * DESCENT_LOWER_RAMP; ox++)
        for (int oz = z - 2 * DESCENT_LOWER_RAMP; oz <= z + 2 * DESCENT_LOWER_RAMP; oz++) {
            if ((ox == x && oz == z) || TileAt(ox, CHANNEL_LAYER, oz) != TILE_DESCENT_TOP) continue;
            DescentWay(ox, oz, DESCENT_UPPER_RAMP, otherRampX, otherRampZ);
            if (inWay(x, z, otherRampX, otherRampZ) || inWay(ox, oz, rampX, rampZ)) {
                *otherX = ox;
                *otherZ = oz;
                return true;
            }
        }
    return false;
}

// Walks down the middle of every descent the search must reach, from the channel's bed beside its
// top to the floor of its entrance, and back up to the bed: the ways between the channel
// and the cave levels. Counts those that lead both ways, and prints each that does not. The
// walks add nothing to what the search found.
static void WalkDescents(ReachSearch& s, ReachFigures& figures)
{
    s.searching = false;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) {
            const WorldCell& top = worldGrid[CellIndex(x, CHANNEL_LAYER, z)];
            if (top.tileType != TILE_DESCENT_TOP || !Required(s, x, z)) continue;
            figures.descents++;
            int o = top.orientation % ORIENTATION_COUNT, dx = SIDE_DX[o], dz = SIDE_DZ[o];
            float yaw = std::atan2((float)dz, (float)dx), bed = CELL_SIZE * CHANNEL_LAYER + (float)CHANNEL_BED_TOP;
            // Down from the middle of the channel beside the top to the middle of the entrance, and
            // up from there into the channel, past the edge of its walkway.
            float cave = CELL_SIZE * CAVE_LAYER + (float)FLOOR_TOP, length = (float)CELL_SIZE * (DESCENT_ENTRANCE + 1);
            bool down = WalkTo(s, "down a descent", (float)CELL_SIZE * (x - dx), bed, (float)CELL_SIZE * (z - dz), yaw,
                               length, cave, STANDS_ON);
            bool up = WalkTo(s, "up a descent", (float)CELL_SIZE * (x + DESCENT_ENTRANCE * dx), cave,
                             (float)CELL_SIZE * (z + DESCENT_ENTRANCE * dz), yaw + PI, length - CELL_SIZE / 2.0f, bed,
                             ON_THE_BED);
            if (down && up) {
                figures.descentsWalked++;
                continue;
            }
            printf("descent not walked %s: from the top at (%d, %d, %d)", down ? "up" : up ? "down" : "down or up", x,
                   CHANNEL_LAYER, z);
            int ox, oz;
            if (CrossedDescent(x, z, &ox, &oz))
                printf(", crossed on layer %d by the descent from the top at (%d, %d, %d)", CHANNEL_LAYER - 1, ox,
                       CHANNEL_LAYER, oz);
            printf("\n");
        }
}

// ---- a whole search

// The step of the game at its frame cap: that of a frame the frame clock holds to its shortest.
static float StepAtFrameCap()
{
    lastTick = 0;
    MeasureFrame(0);
    return FrameTimeStep(framesPerSecond);
}

// Sets up the world and the game to search (a seed's new game, or the one saved), lets the player
// come to rest at the start, searches from there, walks the descents, and counts what was found,
// printing each collectable it must reach that is out of reach and each lift not boarded. Null, or
// why it could not search.
static const char* SearchWorld(ReachSearch& s, ReachFigures& figures)
{
    LoadTileModels();
    LoadEntityModels();
    const EntityModel& liftModel = entityModels[ENTITY_LIFT];
    if (tileModels[TILE_BOUNDARY].vertexCount == 0 || liftModel.vertexCount == 0)
        return "run it from the folder that holds Media/";
    s.liftDeck = -1e9f;
    for (int i = 0; i < liftModel.vertexCount; i++) s.liftDeck = std::max(s.liftDeck, liftModel.positions[3 * i + 1]);

    // A first start's new game: the world of the seed, the player at the start, the entities
    // placed; or the saved world and game.
    if (s.options.saved) {
        if (!LoadWorldGrid() || !LoadCoreState()) return "no whole saved world and game in Saves/";
    } else {
        SeedWorldRandom(s.options.seed);
        GenerateWorld();
        ClearEntityIndex();
        ResetGameState();
        PlaceEntities();
    }
    SurveyEntities(s);
    s.visited.assign(CELL_COUNT, 0);
    s.searching = true;

    // Where the player comes to rest at the start is the first cell.
    Node start = {gameState.position, -1, 0, 0};
    PutPlayer(s, start, 0);
    gameState.onGround = false;
    HoldKeys(false, false);
    for (int i = 0, n = Updates(s, START_TIME); i < n; i++) Step(s, start, "standing");
    if (!gameState.onGround) return "the player does not come to rest at the start";
    if (s.queue.empty()) s.queue.push_back({gameState.position, -1, 0, 0});
    SearchWaves(s);
    WalkDescents(s, figures);

    for (size_t i = 0; i < s.collectables.size(); i++) {
        const Vec3& e = s.collectables[i];
        if (!Required(s, PlayerCell(e.x), PlayerCell(e.z))) continue;
        figures.collectables++;
        if (s.collectableReached[i]) figures.collectablesReached++;
        else printf("out of reach: the collectable at (%g, %g, %g)\n", e.x, e.y, e.z);
    }
    for (const Lift& lift : s.lifts) {
        if (!Required(s, lift.x, lift.z)) continue;
        figures.lifts++;
        if (lift.boarded) figures.liftsBoarded++;
        else printf("not boarded on foot: the lift at (%d, %d)\n", lift.x, lift.z);
    }
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int y = 0; y < GRID_LAYERS; y++)
            for (int z = 0; z < GRID_SIZE_Z; z++) figures.cellsByLayer[y] += s.visited[CellIndex(x, y, z)] != 0;
    for (int n : figures.cellsByLayer) figures.cells += n;
    for (int w = 0; w < WAY_OUT_COUNT; w++) figures.runsOut += figures.runsOutBy[w] = s.escapes[w];
    figures.updates = s.updates;
    return nullptr;
}

// Whether the search found every place it must reach and no way out of the world.
static bool Passed(const ReachFigures& f)
{
    return f.collectablesReached == f.collectables && f.runsOut == 0 && f.liftsBoarded == f.lifts &&
           f.descentsWalked == f.descents;
}

// ---- the map

// The reached cells as a picture: four panels (cave level, channel level, room level, and the
// levels above it seen from above), each cell one pixel, scaled by 2.
static bool WriteMap(const ReachSearch& s, const char* path)
{
    const int SCALE = 2, PANEL = GRID_SIZE_X * SCALE, GAP = 8, W = 2 * PANEL + GAP, H = 2 * PANEL + GAP;
    std::vector<uint8_t> rgb((size_t)W * H * 3, 255);
    auto paint = [&](int panel, int x, int z, uint8_t r, uint8_t g, uint8_t b) {
        int px = (panel % 2) * (PANEL + GAP) + x * SCALE, py = (panel / 2) * (PANEL + GAP) + z * SCALE;
        for (int dy = 0; dy < SCALE; dy++)
            for (int dx = 0; dx < SCALE; dx++) {
                uint8_t* q = &rgb[(((size_t)(py + dy)) * W + px + dx) * 3];
                q[0] = r, q[1] = g, q[2] = b;
            }
    };
    const int LAYERS[4][2] = {{CAVE_LAYER, CAVE_LAYER + 1}, {CHANNEL_LAYER, CHANNEL_LAYER}, {ROOM_LAYER, ROOM_LAYER},
                              {ROOM_LAYER + 1, TOP_LAYER}};
    for (int panel = 0; panel < 4; panel++)
        for (int x = 0; x < GRID_SIZE_X; x++)
            for (int z = 0; z < GRID_SIZE_Z; z++) {
                bool reached = false, built = false;
                for (int y = LAYERS[panel][0]; y <= LAYERS[panel][1]; y++) {
                    reached |= s.visited[CellIndex(x, y, z)] != 0;
                    built |= TileAt(x, y, z) != TILE_EMPTY;
                }
                if (reached) paint(panel, x, z, 60, 150, 70);
                else if (built) paint(panel, x, z, 150, 150, 150);
                else paint(panel, x, z, 30, 30, 40);
            }
    for (size_t i = 0; i < s.collectables.size(); i++) {
        const Vec3& e = s.collectables[i];
        int x = PlayerCell(e.x), y = PlayerCell(e.y), z = PlayerCell(e.z);
        int panel = y <= CAVE_LAYER + 1 ? 0 : y == CHANNEL_LAYER ? 1 : y == ROOM_LAYER ? 2 : 3;
        if (s.collectableReached[i]) paint(panel, x, z, 250, 210, 40);
        else paint(panel, x, z, 230, 30, 30);
    }
    for (const Lift& lift : s.lifts) paint(2, lift.x, lift.z, 40, 90, 230);
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    fprintf(f, "P6\n%d %d\n255\n", W, H);
    bool ok = fwrite(rgb.data(), 1, rgb.size(), f) == rgb.size();
    return fclose(f) == 0 && ok;
}

// ---- arguments and figures

static const char* const USAGE = "usage: reach SEED|--saved [--step DT] [--view N] [--region X0 Z0 X1 Z1] [--map FILE.ppm]";

// Reads the arguments into `options`; false, with why in `failure`, when they make no search.
static bool ReadArguments(int argc, char** argv, ReachOptions& options, std::string& failure)
{
    options = {false, 0, StepAtFrameCap(), NEW_GAME_VIEW_DISTANCE, {0, 0, GRID_SIZE_X - 1, GRID_SIZE_Z - 1}, nullptr};
    if (argc < 2) {
        failure = USAGE;
        return false;
    }
    options.saved = !strcmp(argv[1], "--saved");
    options.seed = options.saved ? 0 : (unsigned)strtoul(argv[1], nullptr, 10);
    for (int i = 2; i < argc; i++) {
        if (!strcmp(argv[i], "--region") && i + 4 < argc) {
            for (int k = 0; k < 4; k++) options.region[k] = atoi(argv[++i]);
        } else if (!strcmp(argv[i], "--step") && i + 1 < argc) {
            options.step = (float)atof(argv[++i]);
            if (!(options.step >= MIN_TIME_STEP && options.step <= MAX_TIME_STEP)) {
                char range[64];
                snprintf(range, sizeof range, "the step lies between %g and %g", MIN_TIME_STEP, MAX_TIME_STEP);
                failure = range;
                return false;
            }
        } else if (!strcmp(argv[i], "--view") && i + 1 < argc) {
            options.viewDistance = std::max(VIEW_DISTANCE_MIN, std::min(VIEW_DISTANCE_MAX, atoi(argv[++i])));
        } else if (!strcmp(argv[i], "--map") && i + 1 < argc) {
            options.mapPath = argv[++i];
        } else {
            failure = std::string("unknown argument ") + argv[i];
            return false;
        }
    }
    return true;
}

// The figures as key=value lines: what was searched, then what was found.
static void PrintFigures(const ReachOptions& o, const ReachFigures& f)
{
    if (o.saved) printf("world=saved\n");
    else printf("seed=%u\n", o.seed);
    printf("step=%g\nview_distance=%d\nregion=%d %d %d %d\ncells_by_layer=", o.step, o.viewDistance, o.region[0],
           o.region[1], o.region[2], o.region[3]);
    for (int y = 0; y < GRID_LAYERS; y++) printf(y ? " %d" : "%d", f.cellsByLayer[y]);
    printf("\ncells=%d\nupdates=%lld\ncollectables_within_reach=%d\ncollectables=%d\nruns_out=%d\n", f.cells, f.updates,
           f.collectablesReached, f.collectables, f.runsOut);
    for (int w = 0; w < WAY_OUT_COUNT; w++) {
        std::string key = std::string("runs_out_") + WAY_OUT_NAMES[w];
        std::replace(key.begin(), key.end(), ' ', '_');
        printf("%s=%d\n", key.c_str(), f.runsOutBy[w]);
    }
    printf("lifts_boarded_on_foot=%d\nlifts=%d\ndescents_walked=%d\ndescents=%d\n", f.liftsBoarded, f.lifts,
           f.descentsWalked, f.descents);
}

int main(int argc, char** argv)
{
    static ReachSearch search;
    std::string failure;
    if (!ReadArguments(argc, argv, search.options, failure)) {
        fprintf(stderr, "reach: %s\n", failure.c_str());
        return 2;
    }
    ReachFigures figures = {};
    if (const char* why = SearchWorld(search, figures)) {
        fprintf(stderr, "reach: %s\n", why);
        return 2;
    }
    PrintFigures(search.options, figures);
    if (search.options.mapPath && !WriteMap(search, search.options.mapPath)) {
        fprintf(stderr, "reach: could not write %s\n", search.options.mapPath);
        return 2;
    }
    return Passed(figures) ? 0 : 1;
}
