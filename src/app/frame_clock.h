// Frame clock: holds frames to at least 16 ms, measures the frame rate and keeps the date and time texts.
#pragma once

#include <cstdint>
#include <ctime>

constexpr int MIN_FRAME_MS = 16;

extern uint32_t lastTick;       // SDL tick at which the previous frame is taken to have ended
extern int frameMs;             // length of the frame just measured, at least 16
extern float framesPerSecond;   // 1000 / frameMs; 0 until the first tick
extern char dateText[256];      // e.g. "Saturday December 5th 2026"
extern char timeText[256];      // e.g. "9:05:07 PM"

extern const char* const WEEKDAY_NAMES[7];
extern const char* const MONTH_NAMES[12];
extern const char* const DAY_ORDINALS[31];

// Measures the frame ending at tick `now`; returns how many milliseconds the
// caller must still wait to make the frame last MIN_FRAME_MS.
int MeasureFrame(uint32_t now);

// Writes the date and time texts for a broken-down local time.
void FormatDateText(const struct tm& local, char* text);
void FormatTimeText(const struct tm& local, char* text);

// Once per frame: measure, hold the frame, refresh the texts.
void TickFrameClock();
