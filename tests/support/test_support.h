// Test support: an OpenGL window under the test display, child processes and private X servers.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

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

// True when the child is still running after waiting `ms` (it is left running).
bool StillRunningAfter(pid_t pid, int ms);

// Runs a command to the end and returns its exit status (as WaitForExit).
int RunProcess(const std::vector<std::string>& argv, const std::string& cwd,
               const std::vector<std::string>& env, int timeoutMs);

// A fresh empty directory under the system's temporary folder.
std::string MakeTempDir();

// Whole contents of a file; empty when missing.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
