#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/FSEngine.h"
#include "app/FSFlightClock.h"
#include "app/FSFrameRateMeter.h"
#include "hud/FSReadout.h"

namespace {

TEST(TimeScale, FollowsEighteenOverTheFrameRateWithinItsLimits) {
    EXPECT_FLOAT_EQ(ComputeTimeScale(true, 9.0f), 2.0f);
    EXPECT_FLOAT_EQ(ComputeTimeScale(true, 100.0f), 0.25f);  // 0.18 raised
    EXPECT_FLOAT_EQ(ComputeTimeScale(true, 3.0f), 4.0f);     // 6.0 lowered
    EXPECT_FLOAT_EQ(ComputeTimeScale(true, 60.0f), 0.3f);
    // No rate yet, or still warming up after a state change: the paced rate's.
    EXPECT_FLOAT_EQ(ComputeTimeScale(true, 0.0f), 0.3f);
    EXPECT_FLOAT_EQ(ComputeTimeScale(false, 9.0f), 0.3f);
}

TEST(FlightClock, CountsWholeSecondsAndStandsStillWhileStopped) {
    FlightClock clock;
    EXPECT_TRUE(clock.Stopped());
    EXPECT_EQ(clock.Read(5000), 0);

    clock.Reset(10000);
    EXPECT_EQ(clock.Read(10999), 0);
    EXPECT_EQ(clock.Read(12500), 2);
    clock.Stop(12500);
    EXPECT_EQ(clock.Read(90000), 2);
    clock.Stop(95000);  // a second stop changes nothing
    EXPECT_EQ(clock.Read(95000), 2);
    clock.Restart(100000);
    EXPECT_EQ(clock.Read(103000), 5);
    clock.Restart(101000);  // restart while running keeps the start
    EXPECT_EQ(clock.Read(103000), 5);
}

TEST(FlightClock, ReadOutShowsMinutesAndTwoDigitSeconds) {
    for (const auto& [seconds, shown] : {std::pair{125, "2:05"}, {0, "0:00"}, {600, "10:00"}}) {
        char text[16];
        FormatFlightTime(seconds, text, sizeof text);
        EXPECT_STREQ(text, shown);
    }
}

TEST(FrameRateMeter, MeasuresCompleteWindowsOnly) {
    FrameRateMeter meter;
    meter.Init(500);
    meter.Count(1000);  // first frame only starts the clock
    EXPECT_EQ(meter.CurrentRate(), 0.0f);
    for (int i = 1; i <= 9; ++i)
        meter.Count(1000 + 50 * i);  // 450 ms: window not complete
    EXPECT_EQ(meter.CurrentRate(), 0.0f);
    meter.Count(1500);  // 11 frames in the first 500 ms window
    EXPECT_FLOAT_EQ(meter.CurrentRate(), 22.0f);
    EXPECT_FLOAT_EQ(meter.HighestRate(), 22.0f);
    EXPECT_FLOAT_EQ(meter.LowestRate(), 22.0f);
    for (int i = 1; i <= 5; ++i)
        meter.Count(1500 + 100 * i);  // 5 frames in 500 ms
    EXPECT_FLOAT_EQ(meter.CurrentRate(), 10.0f);
    EXPECT_FLOAT_EQ(meter.HighestRate(), 22.0f);
    EXPECT_FLOAT_EQ(meter.LowestRate(), 10.0f);
    EXPECT_FLOAT_EQ(meter.AverageRate(), 16 * 1000.0f / 1000.0f);
}

}  // namespace
