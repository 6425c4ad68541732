// Test support: an OpenGL window under the test display, child processes and private X servers.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "render/obj_loader.h"

// Opens the game's display at the given size on $DISPLAY (the Xvfb the test
// run provides) with the game's own OpenDisplay.
void OpenTestDisplay(int width, int height);

// Reads back the RGB of one window pixel, (x, y) from the top-left.
void ReadPixel(int x, int y, unsigned char rgb[3]);

// A private Xvfb server; stopped by StopXvfb.
struct XvfbServer {
    pid_t pid;
    int display;  // the :N it listens on
};
XvfbServer StartXvfb(const std::vector<std::string>& extraArgs = {});
void StopXvfb(XvfbServer& server);

// Starts `argv` in directory `cwd` with `env` (NAME=VALUE entries) added to
// the current environment; names with an empty value are removed instead.
pid_t SpawnProcess(const std::vector<std::string>& argv, const std::string& cwd,
                   const std::vector<std::string>& env);

// Waits for a child; returns its exit status, 128 + signal when killed,
// or -1 after timeoutMs (the child is then killed).
int WaitForExit(pid_t pid, int timeoutMs);

// Runs a command to the end and returns its exit status (as WaitForExit).
int RunProcess(const std::vector<std::string>& argv, const std::string& cwd,
               const std::vector<std::string>& env, int timeoutMs);

// A fresh empty directory under the system's temporary folder.
std::string MakeTempDir();

// Whole contents of a file; empty when missing.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// A folder laid out as the game expects: a copy of the project's Media/, an
// empty Saves/ and an 800 x 600 window in settings.ini.
std::string MakeGameFolder();

// Runs the game in `dir` under a private X server. `launch` goes in front of
// the program on its shell command line (environment settings, a wrapper);
// `input` is shell run while it plays, with $pid the started process; an
// input that ends without stopping the game leaves it to end on its own.
// Returns the exit status (-1 when it did not end) and the first line of
// standard error.
struct GameRun {
    int status;
    std::string error;
};
GameRun RunGameIn(const std::string& dir, const std::string& launch, const std::string& input);

// Shell for `input`: waits until the game's window shows, then sends the close
// request; with a wrapper process the request goes to the wrapper's child.
constexpr const char* WAIT_FOR_WINDOW = "timeout 60 xdotool search --sync --onlyvisible --name Cairnfold >/dev/null;";
constexpr const char* CLOSE_GAME = "pkill -TERM -P $pid || kill -TERM $pid;";

// Releases what the OBJ loader allocated for a mesh or a collision mesh.
void FreeMesh(Mesh& mesh);
void FreeCollisionMesh(CollisionMesh* mesh);
