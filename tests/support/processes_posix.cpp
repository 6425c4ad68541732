// Test support on POSIX systems: shell commands and the game run as a process under a private X server.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include "support/test_support.h"

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

