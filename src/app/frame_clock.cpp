#include "app/frame_clock.h"

#include <SDL.h>
#include <cstdio>

uint32_t lastTick;
int frameMs;
float framesPerSecond;
char dateText[256];
char timeText[256];

const char* const WEEKDAY_NAMES[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const MONTH_NAMES[12] = {"January", "February", "March", "April", "May", "June",
                                     "July", "August", "September", "October", "November", "December"};
const char* const DAY_ORDINALS[31] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th",
                                      "11th", "12th", "13th", "14th", "15th", "16th", "17th", "18th", "19th", "20th",
                                      "21st", "22nd", "23rd", "24th", "25th", "26th", "27th", "28th", "29th", "30th",
                                      "31st"};

int MeasureFrame(uint32_t now)
{
    frameMs = (int)(now - lastTick);
    int wait = 0;
    if (frameMs < MIN_FRAME_MS) {
        wait = MIN_FRAME_MS - frameMs;
        frameMs = MIN_FRAME_MS;
    }
    // lastTick becomes the moment the frame should have ended, so an
    // oversleep of the hold is taken out of the next frame's wait.
    lastTick += (uint32_t)frameMs;
    framesPerSecond = (float)(1000.0 / frameMs);
    return wait;
}

void FormatDateText(const struct tm& local, char* text)
{
    snprintf(text, 256, "%s%s%s%s%s%s%d", WEEKDAY_NAMES[local.tm_wday], " ", MONTH_NAMES[local.tm_mon], " ",
             DAY_ORDINALS[local.tm_mday - 1], " ", local.tm_year + 1900);
}

void FormatTimeText(const struct tm& local, char* text)
{
    int hour = local.tm_hour;
    int clockHour = hour > 12 ? hour - 12 : (hour == 0 ? 12 : hour);
    snprintf(text, 256, "%d:%s%d:%s%d%s", clockHour, local.tm_min < 10 ? "0" : "", local.tm_min,
             local.tm_sec < 10 ? "0" : "", local.tm_sec, hour < 12 ? " AM" : " PM");
}

void TickFrameClock()
{
    int wait = MeasureFrame(SDL_GetTicks());
    if (wait > 0)
        SDL_Delay((Uint32)wait);
    time_t now = time(nullptr);
    const struct tm* local = localtime(&now);
    if (!local)
        return;
    FormatDateText(*local, dateText);
    FormatTimeText(*local, timeText);
}
