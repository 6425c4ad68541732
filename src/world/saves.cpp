#include "world/saves.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/platform.h"
#include "player/game_state.h"
#include "world/world_grid.h"

bool worldFileRejected;
bool coreFileRejected;
bool coreFileReplaced;

// Bytes of the file being written or read; kept between calls so that the
// core save made when a collectable is taken does not allocate.
static std::vector<unsigned char> fileBuffer;

// ---- little-endian field encoding, independent of the host and of struct layout

static unsigned char* PutU32(unsigned char* p, uint32_t v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
    return p + 4;
}

static unsigned char* PutI32(unsigned char* p, int32_t v) { return PutU32(p, (uint32_t)v); }

static unsigned char* PutF32(unsigned char* p, float v)
{
    uint32_t bits;
    memcpy(&bits, &v, 4);
    return PutU32(p, bits);
}

static unsigned char* PutBool(unsigned char* p, bool v)
{
    *p = v ? 1 : 0;
    return p + 1;
}

static unsigned char* PutVec3(unsigned char* p, const Vec3& v)
{
    p = PutF32(p, v.x);
    p = PutF32(p, v.y);
    return PutF32(p, v.z);
}

// Reading cursor: each Get reads the next field and moves on. Reading past
// the end, or a flag byte other than 0 or 1, marks the cursor unsound, so a
// reader walks the layout once and checks soundness where it matters.
struct ReadCursor {
    const unsigned char* p;
    const unsigned char* end;
    bool sound;
};

static uint32_t GetU32(ReadCursor& c)
{
    if (c.end - c.p < 4) {
        c.sound = false;
        c.p = c.end;
        return 0;
    }
    const unsigned char* p = c.p;
    c.p += 4;
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int32_t GetI32(ReadCursor& c) { return (int32_t)GetU32(c); }

static float GetF32(ReadCursor& c)
{
    uint32_t bits = GetU32(c);
    float v;
    memcpy(&v, &bits, 4);
    return v;
}

static unsigned GetU8(ReadCursor& c)
{
    if (c.p == c.end) {
        c.sound = false;
        return 0;
    }
    return *c.p++;
}

static bool GetBool(ReadCursor& c)
{
    unsigned v = GetU8(c);
    if (v > 1)
        c.sound = false;
    return v != 0;
}

static Vec3 GetVec3(ReadCursor& c)
{
    Vec3 v;
    v.x = GetF32(c);
    v.y = GetF32(c);
    v.z = GetF32(c);
    return v;
}

// The version is compared as the four bytes 0.3f encodes to.
static bool HasSaveVersion(const unsigned char* p)
{
    unsigned char expected[4];
    PutF32(expected, SAVE_VERSION);
    return memcmp(p, expected, 4) == 0;
}

// The longest sound core file: both slots of every cell filled.
static const size_t MAX_CORE_FILE_SIZE =
    CORE_HEADER_SIZE + CELL_COUNT + (size_t)ENTITY_RECORD_SIZE * MAX_ENTITIES_PER_CELL * CELL_COUNT;

// ---- whole-file writing and reading

static void ReportSaveFailure(const char* path, const char* what, const char* reason)
{
    fprintf(stderr, "cairnfold: could not save %s (%s: %s)\n", path, what, reason);
}

// Keeps the file at path under path + suffix, or with ".1", ".2", ... after
// that when the name is taken, so that no file kept earlier is replaced. The
// file at path stays in place until the new file replaces it.
static bool KeepAside(const char* path, const char* suffix)
{
    char asidePath[300];
    for (int n = 0; n < 1000; n++) {
        if (n == 0)
            snprintf(asidePath, sizeof asidePath, "%s%s", path, suffix);
        else
            snprintf(asidePath, sizeof asidePath, "%s%s.%d", path, suffix, n);
        FileResult kept = KeepFileAs(path, asidePath);
        if (kept != FILE_TAKEN)
            return kept != FILE_FAILED;
    }
    return false;
}

// Writes the bytes to path + ".tmp", flushes them to the disk and puts the
// temporary file in place of path, so the file at path is always either the
// old one or the new one in full. A file that must not be lost (`*keep` set,
// with its suffix) is first kept aside.
static void WriteFileSafely(const char* path, const unsigned char* data, size_t size, bool* keep,
                            const char* keepSuffix)
{
    char tempPath[256];
    snprintf(tempPath, sizeof tempPath, "%s%s", path, TEMP_SUFFIX);
    const char* step;
    FileResult written = WriteFileToDisk(tempPath, data, size, &step);
    // A missing Saves/ folder (deleted, or never unpacked) is made again
    // rather than losing every save of the session.
    if (written == FILE_MISSING && MakeFolder(SAVES_FOLDER) == FILE_DONE)
        written = WriteFileToDisk(tempPath, data, size, &step);
    if (written != FILE_DONE) {
        ReportSaveFailure(path, step, LastFileErrorText());
        return;
    }
    if (*keep) {
        if (!KeepAside(path, keepSuffix)) {
            ReportSaveFailure(path, "keep the earlier file", LastFileErrorText());
            RemoveFile(tempPath);
            return;
        }
        *keep = false;
    }
    if (ReplaceFileAtomically(tempPath, path) != FILE_DONE) {
        ReportSaveFailure(path, "replace", LastFileErrorText());
        RemoveFile(tempPath);
    }
}

enum ReadResult { READ_OK, READ_MISSING, READ_FAILED };

// Reads the whole file into fileBuffer; a file longer than maxSize is not
// read at all.
static ReadResult ReadWholeFile(const char* path, size_t maxSize)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return errno == ENOENT ? READ_MISSING : READ_FAILED;
    ReadResult result = READ_FAILED;
    if (fseek(file, 0, SEEK_END) == 0) {
        long size = ftell(file);
        if (size >= 0 && (unsigned long)size <= maxSize && fseek(file, 0, SEEK_SET) == 0) {
            fileBuffer.resize((size_t)size);
            size_t got = size > 0 ? fread(fileBuffer.data(), 1, (size_t)size, file) : 0;
            // A file that grew or shrank while being read is not trusted.
            if (got == (size_t)size && fgetc(file) == EOF && !ferror(file))
                result = READ_OK;
        }
    }
    fclose(file);
    return result;
}

// ---- world file: version, then the tile plane, then the orientation plane

void SaveWorldGrid()
{
    fileBuffer.resize(WORLD_FILE_SIZE);
    unsigned char* p = PutF32(fileBuffer.data(), SAVE_VERSION);
    unsigned char* orientations = p + CELL_COUNT;
    for (int i = 0; i < CELL_COUNT; i++) {
        p[i] = worldGrid[i].tileType;
        orientations[i] = worldGrid[i].orientation;
    }
    WriteFileSafely(WORLD_SAVE_PATH, fileBuffer.data(), WORLD_FILE_SIZE, &worldFileRejected, REJECTED_SUFFIX);
}

bool ReadWorldFile(const unsigned char* data, size_t size)
{
    if (size != (size_t)WORLD_FILE_SIZE || !HasSaveVersion(data))
        return false;
    const unsigned char* tiles = data + 4;
    const unsigned char* orientations = tiles + CELL_COUNT;
    for (int i = 0; i < CELL_COUNT; i++)
        if (tiles[i] >= TILE_TYPE_COUNT || orientations[i] >= ORIENTATION_COUNT)
            return false;
    for (int i = 0; i < CELL_COUNT; i++) {
        worldGrid[i].tileType = tiles[i];
        worldGrid[i].orientation = orientations[i];
    }
    return true;
}

bool LoadWorldGrid()
{
    ReadResult read = ReadWholeFile(WORLD_SAVE_PATH, WORLD_FILE_SIZE);
    worldFileRejected = read == READ_FAILED || (read == READ_OK && !ReadWorldFile(fileBuffer.data(), fileBuffer.size()));
    return read == READ_OK && !worldFileRejected;
}

// ---- core file: version and game state (76 bytes), then one entry per cell

// The number of cells from `first` on whose entity count is 0.
static int ZeroCountRun(int first)
{
    return SkipEmptyCounts(entityCount, first, CELL_COUNT) - first;
}

// The game state fields in file order, one function per direction.
static unsigned char* PutGameState(unsigned char* p, const GameState& s)
{
    p = PutI32(p, s.viewDistance);
    p = PutBool(p, s.texturesEnabled);
    p = PutBool(p, s.flyMode);
    p = PutI32(p, s.collectablesFound);
    p = PutVec3(p, s.position);
    p = PutVec3(p, s.velocity);
    p = PutBool(p, s.onGround);
    p = PutBool(p, s.jumping);
    p = PutI32(p, s.cell.x);
    p = PutI32(p, s.cell.y);
    p = PutI32(p, s.cell.z);
    p = PutVec3(p, s.eye);
    p = PutF32(p, s.pitch);
    p = PutF32(p, s.yaw);
    return PutF32(p, s.roll);
}

static void GetGameState(ReadCursor& c, GameState& s)
{
    s.viewDistance = GetI32(c);
    s.texturesEnabled = GetBool(c);
    s.flyMode = GetBool(c);
    s.collectablesFound = GetI32(c);
    s.position = GetVec3(c);
    s.velocity = GetVec3(c);
    s.onGround = GetBool(c);
    s.jumping = GetBool(c);
    s.cell.x = GetI32(c);
    s.cell.y = GetI32(c);
    s.cell.z = GetI32(c);
    s.eye = GetVec3(c);
    s.pitch = GetF32(c);
    s.yaw = GetF32(c);
    s.roll = GetF32(c);
}

// One entity record: kind and eight floats.
static unsigned char* PutEntity(unsigned char* p, const Entity& e)
{
    p = PutI32(p, e.kind);
    p = PutF32(p, e.x);
    p = PutF32(p, e.y);
    p = PutF32(p, e.z);
    p = PutF32(p, e.angle);
    p = PutF32(p, e.velocityX);
    p = PutF32(p, e.velocityY);
    p = PutF32(p, e.velocityZ);
    return PutF32(p, e.spinRate);
}

static void GetEntity(ReadCursor& c, Entity& e)
{
    e.kind = GetI32(c);
    e.x = GetF32(c);
    e.y = GetF32(c);
    e.z = GetF32(c);
    e.angle = GetF32(c);
    e.velocityX = GetF32(c);
    e.velocityY = GetF32(c);
    e.velocityZ = GetF32(c);
    e.spinRate = GetF32(c);
}

void SaveCoreState()
{
    size_t entities = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        entities += (size_t)entityCount[i];
    size_t size = CORE_HEADER_SIZE + CELL_COUNT + ENTITY_RECORD_SIZE * entities;
    fileBuffer.resize(size);

    unsigned char* p = PutF32(fileBuffer.data(), SAVE_VERSION);
    p = PutGameState(p, gameState);

    // Most cells are empty: runs of zero counts are copied as they stand and
    // only the cells holding entities are written field by field.
    for (int i = 0; i < CELL_COUNT; i++) {
        int run = ZeroCountRun(i);
        memcpy(p, &entityCount[i], (size_t)run);
        p += run;
        i += run;
        if (i == CELL_COUNT)
            break;
        int count = entityCount[i];
        *p++ = (unsigned char)count;
        for (int k = 0; k < count; k++)
            p = PutEntity(p, *EntitySlot(i, k));
    }
    if (coreFileRejected)
        WriteFileSafely(CORE_SAVE_PATH, fileBuffer.data(), size, &coreFileRejected, REJECTED_SUFFIX);
    else
        WriteFileSafely(CORE_SAVE_PATH, fileBuffer.data(), size, &coreFileReplaced, REPLACED_SUFFIX);
}

// Walks the whole core file after the version. With apply false it only
// checks that the file is complete and sound (flags 0 or 1, every count
// 0..2, every kind 0..2, no record cut short, nothing after the last cell);
// with apply true it also takes the state and files every entity, which is
// only done once a checking walk has passed, so a bad file changes nothing.
static bool WalkCoreFile(ReadCursor c, bool apply)
{
    GameState state = gameState;
    GetGameState(c, state);
    if (!c.sound)
        return false;
    if (apply) {
        gameState = state;
        // Every record the index held is released, in cells the file leaves empty too.
        ClearEntityIndex();
    }
    for (int i = 0; i < CELL_COUNT; i++) {
        unsigned count = GetU8(c);
        if (!c.sound || count > (unsigned)MAX_ENTITIES_PER_CELL)
            return false;
        for (unsigned k = 0; k < count; k++) {
            Entity e{};
            GetEntity(c, e);
            if (!c.sound || e.kind < 0 || e.kind >= ENTITY_KIND_COUNT)
                return false;
            if (apply)
                FileEntity(i, new Entity(e));
        }
    }
    return c.p == c.end;
}

bool ReadCoreFile(const unsigned char* data, size_t size)
{
    if (size < 4 || !HasSaveVersion(data))
        return false;
    ReadCursor c = {data + 4, data + size, true};
    if (!WalkCoreFile(c, false))
        return false;
    WalkCoreFile(c, true);
    return true;
}

bool LoadCoreState()
{
    ReadResult read = ReadWholeFile(CORE_SAVE_PATH, MAX_CORE_FILE_SIZE);
    coreFileRejected = read == READ_FAILED || (read == READ_OK && !ReadCoreFile(fileBuffer.data(), fileBuffer.size()));
    return read == READ_OK && !coreFileRejected;
}
