// Test support: an OpenGL window under the test display, shell commands, files and game runs.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "render/obj_loader.h"
#include "world/world_grid.h"

// Opens the game's display at the given size on $DISPLAY with the game's own OpenDisplay.
void OpenTestDisplay(int width, int height);
// Reads back the RGB of one window pixel, (x, y) from the top-left.
void ReadPixel(int x, int y, unsigned char rgb[3]);
// Of the bound texture: the width of `level`, level 0's internal format, the filters and both wraps.
using Ints = std::vector<GLint>;
using Floats = std::vector<float>;
Ints TextureShape(int level);
// Level 0 of the bound texture as `bytes` bytes a texel in `format`.
std::vector<uint8_t> Texels(int texels, GLenum format, int bytes);

// Runs `command` with sh in `dir`, standard output discarded, killed after `seconds`;
// returns its exit status, 128 + signal when killed.
int RunShell(const std::string& dir, const std::string& command, int seconds = 60);
// A fresh empty directory under /tmp.
std::string MakeTempDir();
// A fresh directory made the current one, holding the given empty subfolders.
std::string EnterTempDir(const std::vector<std::string>& folders = {});
// Whole contents of a file; empty when missing.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
// The SHA-256 digest of the bytes, in lower-case hexadecimal.
std::string Sha256Hex(const std::vector<unsigned char>& bytes);

// A folder laid out as the game expects: a copy of Media/, an empty Saves/, an 800 x 600 window.
std::string MakeGameFolder();

// Runs the game in `dir` under a private X server, with `dir`/home as its home: `launch` goes in
// front of the program on its command line; `input` is shell run while it plays, $pid the started
// process; the run is killed after `seconds`. Returns the exit status (-1 when none) and standard
// error without its last newline.
struct GameRun {
    int status;
    std::string error;
};
GameRun RunGameIn(const std::string& dir, const std::string& launch, const std::string& input,
                  int seconds = 120, const std::string& program = CAIRNFOLD_BINARY);

// A launch under faketime: time() at start-up, and so the seed of the game's WorldRandom(), is FAKE_SEED.
constexpr const char* FAKE_START = "TZ=UTC faketime -f '@2024-12-05 21:05:07'";
constexpr unsigned FAKE_SEED = 1733432707u;
// `input` that waits for the window, then sends the close request (to a wrapper's child if any).
constexpr const char* WAIT_FOR_WINDOW = "timeout 60 xdotool search --sync --onlyvisible --name Cairnfold >/dev/null;";
constexpr const char* CLOSE_GAME = "pkill -TERM -P $pid || kill -TERM $pid;";

// Releases what the OBJ loader allocated for a mesh or a collision mesh.
void FreeMesh(Mesh& mesh);
void FreeCollisionMesh(CollisionMesh* mesh);

// Crafting and reading grid cells: tile and orientation at (x, y, z), a box of rows x0..x1 by
// columns z0..z1 on layer y, the count of a tile on a layer, and expected cells.
inline int T(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].tileType; }
inline int O(int x, int y, int z) { return worldGrid[CellIndex(x, y, z)].orientation; }
inline void Put(int x, int y, int z, int tile, int orientation = 0)
{
    worldGrid[CellIndex(x, y, z)] = WorldCell{(uint8_t)tile, (uint8_t)orientation};
}
inline void Fill(int x0, int x1, int y, int z0, int z1, int tile, int orientation = 0)
{
    for (int x = x0; x <= x1; x++)
        for (int z = z0; z <= z1; z++) Put(x, y, z, tile, orientation);
}
int CountTiles(int y, int tile);
struct CellWant {
    int x, y, z, tile, orientation;
};
void ExpectCells(const std::vector<CellWant>& cells);
void PutCells(const std::vector<CellWant>& cells);

// The player tests: a new game on an empty grid and entity index with the shipped models loaded
// and no key down; the player put at rest at (x, y, z) in the cell of that point, looking along
// yaw; exactly the `held` keys down, and `pressed` going down this frame.
void NewGameOnEmptyGrid();
void PlacePlayer(float x, float y, float z, float yaw = 0.0f);
void HoldKeys(const std::vector<int>& held, int pressed = 0);
