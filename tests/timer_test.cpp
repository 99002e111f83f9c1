// Stopwatches and the frame counter, on a clock the test sets.
#include <gtest/gtest.h>

#include "timer.h"

TEST(Clock, APausedTimerLeavesOutThePause)
{
    timer t = {0, 0, 0, 0};
    timerFreezeTicks(1000);
    startTimer(&t);
    timerFreezeTicks(1300);
    pauseTimer(&t);
    timerFreezeTicks(1800);
    EXPECT_EQ(timerGetTicks(&t), 300.0f);
    unpauseTimer(&t);
    timerFreezeTicks(2000);
    EXPECT_EQ(timerGetTicks(&t), 500.0f); // 1000 ms since the start, 500 of them paused
    timerReleaseTicks();
}

TEST(Clock, TheFrameCounterChangesOncePerSecondAndNeverToZero)
{
    countFpsReset(); // as at program start
    for (unsigned call = 1; call <= 60; call++) { // nothing is measured in the first second
        timerFreezeTicks((call - 1) * 16);
        EXPECT_EQ(countFps(1000), 0) << "call " << call;
    }
    // The 61st call at 1017 ms: 61 frames in 1.017 s. Then 2 in 1.001 s, then 1 in 7 s.
    const unsigned callsAt[][2] = {{1017, 59}, {2017, 59}, {2018, 1}, {9018, 1}};
    for (const auto &c : callsAt) {
        timerFreezeTicks(c[0]);
        EXPECT_EQ(countFps(1000), (int)c[1]) << c[0] << " ms";
    }
    timerReset();
}
