#include "support/test_support.h"

#include <GL/gl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/display.h"

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

// Starts Xvfb on display :N; the server takes the display's lock file
// itself, so a number in use makes it exit at once.
static pid_t LaunchXvfb(int display, const std::string& screen, const std::vector<std::string>& extraArgs)
{
    pid_t pid = fork();
    if (pid == 0) {
        // Keep the server off the test's output: ctest waits for every
        // holder of the output pipe to close it.
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        dup2(devNull, 2);
        std::vector<std::string> args = {"Xvfb", ":" + std::to_string(display), "-screen", "0", screen,
                                         "-nolisten", "tcp", "-noreset"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    return pid;
}

// The "width height" of the screen behind $DISPLAY as a client sees it, or
// empty when no server answers.
static std::string DisplayGeometry(int display)
{
    std::string command = "DISPLAY=:" + std::to_string(display) + " xdotool getdisplaygeometry 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "";
    char line[64] = {0};
    if (!fgets(line, sizeof line, pipe))
        line[0] = '\0';
    pclose(pipe);
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

XvfbServer StartXvfb(const std::vector<std::string>& extraArgs)
{
    // Tests run in parallel, each with servers of its own, and other X
    // servers may share the machine's socket names: spread the display
    // numbers, give each server a screen width of its own, and accept a
    // display only when the server answering there reports that width.
    for (int attempt = 0; attempt < 40; attempt++) {
        int display = 200 + (int)((getpid() * 37 + attempt * 101) % 5000);
        int width = 800 + display % 200;
        pid_t pid = LaunchXvfb(display, std::to_string(width) + "x600x24", extraArgs);
        std::string expected = std::to_string(width) + " 600";
        for (int probe = 0; probe < 200; probe++) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid)
                break;  // the display was taken
            std::string geometry = DisplayGeometry(display);
            if (geometry == expected)
                return {pid, display};
            if (!geometry.empty())
                break;  // somebody else's server answers on this number
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return {-1, -1};
}

void StopXvfb(XvfbServer& server)
{
    if (server.pid > 0) {
        kill(server.pid, SIGTERM);
        waitpid(server.pid, nullptr, 0);
    }
    server.pid = -1;
}

pid_t SpawnProcess(const std::vector<std::string>& argv, const std::string& cwd, const std::vector<std::string>& env)
{
    pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& entry : env) {
            size_t eq = entry.find('=');
            std::string name = entry.substr(0, eq);
            std::string value = eq == std::string::npos ? "" : entry.substr(eq + 1);
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        if (!cwd.empty() && chdir(cwd.c_str()) != 0)
            _exit(126);
        // Standard output is not looked at; SDL's text-mode fallback would
        // otherwise paint terminal codes into the test log.
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

int WaitForExit(pid_t pid, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (true) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

int RunProcess(const std::vector<std::string>& argv, const std::string& cwd, const std::vector<std::string>& env,
               int timeoutMs)
{
    return WaitForExit(SpawnProcess(argv, cwd, env), timeoutMs);
}

std::string MakeTempDir()
{
    char pattern[] = "/tmp/cairnfold-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
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

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string MakeGameFolder()
{
    std::string dir = MakeTempDir();
    RunProcess({"sh", "-c", "mkdir Saves && cp -r " CAIRNFOLD_SOURCE_DIR "/Media . && printf 'screenw=800\\nscreenh=600\\n' > settings.ini"},
               dir, {}, 10000);
    return dir;
}

GameRun RunGameIn(const std::string& dir, const std::string& launch, const std::string& input)
{
    XvfbServer xvfb = StartXvfb();
    // Under AddressSanitizer the game's own leak check is off: the graphics
    // driver is unloaded before it runs, so its memory cannot be told from ours;
    // a wrapper such as faketime preloads its library ahead of the sanitizer.
    std::string script = "export DISPLAY=:" + std::to_string(xvfb.display) +
                         "; export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0:verify_asan_link_order=0; " + launch +
                         " " CAIRNFOLD_BINARY " 2> err & pid=$!; " + input + " wait $pid; echo $? > status";
    RunProcess({"sh", "-c", script}, dir, {}, 120000);
    StopXvfb(xvfb);
    GameRun run = {-1, ""};
    std::ifstream(dir + "/status") >> run.status;
    std::getline(std::ifstream(dir + "/err"), run.error);
    remove((dir + "/status").c_str());
    return run;
}

void FreeMesh(Mesh& mesh)
{
    delete[] mesh.positions;
    delete[] mesh.texCoords;
    delete[] mesh.normals;
    mesh = {};
}

void FreeCollisionMesh(CollisionMesh* mesh)
{
    delete[] mesh->cornerA;
    delete[] mesh->cornerB;
    delete[] mesh->cornerC;
    delete[] mesh->faceNormal;
    delete mesh;
}
