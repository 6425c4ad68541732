#include "world/saves.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "player/game_state.h"
#include "world/world_grid.h"

bool worldFileRejected;
bool coreFileRejected;

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

static uint32_t GetU32(const unsigned char* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int32_t GetI32(const unsigned char* p) { return (int32_t)GetU32(p); }

static float GetF32(const unsigned char* p)
{
    uint32_t bits = GetU32(p);
    float v;
    memcpy(&v, &bits, 4);
    return v;
}

static Vec3 GetVec3(const unsigned char* p) { return {GetF32(p), GetF32(p + 4), GetF32(p + 8)}; }

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

static void ReportSaveFailure(const char* path, const char* what, int error)
{
    fprintf(stderr, "Cairnfold: could not save %s (%s: %s)\n", path, what, strerror(error));
}

// Writes the bytes to path + ".tmp", flushes them to the disk and renames the
// temporary file over path, so the file at path is always either the old one
// or the new one in full. A file the last load refused is first renamed to
// path + ".rejected" so that it is kept rather than replaced.
static void WriteFileSafely(const char* path, const unsigned char* data, size_t size, bool* rejected)
{
    char tempPath[256];
    snprintf(tempPath, sizeof tempPath, "%s%s", path, TEMP_SUFFIX);
    int fd = open(tempPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        ReportSaveFailure(path, "create", errno);
        return;
    }
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : EIO;
            close(fd);
            unlink(tempPath);
            ReportSaveFailure(path, "write", error);
            return;
        }
        done += (size_t)n;
    }
    int synced = fdatasync(fd);
    int error = errno;
    if (close(fd) != 0 && synced == 0) {
        synced = -1;
        error = errno;
    }
    if (synced != 0) {
        unlink(tempPath);
        ReportSaveFailure(path, "flush", error);
        return;
    }
    if (*rejected) {
        char asidePath[256];
        snprintf(asidePath, sizeof asidePath, "%s%s", path, REJECTED_SUFFIX);
        if (rename(path, asidePath) != 0 && errno != ENOENT) {
            int asideError = errno;
            unlink(tempPath);
            ReportSaveFailure(path, "keep refused file", asideError);
            return;
        }
        *rejected = false;
    }
    if (rename(tempPath, path) != 0) {
        int renameError = errno;
        unlink(tempPath);
        ReportSaveFailure(path, "rename", renameError);
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
    WriteFileSafely(WORLD_SAVE_PATH, fileBuffer.data(), WORLD_FILE_SIZE, &worldFileRejected);
}

bool LoadWorldGrid()
{
    ReadResult read = ReadWholeFile(WORLD_SAVE_PATH, WORLD_FILE_SIZE);
    worldFileRejected = read == READ_FAILED;
    if (read != READ_OK)
        return false;
    const unsigned char* data = fileBuffer.data();
    bool valid = fileBuffer.size() == (size_t)WORLD_FILE_SIZE && HasSaveVersion(data);
    const unsigned char* tiles = data + 4;
    const unsigned char* orientations = tiles + CELL_COUNT;
    for (int i = 0; valid && i < CELL_COUNT; i++)
        valid = tiles[i] < TILE_TYPE_COUNT && orientations[i] < ORIENTATION_COUNT;
    if (!valid) {
        worldFileRejected = true;
        return false;
    }
    for (int i = 0; i < CELL_COUNT; i++) {
        worldGrid[i].tileType = tiles[i];
        worldGrid[i].orientation = orientations[i];
    }
    return true;
}

// ---- core file: version and game state (76 bytes), then one entry per cell

// The number of cells from `first` on whose entity count is 0.
static int ZeroCountRun(int first)
{
    int i = first;
    uint64_t eight;
    while (i + 8 <= CELL_COUNT && (memcpy(&eight, &entityCount[i], 8), eight == 0))
        i += 8;
    while (i < CELL_COUNT && entityCount[i] == 0)
        i++;
    return i - first;
}

void SaveCoreState()
{
    size_t entities = 0;
    for (int i = 0; i < CELL_COUNT; i++)
        entities += (size_t)entityCount[i];
    size_t size = CORE_HEADER_SIZE + CELL_COUNT + ENTITY_RECORD_SIZE * entities;
    fileBuffer.resize(size);

    const GameState& s = gameState;
    unsigned char* p = PutF32(fileBuffer.data(), SAVE_VERSION);
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
    p = PutF32(p, s.roll);

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
        for (int k = 0; k < count; k++) {
            const Entity& e = *entitySlots[i * 2 + k];
            p = PutI32(p, e.kind);
            p = PutF32(p, e.x);
            p = PutF32(p, e.y);
            p = PutF32(p, e.z);
            p = PutF32(p, e.angle);
            p = PutF32(p, e.velocityX);
            p = PutF32(p, e.velocityY);
            p = PutF32(p, e.velocityZ);
            p = PutF32(p, e.spinRate);
        }
    }
    WriteFileSafely(CORE_SAVE_PATH, fileBuffer.data(), size, &coreFileRejected);
}

// Walks the entity table once to check it is complete and sound: every count
// 0..2, every kind 0..2, no record cut short and nothing after the last cell.
static bool CoreFileIsValid(const unsigned char* data, size_t size)
{
    if (size < (size_t)CORE_HEADER_SIZE || !HasSaveVersion(data))
        return false;
    const size_t flagOffsets[] = {8, 9, 38, 39};
    for (size_t offset : flagOffsets)
        if (data[offset] > 1)
            return false;
    size_t pos = CORE_HEADER_SIZE;
    for (int i = 0; i < CELL_COUNT; i++) {
        if (pos >= size)
            return false;
        unsigned count = data[pos++];
        if (count > (unsigned)MAX_ENTITIES_PER_CELL || size - pos < count * (size_t)ENTITY_RECORD_SIZE)
            return false;
        for (unsigned k = 0; k < count; k++, pos += ENTITY_RECORD_SIZE) {
            int32_t kind = GetI32(data + pos);
            if (kind < 0 || kind >= ENTITY_KIND_COUNT)
                return false;
        }
    }
    return pos == size;
}

bool LoadCoreState()
{
    ReadResult read = ReadWholeFile(CORE_SAVE_PATH, MAX_CORE_FILE_SIZE);
    coreFileRejected = read == READ_FAILED;
    if (read != READ_OK)
        return false;
    const unsigned char* data = fileBuffer.data();
    if (!CoreFileIsValid(data, fileBuffer.size())) {
        coreFileRejected = true;
        return false;
    }

    GameState& s = gameState;
    s.viewDistance = GetI32(data + 4);
    s.texturesEnabled = data[8] != 0;
    s.flyMode = data[9] != 0;
    s.collectablesFound = GetI32(data + 10);
    s.position = GetVec3(data + 14);
    s.velocity = GetVec3(data + 26);
    s.onGround = data[38] != 0;
    s.jumping = data[39] != 0;
    s.cell = {GetI32(data + 40), GetI32(data + 44), GetI32(data + 48)};
    s.eye = GetVec3(data + 52);
    s.pitch = GetF32(data + 64);
    s.yaw = GetF32(data + 68);
    s.roll = GetF32(data + 72);

    // Every record the index held is released, in cells the file leaves empty too.
    ClearEntityIndex();
    const unsigned char* p = data + CORE_HEADER_SIZE;
    for (int i = 0; i < CELL_COUNT; i++) {
        int count = *p++;
        for (int k = 0; k < count; k++, p += ENTITY_RECORD_SIZE) {
            Entity* e = new Entity{};
            e->kind = GetI32(p);
            e->x = GetF32(p + 4);
            e->y = GetF32(p + 8);
            e->z = GetF32(p + 12);
            e->angle = GetF32(p + 16);
            e->velocityX = GetF32(p + 20);
            e->velocityY = GetF32(p + 24);
            e->velocityZ = GetF32(p + 28);
            e->spinRate = GetF32(p + 32);
            FileEntity(i, e);
        }
    }
    return true;
}
