#include <ctime>
#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "support/test_support.h"

TEST(FrameClock, FramesAreMeasuredAndHeldAndTheTimeStepIsSixtyOverTheFrameRateWithinItsBounds)
{
    // 0: the first frame (60 / 0 is infinite); 0.25: the frame that held all of start-up.
    const float cases[][2] = {{0.0f, 2.0f}, {0.25f, 2.0f}, {62.5f, 0.96f}, {60.0f, 1.0f}, {30.0f, 2.0f},
                              {25.0f, 2.0f}, {300.0f, 0.2f}, {1000.0f, 0.2f}, {120.0f, 0.5f}};
    for (const auto& c : cases) EXPECT_EQ(FrameTimeStep(c[0]), c[1]) << c[0];
    // The first frame measures all since start; short frames are held to 16 ms, an oversleep is carried.
    EXPECT_EQ(framesPerSecond, 0.0f);
    EXPECT_EQ(MeasureFrame(4000), 0);
    EXPECT_EQ((Floats{(float)frameMs, framesPerSecond}), (Floats{4000, 0.25f}));
    lastTick = 1000;
    EXPECT_EQ(MeasureFrame(1005), 11);  // a 5 ms frame waits 11 ms
    EXPECT_EQ((Floats{(float)frameMs, (float)lastTick, framesPerSecond}), (Floats{16, 1016, 62.5f}));
    // Overslept by 3 ms and the next frame took 4 ms more: 7 ms since the intended end leave 9.
    EXPECT_EQ(MeasureFrame(1023), 9);
    EXPECT_EQ(lastTick, 1032u);
    EXPECT_EQ(MeasureFrame(1072), 0);  // a 40 ms frame does not wait
    EXPECT_EQ((Floats{(float)frameMs, (float)lastTick, framesPerSecond}), (Floats{40, 1072, 25.0f}));
    EXPECT_EQ(MeasureFrame(1088), 0);  // exactly 16 ms
    EXPECT_EQ(framesPerSecond, 62.5f);
}

TEST(FrameClock, TimeAndDateTexts)
{
    // The local time as read; mktime works out the weekday from the date.
    const struct { const char *at, *date, *time; } cases[] = {
        {"2026-12-05 00:07:03", "Saturday December 5th 2026", "12:07:03 AM"},
        {"2027-03-22 12:00:00", "Monday March 22nd 2027", "12:00:00 PM"},
        {"2025-01-01 13:30:09", "Wednesday January 1st 2025", "1:30:09 PM"},
        {"2024-08-31 11:59:59", "Saturday August 31st 2024", "11:59:59 AM"},
        {"2024-06-23 21:05:07", "Sunday June 23rd 2024", "9:05:07 PM"},
        {"2024-07-13 23:10:00", "Saturday July 13th 2024", "11:10:00 PM"},
    };
    for (const auto& c : cases) {
        struct tm local = {};
        ASSERT_EQ(sscanf(c.at, "%d-%d-%d %d:%d:%d", &local.tm_year, &local.tm_mon, &local.tm_mday, &local.tm_hour,
                         &local.tm_min, &local.tm_sec), 6) << c.at;
        local.tm_year -= 1900;
        local.tm_mon -= 1;
        struct tm day = local;
        day.tm_isdst = -1;
        ASSERT_NE(mktime(&day), (time_t)-1) << c.at;
        local.tm_wday = day.tm_wday;
        char text[256];
        FormatDateText(local, text);
        EXPECT_STREQ(text, c.date);
        FormatTimeText(local, text);
        EXPECT_STREQ(text, c.time);
    }
}
