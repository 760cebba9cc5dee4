// The analog stick's side of the controls: the frame's analog values put the controls in
// proportion a step at a time, bring them back when let go and then leave them to the keys,
// set the throttle from a moved lever, and take over from the pilot aids.
#include <gtest/gtest.h>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

TEST(AircraftStick, PutsTheControlsInProportionCentresThemLetGoAndSetsAMovedLever) {
    flight_test::LoadedAircraft trainer{flight_test::kTrainer, 1.0f};
    CFSAircraft& a = *trainer;
    FSFrameValues& f = trainer.settings.frame;
    trainer.settings.game.stylusPitchRate =
        0.3f;  // the elevator goes at the stylus's rate, faster than a key
    const FSGameBlock& g = trainer.settings.game;
    const float rollStep = f.timeScale * std::max(g.stylusRollRate, a.RollRate() * g.keyRollRate);
    const float pitchStep = f.timeScale * std::max(g.stylusPitchRate, a.PitchRate() * g.keyPitchRate);
    const auto run = [&](float roll, float pitch, float rudder, float lever, int frames) {
        f.analogActive = 1;
        f.analogRoll = roll, f.analogPitch = pitch, f.analogRudder = rudder, f.analogThrottle = lever;
        for (int i = 0; i < frames; ++i)
            a.AnalogStep();
    };
    struct Case {
        float roll, pitch, rudder, wantRoll, wantPitch, wantYaw;
    };
    for (const Case& c : {Case{0.5f, -1.0f, -0.25f, 0.5f * a.RollMax(), a.PitchMin(), 0.25f * a.YawMin()},
                          Case{-1.0f, 0.2f, 1.0f, a.RollMin(), 0.2f * a.PitchMax(), a.YawMax()}}) {
        a.SetAutopilot(true);
        run(c.roll, c.pitch, c.rudder, -1.0f, 1);
        EXPECT_FALSE(a.IsAutopilot()) << "the stick takes over";
        EXPECT_NEAR(a.GetRollControl(), std::clamp(c.wantRoll, -rollStep, rollStep), 1e-6f)
            << "one step at first";
        run(c.roll, c.pitch, c.rudder, -1.0f, 100);
        a.ComputeForces();  // no held key repeats on top
        EXPECT_NEAR(a.GetRollControl(), c.wantRoll, 1e-6f);
        EXPECT_NEAR(a.GetPitchControl(), c.wantPitch, 1e-6f);
        EXPECT_NEAR(a.GetYawControl(), c.wantYaw, 1e-6f);
        run(0.0f, 0.0f, 0.0f, -1.0f, 1);
        EXPECT_NEAR(a.GetPitchControl(),
                    c.wantPitch - std::copysign(std::min(pitchStep, std::fabs(c.wantPitch)), c.wantPitch),
                    1e-6f);
        run(0.0f, 0.0f, 0.0f, -1.0f, 100);
        EXPECT_EQ(a.GetRollControl(), 0.0f);
        EXPECT_EQ(a.GetPitchControl(), 0.0f) << "unlike a released elevator key";
        EXPECT_EQ(a.GetYawControl(), 0.0f);
    }
    // Centred, the stick leaves the keys' controls and the throttle alone; a moved lever
    // sets the throttle once, and is not heard while the stick is not there.
    a.HandleCommand(kCommandElevatorUp, 0);
    const float keyed = a.GetPitchControl();
    a.SetThrottle(a.ThrottleMax());
    run(0.0f, 0.0f, 0.0f, -1.0f, 5);
    EXPECT_EQ(a.GetPitchControl(), keyed);
    EXPECT_EQ(a.GetThrottle(), a.ThrottleMax());
    run(0.0f, 0.0f, 0.0f, 0.25f, 1);
    EXPECT_NEAR(a.GetThrottle(), a.ThrottleMin() + 0.25f * (a.ThrottleMax() - a.ThrottleMin()), 1e-4f);
    a.HandleCommand(kCommandThrottleMore, 0);
    const float more = a.GetThrottle();
    run(0.0f, 0.0f, 0.0f, 0.25f, 5);
    EXPECT_EQ(a.GetThrottle(), more) << "a lever at rest does not undo the key";
    f.analogActive = 0;
    f.analogThrottle = 1.0f;
    a.AnalogStep();
    EXPECT_EQ(a.GetThrottle(), more);
    // Values that are no numbers (a damaged recording) steer nothing.
    run(NAN, NAN, NAN, NAN, 5);
    EXPECT_EQ(a.GetThrottle(), more);
    EXPECT_EQ(a.GetRollControl(), 0.0f);
}
