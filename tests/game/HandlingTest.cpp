// How the five game aircraft handle for a player: hands off in trimmed cruise, just after a
// hands-off take-off at full power (both at the game's own frame step, DataAircraft.h), and
// on the keys through the real input at 60 passes a second (KeyboardPilot.h).
#include <algorithm>
#include <cmath>

#include "DataAircraft.h"
#include "KeyboardPilot.h"
#include "flight/FSFlightCommands.h"

namespace game_test {
namespace {

class Handling : public GameAircraftTest {};

TEST_F(Handling, EveryAircraftKeepsHeadingAndHeightHandsOffWithAWingADegreeLow) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + 1.0f);
        ASSERT_GT(a->GetMass(), 0.0f);
        // The load's level start with the controls centred; the engine set for the drag of
        // the whole aircraft (the load sets it from the plates' mean drag only).
        a->SetPitchControl(0.0f);
        a->ComputeForces();
        if (a->Thrust() > 0.0f) a->SetThrottle(a->GetThrottle() * a->TotalDrag() / a->Thrust());
        flight_test::Tilt(*a.node, 0.0f, kRadian);
        float lowest = 0.0f, highest = 0.0f, widestTurn = 0.0f, widestBank = 0.0f, steepest = 0.0f;
        for (int frame = 0; frame < kFramesPerMinute; ++frame) {
            ASSERT_TRUE(a.Fly());
            lowest = std::min(lowest, a.Height() - 1.0f);
            highest = std::max(highest, a.Height() - 1.0f);
            widestTurn = std::max(widestTurn, std::fabs(a.Heading()));
            widestBank = std::max(widestBank, std::fabs(a.Bank()));
            steepest = std::max(steepest, std::fabs(a.Pitch()));
        }
        // The wing comes up again rather than dropping into a spiral, and the nose stays
        // near the horizon: no loop, no dive.
        EXPECT_LT(widestTurn, 10.0f * kRadian);
        EXPECT_LE(widestBank, 1.01f * kRadian);
        EXPECT_LT(steepest, 10.0f * kRadian);
        if (index != kGlider) {
            EXPECT_GT(lowest, -0.05f);
            EXPECT_LT(highest, 0.05f);
        } else {
            // A steady glide: down a little every second, never up.
            EXPECT_LT(highest, 0.005f);
            EXPECT_LT(a.Height() - 1.0f, -0.03f);
            EXPECT_GT(lowest, -0.2f);
        }
    }
}

TEST_F(Handling, EveryPoweredAircraftClimbsAwayWithoutAStallAfterAHandsOffTakeOff) {
    const float ground = kSceneHeightOfAltitudeZero + 0.15f;
    UseTerrain(FlatTerrainFile(ground));
    for (int index = 0; index < kAircraftCount; ++index) {
        if (index == kGlider) continue;
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, ground + kClearance);
        ASSERT_TRUE(a->GroundContact(true));
        // The player's take-off: flaps down, full throttle, brakes off, the elevator as the
        // flight started (centred) and never touched.
        a->HandleCommand(kCommandFlapsToggle, 0);
        while (a->ThrottleFraction() < 1.0f)
            a->HandleCommand(kCommandThrottleMore, 0);
        a->HandleCommand(kCommandBrakesReleased, 0);
        int frame = 0;
        for (; frame < 2000 && a->IsOnGround(); ++frame)
            ASSERT_TRUE(a.Fly());
        ASSERT_FALSE(a->IsOnGround()) << "still rolling after " << frame << " frames";
        // 20 s at full power from the moment the wheels leave: the wings never come near
        // the stall and the aircraft does not sink back onto the runway.
        int stalling = 0;
        for (frame = 0; frame < kFramesPerMinute / 3; ++frame) {
            ASSERT_TRUE(a.Fly());
            stalling += a->IsStalling() ? 1 : 0;
            EXPECT_FALSE(a->IsOnGround()) << frame;
        }
        EXPECT_EQ(stalling, 0);
        EXPECT_GT(a.HeightAboveGround() - kClearance, 0.05f);
    }
}

TEST(HandlingOnTheKeys, ATapMovesThrottleOrControlAStepAndAHeldThrottleRunsUpInOneToTwoSeconds) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        testing_support::HeadlessTestGame game;
        KeyboardPilot pilot(game);
        ASSERT_TRUE(pilot.Start(index));
        const CFSApplicationContext& context = *GetApplicationContext();
        // The time scale as the engine measures the passes (17 ms apart on the game's clock).
        const float timeScale = context.frame.timeScale;
        ASSERT_NEAR(timeScale, kGameTimeScale, 0.01f);
        CSPAircraft& a = pilot.Aircraft();

        // Each control key down for one pass: one step of its control (time scale × rate ×
        // key gain), then back to 0 for the ailerons and the rudder, kept by the elevator.
        const float roll = timeScale * a.RollRate() * context.game.keyRollRate;
        const float pitch = timeScale * a.PitchRate() * context.game.keyPitchRate;
        const float yaw = timeScale * a.YawRate() * context.game.keyRollRate;
        struct Key {
            int pad;
            bool shifted;  // button 5 held: the rudder
            float (CFSAircraft::*control)() const;
            float step;
            bool keeps;
        };
        for (const Key& k : {Key{kLeft, false, &CFSAircraft::GetRollControl, -roll, false},
                             Key{kRight, false, &CFSAircraft::GetRollControl, roll, false},
                             Key{kDown, false, &CFSAircraft::GetPitchControl, pitch, true},
                             Key{kUp, false, &CFSAircraft::GetPitchControl, -pitch, true},
                             Key{kLeft, true, &CFSAircraft::GetYawControl, -yaw, false},
                             Key{kRight, true, &CFSAircraft::GetYawControl, yaw, false}}) {
            const float before = (a.*k.control)();
            if (k.shifted) pilot.Button(kShift);
            game.display.SetPadKey(k.pad, true);
            game.Pass();
            EXPECT_NEAR((a.*k.control)() - before, k.step, 1e-4f * std::fabs(k.step)) << k.pad;
            game.display.SetPadKey(k.pad, false);
            game.Pass();
            if (k.shifted) pilot.Button(kShift);
            EXPECT_NEAR((a.*k.control)(), k.keeps ? before + k.step : 0.0f, 1e-6f) << k.pad;
        }

        // Throttle from idle: a tap adds a little, a held chord runs the engine up in 1-2 s.
        if (index == kGlider) continue;
        ASSERT_EQ(a.ThrottleFraction(), 0.0f);
        pilot.Chord(kThrottleMoreButton, 0);
        EXPECT_GT(a.ThrottleFraction(), 0.0f);
        EXPECT_LE(a.ThrottleFraction(), 0.05f);
        pilot.ThrottleTo(0.0f);
        const int passes = pilot.ThrottleTo(1.0f);
        EXPECT_EQ(a.ThrottleFraction(), 1.0f);
        EXPECT_GE(passes, 60);
        EXPECT_LE(passes, 120);
    }
}

}  // namespace
}  // namespace game_test
