// Benchmark folders: a folder of its own under /tmp for a benchmark's files, removed when the
// benchmark process ends.
#pragma once

#include <string>

// Makes /tmp/cairnfold-<name>-XXXXXX; "" when it cannot.
std::string MakeBenchFolder(const char* name);
