#include <gtest/gtest.h>

#include <ctime>

#include "app/frame_clock.h"

TEST(FrameClock, ShortFramesAreHeldTo16MsAndOversleepIsCarried)
{
    lastTick = 1000;
    EXPECT_EQ(MeasureFrame(1005), 11);  // a 5 ms frame waits 11 ms
    EXPECT_EQ(frameMs, 16);
    EXPECT_EQ(lastTick, 1016u);
    EXPECT_EQ(framesPerSecond, 62.5f);

    // The hold overslept by 3 ms and the next frame took 4 ms more: the
    // 7 ms since the intended end leave 9 ms to wait.
    EXPECT_EQ(MeasureFrame(1023), 9);
    EXPECT_EQ(lastTick, 1032u);

    EXPECT_EQ(MeasureFrame(1072), 0);  // a 40 ms frame does not wait
    EXPECT_EQ(frameMs, 40);
    EXPECT_EQ(lastTick, 1072u);
    EXPECT_EQ(framesPerSecond, 25.0f);

    EXPECT_EQ(MeasureFrame(1088), 0);  // exactly 16 ms
    EXPECT_EQ(framesPerSecond, 62.5f);
}

TEST(FrameClock, TheFirstFrameMeasuresEverythingSinceStart)
{
    EXPECT_EQ(framesPerSecond, 0.0f);
    EXPECT_EQ(MeasureFrame(4000), 0);
    EXPECT_EQ(frameMs, 4000);
    EXPECT_EQ(framesPerSecond, 0.25f);
}

TEST(FrameClock, TimeAndDateTexts)
{
    struct Case {
        int year, month, day, weekday, hour, minute, second;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {2026, 12, 5, 6, 0, 7, 3, "Saturday December 5th 2026", "12:07:03 AM"},
        {2027, 3, 22, 1, 12, 0, 0, "Monday March 22nd 2027", "12:00:00 PM"},
        {2025, 1, 1, 3, 13, 30, 9, "Wednesday January 1st 2025", "1:30:09 PM"},
        {2024, 8, 31, 6, 11, 59, 59, "Saturday August 31st 2024", "11:59:59 AM"},
        {2024, 6, 23, 0, 21, 5, 7, "Sunday June 23rd 2024", "9:05:07 PM"},
        {2024, 7, 13, 6, 23, 10, 0, "Saturday July 13th 2024", "11:10:00 PM"},
    };
    for (const Case& c : cases) {
        struct tm local = {};
        local.tm_year = c.year - 1900;
        local.tm_mon = c.month - 1;
        local.tm_mday = c.day;
        local.tm_wday = c.weekday;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_sec = c.second;
        char text[256];
        FormatDateText(local, text);
        EXPECT_STREQ(text, c.date);
        FormatTimeText(local, text);
        EXPECT_STREQ(text, c.time);
    }
}
