#include "app/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/display.h"

char settingsLines[SETTINGS_MAX_LINES][SETTINGS_LINE_SIZE];
int settingsLineCount;

// Reads one line into `line`, keeping its first 255 characters; the line
// feed is consumed, not stored. The tail of a longer line is skipped so that
// the next read starts on the next line. Characters are taken one at a time
// so that a zero byte inside a line cannot hide where the line ends.
static void ReadSettingsLine(FILE* file, char* line)
{
    int length = 0;
    int c;
    while ((c = fgetc(file)) != EOF && c != '\n')
        if (length < SETTINGS_LINE_SIZE - 1)
            line[length++] = (char)c;
    line[length] = '\0';
}

static void RemoveSpaces(char* line)
{
    char* out = line;
    for (const char* in = line; *in; in++)
        if (*in != ' ')
            *out++ = *in;
    *out = '\0';
}

void ReadSettingsFile()
{
    settingsLineCount = 0;
    FILE* file = fopen("settings.ini", "r");
    if (!file)
        return;
    for (int i = 0; i < SETTINGS_MAX_LINES; i++)
        ReadSettingsLine(file, settingsLines[i]);
    settingsLineCount = SETTINGS_MAX_LINES;
    fclose(file);
    for (int i = 0; i < settingsLineCount; i++)
        RemoveSpaces(settingsLines[i]);
}

float GetSettingValue(const char* key)
{
    if (settingsLineCount <= 0)
        return 0.0f;
    char prefix[SETTINGS_LINE_SIZE];
    snprintf(prefix, sizeof prefix, "%s=", key);
    size_t prefixLength = strlen(prefix);
    float result = 0.0f;
    for (int i = 0; i < settingsLineCount; i++)
        if (strncmp(settingsLines[i], prefix, prefixLength) == 0)
            result = (float)atof(settingsLines[i] + prefixLength);
    return result;
}

void LoadSettings()
{
    ReadSettingsFile();
    screenWidth = GetSettingValue("screenw");
    screenHeight = GetSettingValue("screenh");
    screenBpp = TruncateSetting(GetSettingValue("screenbpp"));
    fullscreen = GetSettingValue("fullscreen") != 0.0f;
    showCursor = GetSettingValue("showcursor") != 0.0f;
    antialiasing = GetSettingValue("antialiasing") != 0.0f;
    mipmapping = GetSettingValue("mipmapping") != 0.0f;
    aspectRatio = screenWidth / screenHeight;
}
