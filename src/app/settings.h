// Settings: reads settings.ini once at start-up into the display globals.
#pragma once

constexpr int SETTINGS_MAX_LINES = 100;
constexpr int SETTINGS_LINE_SIZE = 256;

extern char settingsLines[SETTINGS_MAX_LINES][SETTINGS_LINE_SIZE];  // the file's first 100 lines, spaces removed
extern int settingsLineCount;  // 100 once the file was opened, else 0

// Reads the settings file and stores the seven display settings.
void LoadSettings();

// Fills settingsLines from settings.ini in the working directory.
void ReadSettingsFile();

// The number after "key=" on the last line that starts with it, or 0.
float GetSettingValue(const char* key);
