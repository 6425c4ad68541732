#include "support/test_support.h"
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include "app/display.h"
#include "app/input.h"
#include "player/game_state.h"
#include "render/model_sets.h"
#include "worldgen/generate_world.h"

void OpenTestDisplay(int width, int height)
{
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "drawing tests need an X display (run them with make test)";
    screenWidth = (float)width;
    screenHeight = (float)height;
    aspectRatio = screenWidth / screenHeight;
    screenBpp = 0;
    fullscreen = false;
    antialiasing = false;
    OpenDisplay();
}

void ReadPixel(int x, int y, unsigned char rgb[3])
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, (int)screenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

Ints TextureShape(int level)
{
    Ints v(6, -1);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &v[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &v[1]);
    const GLenum parameters[4] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
    for (int i = 0; i < 4; i++) glGetTexParameteriv(GL_TEXTURE_2D, parameters[i], &v[2 + i]);
    return v;
}

std::vector<uint8_t> Texels(int texels, GLenum format, int bytes)
{
    std::vector<uint8_t> data(texels * bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, data.data());
    return data;
}

// The folders MakeTempDir made, removed when the test process ends (a forked child ends with _exit
// or a kill, so it never removes its parent's folders).
static std::vector<std::filesystem::path> madeDirs;

static void RemoveMadeDirs()
{
    std::error_code error;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), error);  // Windows keeps the working folder
    for (const std::filesystem::path& dir : madeDirs) std::filesystem::remove_all(dir, error);
}

std::string MakeTempDir()
{
    // A name of its own in the system's temporary folder: the time and a count, tried until new.
    static unsigned made = 0;
    const auto stamp = (unsigned long long)std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("cairnfold-test-" + std::to_string(stamp % 1000000007ull) + "-" + std::to_string(made++));
        std::error_code error;
        if (std::filesystem::create_directory(dir, error)) {
            if (madeDirs.empty()) atexit(RemoveMadeDirs);
            madeDirs.push_back(dir);
            return dir.generic_string();
        }
        if (error) return "";
    }
}

std::string EnterTempDir(const std::vector<std::string>& folders)
{
    std::string dir = MakeTempDir();
    std::filesystem::current_path(dir);
    for (const std::string& folder : folders) EXPECT_TRUE(std::filesystem::create_directory(folder)) << folder;
    return dir;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

void WriteFileText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void FreeMesh(Mesh& mesh)
{
    for (float* a : {mesh.positions, mesh.texCoords, mesh.normals}) delete[] a;
    mesh = {};
}

void FreeCollisionMesh(CollisionMesh* mesh)
{
    for (float* a : {mesh->cornerA, mesh->cornerB, mesh->cornerC, mesh->faceNormal}) delete[] a;
    delete mesh;
}

int CountTiles(int y, int tile)
{
    int n = 0;
    for (int x = 0; x < GRID_SIZE_X; x++)
        for (int z = 0; z < GRID_SIZE_Z; z++) n += T(x, y, z) == tile;
    return n;
}

void ExpectCells(const std::vector<CellWant>& cells)
{
    for (const CellWant& c : cells)
        EXPECT_EQ(std::make_pair(T(c.x, c.y, c.z), O(c.x, c.y, c.z)), std::make_pair(c.tile, c.orientation))
            << "at " << c.x << "," << c.y << "," << c.z;
}

void PutCells(const std::vector<CellWant>& cells)
{
    for (const CellWant& c : cells) Put(c.x, c.y, c.z, c.tile, c.orientation);
}

void NewGameOnEmptyGrid()
{
    static bool loaded = false;
    if (!loaded) { LoadTileModels(); LoadEntityModels(); loaded = true; }
    ClearWorldGrid();
    ClearEntityIndex();
    ResetGameState();
    HoldKeys({});
}

void PlacePlayer(float x, float y, float z, float yaw)
{
    gameState.position = {x, y, z};
    gameState.yaw = yaw;
    gameState.velocity = {0, 0, 0};
    gameState.cell = {PlayerCell(x), PlayerCell(y), PlayerCell(z)};
}

void HoldKeys(const std::vector<int>& held, int pressed)
{
    memset(keyState, 0, sizeof keyState);
    for (int k : held) keyState[k] = BUTTON_HELD;
    if (pressed) keyState[pressed] = BUTTON_PRESSED;
}

std::string Sha256Hex(const std::vector<unsigned char>& bytes)
{
    static const uint32_t K[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5, 0xd807aa98,
        0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786,
        0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8,
        0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13,
        0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819,
        0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a,
        0x5b9cca4f, 0x682e6ff3, 0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
        0xc67178f2};
    uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::vector<unsigned char> m(bytes);
    const uint64_t bits = (uint64_t)bytes.size() * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 7; i >= 0; i--) m.push_back((unsigned char)(bits >> (i * 8)));
    auto rotr = [](uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
    for (size_t at = 0; at < m.size(); at += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; i++)
            w[i] = (uint32_t)m[at + i * 4] << 24 | (uint32_t)m[at + i * 4 + 1] << 16 | (uint32_t)m[at + i * 4 + 2] << 8 | m[at + i * 4 + 3];
        for (int i = 16; i < 64; i++)
            w[i] = w[i - 16] + (rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3)) + w[i - 7] +
                   (rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10));
        uint32_t v[8];
        std::copy(h, h + 8, v);
        for (int i = 0; i < 64; i++) {
            uint32_t t1 = v[7] + (rotr(v[4], 6) ^ rotr(v[4], 11) ^ rotr(v[4], 25)) + ((v[4] & v[5]) ^ (~v[4] & v[6])) + K[i] + w[i];
            uint32_t t2 = (rotr(v[0], 2) ^ rotr(v[0], 13) ^ rotr(v[0], 22)) + ((v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]));
            std::copy_backward(v, v + 7, v + 8);
            v[4] += t1;
            v[0] = t1 + t2;
        }
        for (int i = 0; i < 8; i++) h[i] += v[i];
    }
    char hex[65];
    for (int i = 0; i < 8; i++) snprintf(hex + i * 8, 9, "%08x", (unsigned)h[i]);
    return hex;
}
