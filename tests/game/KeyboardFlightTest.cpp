// A whole flight flown the way a player flies it in the window: only pad keys and the
// application buttons, through the input's chords, at 60 passes a second. Each powered
// aircraft in turn starts on the airfield's strip, takes off, climbs away, cruises and lands
// again (the glider, which starts in the air, is flown on the keys by HandlingTest.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include "KeyboardPilot.h"
#include "world/FSCamera.h"
#include "world/FSScene.h"

using testing_support::HeadlessTestGame;

namespace game_test {
namespace {

constexpr float kDegree = 0.017453292f;
// The highest lift-off speed of each aircraft (km/h), hands off at its ground attitude with
// flaps and full throttle (the glider, index 3, is not flown).
constexpr float kLiftOffAtMost[5] = {135.0f, 180.0f, 280.0f, 0.0f, 120.0f};
// The speed each aircraft's wheels are made to touch down at (km/h, its file's Damage line).
constexpr float kLandingSpeed[5] = {100.0f, 125.0f, 170.0f, 70.0f, 80.0f};

TEST(KeyboardFlight, EachPoweredAircraftTakesOffClimbsCruisesAndLandsWithTheKeys) {
    for (int index : {0, 1, 2, 4}) {
        SCOPED_TRACE(index);
        HeadlessTestGame game;
        KeyboardPilot pilot(game);
        ASSERT_TRUE(pilot.Start(index));
        CFSApplicationContext& context = game.shell->Context();
        CSPAircraft& aircraft = pilot.Aircraft();
        // The chase camera stands behind the aircraft and above it.
        const FSFixedVector offset = context.sceneRoot->Camera().Eye() - aircraft.GetNode().GetPosition();
        const FSVector nose = ToFloat(aircraft.GetNode().GetAxisY());
        EXPECT_LT(FixedToFloat(offset.x) * nose.x + FixedToFloat(offset.z) * nose.z, -0.005f);
        EXPECT_GT(offset.y, 0);
        ASSERT_TRUE(aircraft.IsOnGround());

        // Flaps down, full throttle (a tap adds a little, a held chord runs the engine up
        // from idle in 1-2 s), brakes off; hands off until the wheels leave.
        pilot.Chord(kFlapsButton, 1);
        ASSERT_TRUE(aircraft.IsFlaps());
        pilot.Chord(kThrottleMoreButton, 0);
        EXPECT_TRUE(aircraft.ThrottleFraction() > 0.0f && aircraft.ThrottleFraction() <= 0.05f);
        pilot.ThrottleTo(0.0f);
        const int passes = pilot.ThrottleTo(1.0f);
        ASSERT_EQ(aircraft.ThrottleFraction(), 1.0f);
        EXPECT_TRUE(passes >= 60 && passes <= 120) << passes;
        const FSFixedVector start = aircraft.GetNode().GetPosition();
        pilot.ReleaseBrakes();
        ASSERT_FALSE(aircraft.IsBrakes());
        int pass = 0;
        for (; pass < 60 * 60 && aircraft.IsOnGround(); ++pass)
            game.Pass();
        ASSERT_FALSE(aircraft.IsOnGround()) << "no lift-off in a minute";
        // The wheels hold it level, so it leaves the ground at its ground attitude: at a
        // sensible speed and within an airfield's length.
        EXPECT_LT(aircraft.Airspeed(), kLiftOffAtMost[index]);
        const FSFixedVector rolled = aircraft.GetNode().GetPosition() - start;
        EXPECT_LT(std::hypot(FixedToFloat(rolled.x), FixedToFloat(rolled.z)), 0.7f);

        // Climb away with the nose 5-12 degrees up to 150 m, then flaps up.
        for (pass = 0; pass < 60 * 60 && pilot.Height() < 0.15f; ++pass) {
            pilot.HoldPitch(5.0f * kDegree, 12.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed()) << "climbing, pass " << pass;
        }
        ASSERT_GE(pilot.Height(), 0.15f) << "not at 150 m after a minute";
        pilot.LetGo();
        pilot.Chord(kFlapsButton, 1);
        ASSERT_FALSE(aircraft.IsFlaps());

        // Cruise level for ten seconds at 70 % throttle.
        pilot.ThrottleTo(0.7f);
        const float cruiseStart = pilot.Height();
        for (pass = 0; pass < 60 * 10; ++pass) {
            pilot.HoldPitch(-1.0f * kDegree, 3.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed());
        }
        EXPECT_GT(pilot.Height(), cruiseStart - 0.1f);
        EXPECT_GT(aircraft.Airspeed(), 60.0f);

        // Approach: throttle back and hold the height until the speed is down to a fifth
        // over the landing speed, then nose down; flare close to the ground; touch down.
        pilot.LetGo();
        pilot.ThrottleTo(0.0f);
        for (pass = 0; pass < 60 * 120 && !aircraft.IsOnGround(); ++pass) {
            if (pilot.Height() > 0.012f && aircraft.Airspeed() > 1.2f * kLandingSpeed[index])
                pilot.HoldPitch(0.0f, 3.0f * kDegree);
            else if (pilot.Height() > 0.012f)
                pilot.HoldPitch(-4.0f * kDegree, -1.5f * kDegree);
            else
                pilot.HoldPitch(1.0f * kDegree, 4.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed()) << "landing, pass " << pass << " at " << pilot.Height() << " km, "
                                          << aircraft.Airspeed() << " km/h";
        }
        pilot.LetGo();
        ASSERT_TRUE(aircraft.IsOnGround()) << "still in the air after two minutes";
        // Brakes (button 5 and the action key held) stop it on the ground.
        pilot.Button(kShift);
        game.display.SetPadKey(kAction, true);
        for (pass = 0; pass < 60 * 60 && aircraft.Airspeed() > 1.0f; ++pass)
            game.Pass();
        game.display.SetPadKey(kAction, false);
        pilot.Button(kShift);
        EXPECT_FALSE(pilot.Crashed());
        EXPECT_LT(aircraft.Airspeed(), 1.0f);
        EXPECT_TRUE(aircraft.IsOnGround());
    }
}

}  // namespace
}  // namespace game_test
