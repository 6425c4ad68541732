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
    // Connections to the X server are now and then refused under load; SDL
    // would then fall back to a text-mode driver and the game's display set-up
    // would exit. Start SDL's X11 video here, retrying, so OpenDisplay finds it
    // already running.
    const char* driver = getenv("SDL_VIDEODRIVER");
    std::string savedDriver = driver ? driver : "";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    bool started = false;
    for (int attempt = 0; attempt < 50 && !started; attempt++) {
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!started)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (driver)
        setenv("SDL_VIDEODRIVER", savedDriver.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
    ASSERT_TRUE(started) << "no connection to the X display";
    OpenDisplay();
}

void ReadPixel(int x, int y, unsigned char rgb[3])
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, (int)screenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

XvfbServer StartXvfb(const std::vector<std::string>& extraArgs)
{
    int fds[2];
    XvfbServer server = {-1, -1};
    if (pipe(fds) != 0)
        return server;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Keep the server off the test's output: ctest waits for every
        // holder of the output pipe to close it.
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        dup2(devNull, 2);
        std::vector<std::string> args = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "800x600x24",
                                         "-nolisten", "tcp"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[32] = {0};
    ssize_t got = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    server.pid = pid;
    server.display = got > 0 ? atoi(buffer) : -1;
    return server;
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
