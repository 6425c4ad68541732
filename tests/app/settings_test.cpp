#include <climits>
#include "app/display.h"
#include "app/settings.h"
#include "support/test_support.h"

// Runs LoadSettings in a fresh directory holding `text` as settings.ini (no file when `present` is false).
static void LoadSettingsFrom(const std::string& text, bool present = true)
{
    EnterTempDir();
    if (present) WriteFileText("settings.ini", text);
    LoadSettings();
}

TEST(Settings, SpacesAnywhereAreRemovedKeysAreExactValuesReadLikeAtofAndTheLastLineWins)
{
    LoadSettingsFrom("screenw = 1024\nscreen h=768\nScreenW=1\nscreenwidth=2\n; a comment\n[display]\n");
    EXPECT_EQ(settingsLineCount, 100);
    EXPECT_EQ((Floats{screenWidth, screenHeight}), (Floats{1024, 768}));
    EXPECT_FLOAT_EQ(aspectRatio, 1024.0f / 768.0f);
    EXPECT_EQ(std::vector<std::string>(settingsLines, settingsLines + 7),
              (std::vector<std::string>{"screenw=1024", "screenh=768", "ScreenW=1", "screenwidth=2", ";acomment",
                                        "[display]", ""}));
    LoadSettingsFrom("fullscreen=1\nfullscreen=0\nscreenbpp=31.9\nshowcursor=0.5\nantialiasing=-1\nmipmapping=yes\n"
                     "screenw=\tnot a number\nscreenh=6e2x\n");
    EXPECT_EQ(screenBpp, 31);
    EXPECT_EQ((std::vector<bool>{fullscreen, showCursor, antialiasing, mipmapping}), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ((Floats{screenWidth, screenHeight}), (Floats{0, 600}));
    EXPECT_EQ((std::vector<float>{GetSettingValue("fullscreen"), GetSettingValue("screenbpp"), GetSettingValue("absent")}),
              (std::vector<float>{0.0f, 31.9f, 0.0f}));
    // Values far outside the int range saturate instead of overflowing the conversion.
    LoadSettingsFrom("screenbpp=1e20\n");
    EXPECT_EQ(screenBpp, INT_MAX);
    EXPECT_EQ((Ints{TruncateSetting(-1e20f), TruncateSetting(-31.9f), TruncateSetting(std::nanf(""))}), (Ints{INT_MIN, -31, 0}));
}

TEST(Settings, MissingAndEmptyFilesReadAsZeroAndLongFilesAndLinesAreCut)
{
    LoadSettingsFrom("", false);
    EXPECT_EQ((Floats{(float)settingsLineCount, screenWidth, screenHeight, (float)screenBpp}), (Floats{0, 0, 0, 0}));
    EXPECT_EQ((std::vector<bool>{fullscreen, showCursor, antialiasing, mipmapping}), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(std::isnan(aspectRatio));
    LoadSettingsFrom("");
    EXPECT_EQ((Floats{(float)settingsLineCount, screenWidth, GetSettingValue("screenw")}), (Floats{100, 0, 0}));
    std::string text;  // only the first hundred lines are read
    for (int i = 0; i < 99; i++) text += "# filler\n";
    LoadSettingsFrom(text + "screenw=640\nscreenh=480\n");
    EXPECT_EQ((Floats{screenWidth, screenHeight}), (Floats{640, 0}));
    // A line over 255 characters is cut and reading goes on with the next line.
    std::string longComment = "#" + std::string(400, 'x');
    std::string longSetting = "screenbpp=24" + std::string(300, ' ') + "9";  // spaces go after the read
    std::string exact = "showcursor=1." + std::string(242, '0');          // exactly 255 characters
    std::string withZeroByte = std::string("#a", 2) + '\0' + "b";          // a zero byte ends the text, not the line
    LoadSettingsFrom("screenw=800\n" + longComment + "\nscreenh=600\n" + longSetting + "\n" + exact +
                     "\nfullscreen=1\n" + withZeroByte + "\nmipmapping=1\n");
    EXPECT_EQ(std::vector<std::string>(settingsLines + 1, settingsLines + 8),
              (std::vector<std::string>{longComment.substr(0, 255), "screenh=600", "screenbpp=24", exact,
                                        "fullscreen=1", "#a", "mipmapping=1"}));
    EXPECT_EQ((Floats{screenWidth, screenHeight, (float)screenBpp}), (Floats{800, 600, 24}));
    EXPECT_EQ((std::vector<bool>{showCursor, fullscreen, mipmapping}), (std::vector<bool>{true, true, true}));
}
