// Stopwatches and the frame counter, on a clock the test sets.
#include <gtest/gtest.h>

#include "timer.h"

namespace {

class Clock : public testing::Test {
protected:
    void SetUp() override { countFpsReset(); }
    void TearDown() override
    {
        countFpsReset();
        timerReleaseTicks();
    }
};

} // namespace

TEST_F(Clock, APausedTimerLeavesOutThePause)
{
    timer t = {0, 0, 0, 0};
    timerFreezeTicks(1000);
    EXPECT_EQ(timerGetTicks(&t), 0.0f); // not started
    pauseTimer(&t);                     // nothing to pause yet
    EXPECT_EQ(timerIsPaused(&t), 0);

    startTimer(&t);
    timerFreezeTicks(1300);
    EXPECT_EQ(timerGetTicks(&t), 300.0f);
    pauseTimer(&t);
    EXPECT_EQ(timerIsPaused(&t), 1);
    timerFreezeTicks(1800);
    EXPECT_EQ(timerGetTicks(&t), 300.0f); // frozen while paused
    unpauseTimer(&t);
    timerFreezeTicks(2000);
    EXPECT_EQ(timerGetTicks(&t), 500.0f); // 1000 ms since the start, 500 of them paused

    stopTimer(&t);
    EXPECT_EQ(timerIsStarted(&t), 0);
    EXPECT_EQ(timerGetTicks(&t), 0.0f);
}

TEST_F(Clock, ATimerCountsAcrossTheWrapOfTheTickCounter)
{
    timer t = {0, 0, 0, 0};
    timerFreezeTicks(0xFFFFFFF0u);
    startTimer(&t);
    timerFreezeTicks(0x10u);
    EXPECT_EQ(timerGetTicks(&t), 32.0f);
}

TEST_F(Clock, TheFrameCounterChangesOncePerSecond)
{
    // Sixty frames within the first second: nothing measured yet.
    for (int call = 1; call <= 60; call++) {
        timerFreezeTicks((unsigned int)(call - 1) * 16);
        EXPECT_EQ(countFps(1000), 0) << "call " << call;
    }
    // The 61st call at 1017 ms: 61 frames in 1.017 s.
    timerFreezeTicks(1017);
    EXPECT_EQ(countFps(1000), 59);
    // Kept until the next second has passed...
    timerFreezeTicks(1500);
    EXPECT_EQ(countFps(1000), 59);
    timerFreezeTicks(2017);
    EXPECT_EQ(countFps(1000), 59);
    // ...then three frames in 1.001 s.
    timerFreezeTicks(2018);
    EXPECT_EQ(countFps(1000), 2);
}

TEST_F(Clock, AZeroResultNeverReplacesTheShownRate)
{
    timerFreezeTicks(0);
    countFps(1000);
    timerFreezeTicks(1001);
    EXPECT_EQ(countFps(1000), 1); // 2 frames in 1.001 s
    timerFreezeTicks(9000);
    EXPECT_EQ(countFps(1000), 1); // 1 frame in 8 s rounds to 0
}
