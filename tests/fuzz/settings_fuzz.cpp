// Feeds arbitrary bytes to the settings reader as settings.ini: every line it keeps ends
// inside its buffer and holds no space, and reading never overruns.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "app/display.h"
#include "app/settings.h"

// The folder the fuzzer writes settings.ini in, removed when a run ends without a crash.
static char folder[] = "/tmp/cairnfold-settings-fuzz-XXXXXX";

static void RemoveFolder()
{
    if (unlink("settings.ini") == 0) rmdir(folder);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool inFolder = false;
    if (!inFolder) {
        if (!mkdtemp(folder) || chdir(folder) != 0) abort();
        atexit(RemoveFolder);
        inFolder = true;
    }
    FILE* file = fopen("settings.ini", "wb");
    if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) abort();
    LoadSettings();
    if (settingsLineCount != SETTINGS_MAX_LINES) abort();
    for (int i = 0; i < settingsLineCount; i++) {
        const char* end = (const char*)memchr(settingsLines[i], '\0', SETTINGS_LINE_SIZE);
        if (!end || memchr(settingsLines[i], ' ', (size_t)(end - settingsLines[i]))) abort();
    }
    (void)GetSettingValue("screenw");
    return 0;
}
