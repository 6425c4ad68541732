#include <gtest/gtest.h>

#include <limits>

#include "app/game_loop.h"

TEST(GameLoop, TimeStepIsSixtyOverTheFrameRateWithinItsBounds)
{
    EXPECT_EQ(FrameTimeStep(0.0f), 2.0f);  // first frame: 60 / 0 is infinite
    EXPECT_EQ(FrameTimeStep(0.25f), 2.0f);  // the frame that held all of start-up
    EXPECT_EQ(FrameTimeStep(62.5f), 0.96f);
    EXPECT_EQ(FrameTimeStep(60.0f), 1.0f);
    EXPECT_EQ(FrameTimeStep(30.0f), 2.0f);
    EXPECT_EQ(FrameTimeStep(25.0f), 2.0f);
    EXPECT_EQ(FrameTimeStep(300.0f), 0.2f);
    EXPECT_EQ(FrameTimeStep(1000.0f), 0.2f);
    EXPECT_EQ(FrameTimeStep(120.0f), 0.5f);
}
