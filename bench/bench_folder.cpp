#include "bench_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

static std::vector<std::string> benchFolders;  // every folder made, removed at exit

static void RemoveBenchFolders()
{
    std::error_code error;
    if (chdir("/") != 0)
        return;
    for (const std::string& folder : benchFolders)
        std::filesystem::remove_all(folder, error);  // a link to Media/ goes, not what it names
}

std::string MakeBenchFolder(const char* name)
{
    std::string pattern = std::string("/tmp/cairnfold-") + name + "-XXXXXX";
    if (!mkdtemp(&pattern[0]))
        return "";
    if (benchFolders.empty())
        atexit(RemoveBenchFolders);
    benchFolders.push_back(pattern);
    return pattern;
}
