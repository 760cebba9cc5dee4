// A flight flown with an analog stick, from the display's stick through the shell and the
// frame's analog values to the aircraft: it rolls the way the stick points and further the
// further it is pushed, its lever sets the throttle, and while the instructor flies the
// stick is not heard.
#include <gtest/gtest.h>

#include <cmath>

#include "FSHeadlessRun.h"
#include "game/CSPAircraft.h"
#include "support/TestSupport.h"

TEST(StickFlight, RollsAsTheStickPointsAndTheLeverSetsTheThrottle) {
    const auto fly = [](CFSHeadlessRun& run, float x, float y, float lever, int passes) {
        FSStick stick;
        stick.present = true, stick.x = x, stick.y = y, stick.throttle = lever;
        for (int i = 0; i < passes; ++i) {
            run.Display().SetStick(stick);
            run.Pass();
        }
    };
    FSHeadlessOptions options;  // the high start of the second route, in the Cessna
    options.route = 1;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("stick");
    float banks[5] = {};  // after a second at -1, -0.5, 0, 0.5, 1 (negative: banked right)
    for (int i = 0; i < 5; ++i) {
        CFSHeadlessRun run(options);
        ASSERT_EQ(run.Start(), 0);
        CSPAircraft& a = *run.Controller().Aircraft();
        const float x = 0.5f * static_cast<float>(i - 2);
        fly(run, x, 0.0f, -1.0f, 60);
        float pitch = 0.0f;
        a.Attitude(pitch, banks[i]);
        // Held over, the ailerons stand at the stick's share of their travel through the
        // sensitivity curve (0.125 by default: half the stick is 0.59 of the travel).
        const float share = std::fabs(x) == 0.5f ? 0.59375f : std::fabs(x);
        EXPECT_NEAR(a.GetRollControl(), share * (x < 0 ? a.RollMin() : a.RollMax()), 1e-4f) << x;
        if (i != 4) continue;
        fly(run, 0.0f, 0.0f, 0.25f, 2);
        EXPECT_NEAR(a.ThrottleFraction(), 0.25f, 1e-4f) << "the lever sets the throttle";
        a.SetInstructor(true);
        fly(run, 1.0f, 0.0f, 1.0f, 10);
        EXPECT_LT(a.GetRollControl(), 0.5f * a.RollMax());
    }
    EXPECT_LT(std::fabs(banks[2]), 0.02f) << "hands off, the wings stay near level";
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(banks[i], banks[i + 1] + 0.02f) << "further left, or less far right, at " << i;
}
