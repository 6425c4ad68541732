#include <gtest/gtest.h>

#include <ctime>

#include "app/frame_clock.h"

static struct tm LocalTime(int year, int month, int day, int weekday, int hour, int minute, int second)
{
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_wday = weekday;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    return local;
}

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

TEST(FrameClock, TimeTextUsesATwelveHourClock)
{
    char text[256];
    FormatTimeText(LocalTime(2026, 12, 5, 6, 0, 7, 3), text);
    EXPECT_STREQ(text, "12:07:03 AM");
    FormatTimeText(LocalTime(2026, 12, 5, 6, 12, 0, 0), text);
    EXPECT_STREQ(text, "12:00:00 PM");
    FormatTimeText(LocalTime(2026, 12, 5, 6, 13, 30, 9), text);
    EXPECT_STREQ(text, "1:30:09 PM");
    FormatTimeText(LocalTime(2026, 12, 5, 6, 11, 59, 59), text);
    EXPECT_STREQ(text, "11:59:59 AM");
    FormatTimeText(LocalTime(2026, 12, 5, 6, 21, 5, 7), text);
    EXPECT_STREQ(text, "9:05:07 PM");
}

TEST(FrameClock, DateTextNamesWeekdayMonthOrdinalAndYear)
{
    char text[256];
    FormatDateText(LocalTime(2027, 3, 22, 1, 12, 0, 0), text);
    EXPECT_STREQ(text, "Monday March 22nd 2027");
    FormatDateText(LocalTime(2026, 12, 5, 6, 21, 5, 7), text);
    EXPECT_STREQ(text, "Saturday December 5th 2026");
    FormatDateText(LocalTime(2025, 1, 1, 3, 0, 0, 0), text);
    EXPECT_STREQ(text, "Wednesday January 1st 2025");
    FormatDateText(LocalTime(2024, 8, 31, 6, 0, 0, 0), text);
    EXPECT_STREQ(text, "Saturday August 31st 2024");
    FormatDateText(LocalTime(2024, 7, 13, 6, 0, 0, 0), text);
    EXPECT_STREQ(text, "Saturday July 13th 2024");
    FormatDateText(LocalTime(2024, 6, 23, 0, 0, 0, 0), text);
    EXPECT_STREQ(text, "Sunday June 23rd 2024");
}
