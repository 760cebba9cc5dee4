// A flight flown with an analog stick, from the display's stick through the shell and the
// frame's analog values to the aircraft: it rolls the way the stick points and as far as it
// is pushed, its lever sets the throttle, and let go the controls centre.
#include <gtest/gtest.h>

#include <cmath>

#include "FSHeadlessRun.h"
#include "game/CSPAircraft.h"
#include "support/TestSupport.h"

namespace {

// The high start of the second route, in the Cessna, hands off.
FSHeadlessOptions HighStart() {
    FSHeadlessOptions options;
    options.route = 1;
    options.aircraft = 0;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("stick");
    return options;
}

FSStick Held(float x, float y, float throttle = -1.0f) {
    FSStick stick;
    stick.present = true;
    stick.x = x;
    stick.y = y;
    stick.throttle = throttle;
    stick.name = "Test Stick";
    return stick;
}

void Fly(CFSHeadlessRun& run, const FSStick& stick, int passes) {
    for (int i = 0; i < passes; ++i) {
        run.Display().SetStick(stick);
        run.Pass();
    }
}

float Bank(CFSHeadlessRun& run) {
    float pitch = 0.0f;
    float bank = 0.0f;
    run.Controller().Aircraft()->Attitude(pitch, bank);
    return bank;  // negative banked to the right
}

TEST(StickFlight, TheAircraftRollsTheWayTheStickPointsAndFurtherTheFurtherItIsPushed) {
    struct Case {
        float x;
        float bank;
    };
    Case cases[] = {{-1.0f, 0}, {-0.5f, 0}, {0.0f, 0}, {0.5f, 0}, {1.0f, 0}};
    for (Case& c : cases) {
        CFSHeadlessRun run(HighStart());
        ASSERT_EQ(run.Start(), 0);
        ASSERT_NE(run.Controller().Aircraft(), nullptr);
        Fly(run, Held(c.x, 0.0f), 60);
        c.bank = Bank(run);
        if (c.x != 0.0f) {
            // Held over, the ailerons stand at the stick's share of their travel (through the
            // sensitivity curve, which keeps full as full).
            const CSPAircraft& a = *run.Controller().Aircraft();
            const float travel = c.x < 0.0f ? -a.RollMin() : a.RollMax();
            EXPECT_NEAR(std::fabs(a.GetRollControl()) / travel, std::fabs(c.x) == 1.0f ? 1.0f : 0.59375f,
                        1e-3f)
                << c.x;
        }
    }
    const float level = cases[2].bank;
    EXPECT_LT(std::fabs(level), 0.02f) << "hands off, the wings stay near level";
    EXPECT_GT(cases[0].bank, cases[1].bank + 0.02f) << "full left banks further left than half";
    EXPECT_GT(cases[1].bank, level + 0.02f);
    EXPECT_LT(cases[3].bank, level - 0.02f);
    EXPECT_LT(cases[4].bank, cases[3].bank - 0.02f) << "full right banks further right than half";
}

TEST(StickFlight, TheLeverSetsTheThrottleAndTheControlsCentreWhenLetGo) {
    CFSHeadlessRun run(HighStart());
    ASSERT_EQ(run.Start(), 0);
    CSPAircraft& a = *run.Controller().Aircraft();
    for (const float lever : {1.0f, 0.25f, 0.0f}) {
        Fly(run, Held(0.0f, 0.0f, lever), 2);
        EXPECT_NEAR(a.ThrottleFraction(), lever, 1e-4f);
    }
    Fly(run, Held(1.0f, -1.0f, 0.0f), 30);  // right and nose down
    EXPECT_EQ(a.GetRollControl(), a.RollMax());
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
    Fly(run, Held(0.0f, 0.0f, 0.0f), 30);
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);

    // Unplugged, the keys alone fly it; the throttle stays where the lever left it.
    run.Display().SetStick(FSStick());
    run.Pass();
    EXPECT_EQ(a.ThrottleFraction(), 0.0f);

    // While the instructor flies, the stick is not heard: it has the controls.
    a.SetInstructor(true);
    Fly(run, Held(1.0f, 0.0f), 10);
    EXPECT_LT(a.GetRollControl(), 0.5f * a.RollMax());
}

}  // namespace
