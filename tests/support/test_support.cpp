#include "support/test_support.h"
#include <GL/gl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
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

int RunShell(const std::string& dir, const std::string& command, int seconds)
{
    pid_t pid = fork();
    if (pid == 0) {
        // Standard output is not looked at; SDL's text-mode fallback would paint terminal codes into the log.
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        if (chdir(dir.c_str()) != 0) _exit(126);
        execlp("timeout", "timeout", "-s", "KILL", std::to_string(seconds).c_str(), "sh", "-c", command.c_str(),
               (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string MakeTempDir()
{
    char pattern[] = "/tmp/cairnfold-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

std::string EnterTempDir(const std::vector<std::string>& folders)
{
    std::string dir = MakeTempDir();
    EXPECT_EQ(chdir(dir.c_str()), 0);
    for (const std::string& folder : folders) EXPECT_EQ(mkdir(folder.c_str(), 0755), 0) << folder;
    return dir;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void WriteFileText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string MakeGameFolder()
{
    std::string dir = MakeTempDir();
    RunShell(dir, "mkdir Saves && cp -r " CAIRNFOLD_SOURCE_DIR "/Media . && printf 'screenw=800\\nscreenh=600\\n' > settings.ini");
    return dir;
}

GameRun RunGameIn(const std::string& dir, const std::string& launch, const std::string& input, int seconds,
                  const std::string& program)
{
    // Under AddressSanitizer the game's own leak check is off: the graphics driver is unloaded
    // before it runs; a wrapper such as faketime preloads its library ahead of the sanitizer. A home
    // of its own keeps the libraries' notices about their caches off the standard error checked, and
    // Mesa's shader cache is off so that no run leaves one behind.
    WriteFileText(dir + "/run.sh", "export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0:verify_asan_link_order=0; "
                                   "mkdir -p home; export HOME=$PWD/home XDG_RUNTIME_DIR=$PWD/home "
                                   "MESA_SHADER_CACHE_DISABLE=true; " + launch + " " + program + " 2> err & pid=$!; " +
                                   input + " wait $pid; echo $? > status");
    RunShell(dir, CAIRNFOLD_SOURCE_DIR "/tools/with_display.sh sh run.sh", seconds);
    GameRun run = {-1, ""};
    std::ifstream(dir + "/status") >> run.status;
    const std::vector<unsigned char> error = ReadFileBytes(dir + "/err");
    run.error.assign(error.begin(), error.end());
    if (!run.error.empty() && run.error.back() == '\n') run.error.pop_back();
    RunShell(dir, "rm -f status run.sh");
    return run;
}

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
        EXPECT_TRUE(T(c.x, c.y, c.z) == c.tile && O(c.x, c.y, c.z) == c.orientation)
            << "at " << c.x << "," << c.y << "," << c.z << ": " << T(c.x, c.y, c.z) << "/" << O(c.x, c.y, c.z);
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
