// The saves tests' fixture: each test in a fresh folder holding an empty Saves/.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "world/saves.h"

using Bytes = std::vector<unsigned char>;

// Saves both files; gives what the saves wrote to standard error.
inline std::string SaveBoth()
{
    testing::internal::CaptureStderr();
    SaveWorldGrid();
    SaveCoreState();
    return testing::internal::GetCapturedStderr();
}

class Saves : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override { dir = EnterTempDir({"Saves"}); }
    // Windows removes no folder that is a process's current one: step out first.
    void TearDown() override
    {
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(dir);
    }
};
