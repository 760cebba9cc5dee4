// How the five game aircraft handle for a player: hands off in cruise, taking off hands off
// or under the instructor (DataAircraft.h), and on the keys through the real input.
#include <algorithm>
#include <cmath>
#include <string>

#include "DataAircraft.h"
#include "KeyboardPilot.h"
#include "flight/FSFlightCommands.h"

namespace game_test {
namespace {

class Handling : public GameAircraftTest {};

TEST_F(Handling, EveryAircraftKeepsHeadingAndHeightHandsOffAfterAGust) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + 1.0f);
        // The load's level start with the controls centred, the engine set for the drag of
        // the whole aircraft (the load takes the plates' mean drag).
        a->SetPitchControl(0.0f);
        a->ComputeForces();
        if (a->Thrust() > 0.0f) a->SetThrottle(a->GetThrottle() * a->TotalDrag() / a->Thrust());
        // A gust: a wing a degree low and the nose pitching up at 10 degrees a second.
        flight_test::Tilt(*a.node, 0.0f, kRadian);
        a->SetAngularVelocity(FSVector(10.0f * kRadian, 0.0f, 0.0f));
        float lowest = 0.0f, highest = 0.0f, widestTurn = 0.0f, widestBank = 0.0f, steepest = 0.0f;
        for (int frame = 0; frame < kFramesPerMinute; ++frame) {
            ASSERT_TRUE(a.Fly());
            lowest = std::min(lowest, a.Height() - 1.0f);
            highest = std::max(highest, a.Height() - 1.0f);
            widestTurn = std::max(widestTurn, std::fabs(a.Heading()));
            widestBank = std::max(widestBank, std::fabs(a.Bank()));
            steepest = std::max(steepest, std::fabs(a.Pitch()));
        }
        // The wing comes up again (no spiral) and the nose settles (no loop, no dive).
        EXPECT_LT(widestTurn, 10.0f * kRadian);
        EXPECT_LE(widestBank, 1.01f * kRadian);
        EXPECT_LT(steepest, 10.0f * kRadian);
        if (index != kGlider) {
            EXPECT_GT(lowest, -0.05f);
            EXPECT_LT(highest, 0.05f);
        } else {  // a steady glide: down a little every second, never up
            EXPECT_LT(highest, 0.005f);
            EXPECT_TRUE(lowest > -0.2f && a.Height() - 1.0f < -0.03f) << lowest;
        }
    }
}

TEST_F(Handling, EveryPoweredAircraftTakesOffHandsOffWithoutAStallAndUnderTheInstructor) {
    const float ground = kSceneHeightOfAltitudeZero + 0.15f;
    UseTerrain(FlatTerrainFile(ground));
    for (int index = 0; index < kAircraftCount; ++index) {
        for (const bool instructor : {false, true}) {
            if (index == kGlider) continue;
            SCOPED_TRACE(std::string(kAircraftNames[index]) + (instructor ? ", instructor" : ", hands off"));
            DataAircraft a(index, ground + kClearance);
            ASSERT_TRUE(a->GroundContact(true));
            if (instructor) {
                ASSERT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
            } else {  // flaps, full throttle, brakes off, the elevator centred as it starts
                a->HandleCommand(kCommandFlapsToggle, 0);
                while (a->ThrottleFraction() < 1.0f)
                    a->HandleCommand(kCommandThrottleMore, 0);
                a->HandleCommand(kCommandBrakesReleased, 0);
            }
            // The instructor runs the engine up on the brakes (held while the throttle is
            // below 0.7), puts the flaps down and rolls.
            bool released = !instructor;
            int frame = 0;
            for (; frame < 2000 && a->IsOnGround(); ++frame) {
                ASSERT_TRUE(a.Fly()) << frame;
                if (!instructor || !a->IsOnGround()) continue;
                EXPECT_TRUE(a->IsTakingOff());
                EXPECT_EQ(a->IsBrakes(), a->ThrottleFraction() < 0.7f) << frame;
                released = released || a->BrakeLevel() == 0.0f;
                EXPECT_TRUE(frame < 200 || a->FlapAngle() == a->FlapMax()) << frame;
            }
            EXPECT_TRUE(released);
            ASSERT_FALSE(a->IsOnGround()) << "still rolling after " << frame << " frames";
            EXPECT_LT(a.Distance(), 5000.0f);
            if (instructor) {
                // The flaps come up above 0.15 km, the assistant hands over above 0.2 km.
                for (; frame < 5000 && a->IsTakingOff(); ++frame)
                    ASSERT_TRUE(a.Fly()) << frame;
                EXPECT_FALSE(a->IsTakingOff());
                EXPECT_GT(a.HeightAboveGround(), 0.2f);
                EXPECT_FALSE(a->IsFlaps());
                EXPECT_TRUE(a->IsInstructor() && !a->IsAutopilot());
                EXPECT_GT(a->Airspeed(), 60.0f);
                continue;
            }
            // Hands off at full power for 20 s after lift-off: no stall, no sinking back.
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
}

TEST(HandlingOnTheKeys, AOnePassTapMovesEachControlByOneStep) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        testing_support::HeadlessTestGame game;
        KeyboardPilot pilot(game);
        ASSERT_TRUE(pilot.Start(index));
        const CFSApplicationContext& context = *GetApplicationContext();
        const float timeScale = context.frame.timeScale;  // passes 17 ms apart on the clock
        ASSERT_NEAR(timeScale, kGameTimeScale, 0.01f);
        CSPAircraft& a = pilot.Aircraft();

        // A key down for one pass: one step (time scale × rate × key gain), then back to 0
        // for ailerons and rudder, kept by the elevator.
        const float roll = timeScale * a.RollRate() * context.game.keyRollRate;
        const float pitch = timeScale * a.PitchRate() * context.game.keyPitchRate;
        const float yaw = timeScale * a.YawRate() * context.game.keyRollRate;
        struct Key {
            int pad;
            float (CFSAircraft::*control)() const;  // the rudder's keys are shifted by button 5
            float step;
        };
        for (const Key& k :
             {Key{kLeft, &CFSAircraft::GetRollControl, -roll},
              Key{kRight, &CFSAircraft::GetRollControl, roll},
              Key{kDown, &CFSAircraft::GetPitchControl, pitch},
              Key{kUp, &CFSAircraft::GetPitchControl, -pitch}, Key{kLeft, &CFSAircraft::GetYawControl, -yaw},
              Key{kRight, &CFSAircraft::GetYawControl, yaw}}) {
            const bool rudder = k.control == &CFSAircraft::GetYawControl;
            const float before = (a.*k.control)();
            if (rudder) pilot.Button(kShift);
            game.display.SetPadKey(k.pad, true);
            game.Pass();
            EXPECT_NEAR((a.*k.control)() - before, k.step, 1e-4f * std::fabs(k.step)) << k.pad;
            game.display.SetPadKey(k.pad, false);
            game.Pass();
            if (rudder) pilot.Button(kShift);
            const bool keeps = k.control == &CFSAircraft::GetPitchControl;
            EXPECT_NEAR((a.*k.control)(), keeps ? before + k.step : 0.0f, 1e-6f) << k.pad;
        }

        // The glider starts in the air (the others' throttle: KeyboardFlightTest.cpp).
        EXPECT_TRUE(index != kGlider || !a.IsOnGround());
    }
}

}  // namespace
}  // namespace game_test
