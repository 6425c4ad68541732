// Saves: the world file and the core (progress) file in Saves/, written crash-safely and loaded only when whole and valid.
#pragma once

#include <cstddef>

#include "world/world_grid.h"

constexpr float SAVE_VERSION = 0.3f;  // the game's version; first four bytes of both files: 9A 99 99 3E

constexpr const char* SAVES_FOLDER = "Saves";        // holds both save files, beside Media/
constexpr const char* WORLD_SAVE_PATH = "Saves/worldgrid.dat";
constexpr const char* CORE_SAVE_PATH = "Saves/coresave.dat";
// A refused file is kept aside under its name plus this suffix, and a sound
// core file that a new game replaces under its name plus the other; when the
// name is taken, ".1", ".2", ... follow, so nothing kept earlier is replaced.
constexpr const char* REJECTED_SUFFIX = ".rejected";
constexpr const char* REPLACED_SUFFIX = ".replaced";
constexpr const char* TEMP_SUFFIX = ".tmp";           // a save is written here first, then renamed over the file

// The version, then the plane of tile bytes and the plane of orientation bytes.
constexpr int WORLD_FILE_SIZE = (int)(sizeof SAVE_VERSION + sizeof(WorldCell) * CELL_COUNT);
constexpr int CORE_HEADER_SIZE = 76;             // version and the game state
constexpr int ENTITY_RECORD_SIZE = 36;           // kind and eight floats

extern bool worldFileRejected;  // the last LoadWorldGrid found a file it could not accept
extern bool coreFileRejected;   // the last LoadCoreState found a file it could not accept
extern bool coreFileReplaced;   // the sound core file on disk is kept aside by the next SaveCoreState

// Writes the whole grid to Saves/worldgrid.dat. On failure the previous file
// stays as it was and one line goes to standard error.
void SaveWorldGrid();

// Reads Saves/worldgrid.dat into worldGrid. False, with worldGrid untouched,
// when the file is missing, of the wrong length, of another version or holds
// a tile code or orientation out of range.
bool LoadWorldGrid();

// Writes gameState and the whole entity index to Saves/coresave.dat, with the
// same failure behaviour as SaveWorldGrid.
void SaveCoreState();

// The checks and the copy of LoadWorldGrid and LoadCoreState on the bytes of
// a whole file: true when they were taken, false with nothing changed.
bool ReadWorldFile(const unsigned char* data, size_t size);
bool ReadCoreFile(const unsigned char* data, size_t size);

// Reads Saves/coresave.dat into gameState and the entity index, releasing
// every record the index held. False, with nothing changed, when the file is
// missing, of another version, ends early, has trailing bytes, or holds a
// count above 2, an entity kind outside 0..2 or a flag other than 0 or 1.
bool LoadCoreState();
