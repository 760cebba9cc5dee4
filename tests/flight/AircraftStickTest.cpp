// The analog stick's side of the controls: the frame's analog values put the controls in
// proportion, bring them back when let go, set the throttle from a moved lever, and take
// over from the pilot aids.
#include <gtest/gtest.h>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

using flight_test::LoadedAircraft;

namespace {

class AircraftStick : public ::testing::Test {
protected:
    void Stick(float roll, float pitch, float rudder = 0.0f, float throttle = -1.0f) {
        FSFrameValues& f = trainer.settings.frame;
        f.analogActive = 1;
        f.analogRoll = roll;
        f.analogPitch = pitch;
        f.analogRudder = rudder;
        f.analogThrottle = throttle;
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            a.AnalogStep();
    }
    // A frame's travel: the stylus's gain or a held key's step, whichever is faster.
    float RollStep() const { return Step(a.RollRate(), trainer.settings.game.stylusRollRate); }
    float PitchStep() const { return Step(a.PitchRate(), trainer.settings.game.stylusPitchRate); }
    float Step(float rate, float stylusGain) const {
        return trainer.settings.frame.timeScale * std::max(stylusGain, rate * kKeyGain);
    }

    static constexpr float kKeyGain = 0.125f;  // the factory key gain
    LoadedAircraft trainer{flight_test::kTrainer, 1.0f};
    CFSAircraft& a = *trainer;
};

TEST_F(AircraftStick, TheStickPutsEachControlAtItsFractionOfTheTravelAStepAtATime) {
    struct Case {
        float roll, pitch, rudder;
    };
    for (const Case c : {Case{1.0f, 0.0f, 0.0f}, Case{-0.5f, 0.5f, -1.0f}, Case{0.25f, -1.0f, 0.5f},
                         Case{-1.0f, -0.3f, 0.0f}}) {
        SCOPED_TRACE(testing::Message() << c.roll << " " << c.pitch << " " << c.rudder);
        // The elevator follows the stylus's gain where that is the faster.
        trainer.settings.game.stylusPitchRate = c.pitch < 0.0f ? 0.3f : 0.05f;
        const auto deflection = [](float input, float low, float high) {
            return input < 0 ? -input * low : input * high;
        };
        const float roll = deflection(c.roll, a.RollMin(), a.RollMax());
        const float pitch = deflection(c.pitch, a.PitchMin(), a.PitchMax());
        const float yaw = deflection(c.rudder, a.YawMin(), a.YawMax());
        a.SetRollControl(0.0f);
        a.SetPitchControl(0.0f);
        a.SetYawControl(0.0f);
        Stick(c.roll, c.pitch, c.rudder);
        // The first frame moves each control by no more than a key step toward its place.
        Frames(1);
        EXPECT_NEAR(a.GetRollControl(), std::clamp(roll, -RollStep(), RollStep()), 1e-6f);
        EXPECT_NEAR(a.GetPitchControl(), std::clamp(pitch, -PitchStep(), PitchStep()), 1e-6f);
        Frames(100);
        EXPECT_NEAR(a.GetRollControl(), roll, 1e-6f);
        EXPECT_NEAR(a.GetPitchControl(), pitch, 1e-6f);
        EXPECT_NEAR(a.GetYawControl(), yaw, 1e-6f);
        // The plates follow: the right aileron takes rollControl as it is.
        EXPECT_NEAR(a.Surface(kRightAileron).incidence, roll, 1e-6f);
        // The force model leaves them where the stick put them: no held key repeats.
        a.ComputeForces();
        EXPECT_NEAR(a.GetRollControl(), roll, 1e-6f);
        EXPECT_NEAR(a.GetYawControl(), yaw, 1e-6f);
    }
}

TEST_F(AircraftStick, LetGoTheControlsComeBackToCentreAndThenTheKeysHaveThem) {
    Stick(-1.0f, 1.0f, 1.0f);
    Frames(100);
    ASSERT_EQ(a.GetRollControl(), a.RollMin());
    Stick(0.0f, 0.0f, 0.0f);
    Frames(1);
    EXPECT_NEAR(a.GetPitchControl(), a.PitchMax() - PitchStep(), 1e-6f) << "a step at a time";
    Frames(100);
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f) << "unlike a released elevator key, the stick's elevator centres";
    EXPECT_EQ(a.GetYawControl(), 0.0f);
    EXPECT_FALSE(a.IsLeveller()) << "letting go does not level the wings";

    // The centred stick leaves what the keys do alone.
    a.HandleCommand(kCommandElevatorUp, 0);
    a.HandleCommand(kCommandAileronRight, 0);
    const float pitch = a.GetPitchControl();
    const float roll = a.GetRollControl();
    Frames(10);
    EXPECT_EQ(a.GetPitchControl(), pitch);
    EXPECT_EQ(a.GetRollControl(), roll);

    // Unplugged while deflected: as if let go.
    Stick(0.0f, -1.0f);
    Frames(100);
    trainer.settings.frame.analogActive = 0;
    Frames(100);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
}

TEST_F(AircraftStick, AMovedLeverSetsTheThrottleAndKeysStillWorkWhileItRests) {
    const float low = a.ThrottleMin();
    const float high = a.ThrottleMax();
    struct Case {
        float lever, want;
    };
    a.SetThrottle(0.3f * high);
    for (const Case c : {Case{-1.0f, 0.3f * high}, Case{1.0f, high}, Case{0.5f, low + 0.5f * (high - low)},
                         Case{0.0f, low}, Case{-1.0f, low}}) {
        Stick(0.0f, 0.0f, 0.0f, c.lever);
        Frames(1);
        EXPECT_NEAR(a.GetThrottle(), c.want, 1e-4f) << c.lever;
    }
    Stick(0.0f, 0.0f, 0.0f, 0.5f);
    Frames(1);
    a.HandleCommand(kCommandThrottleMore, 0);
    const float keyed = a.GetThrottle();
    Frames(5);
    EXPECT_EQ(a.GetThrottle(), keyed) << "a lever at rest does not undo the key";
}

TEST_F(AircraftStick, DeflectingTheStickOrMovingTheLeverTakesOverFromTheAids) {
    struct Case {
        float roll, lever;
        bool aidsStay;
    };
    for (const Case c : {Case{0.0f, -1.0f, true}, Case{0.5f, -1.0f, false}, Case{0.0f, 0.8f, false}}) {
        a.SetAutopilot(true);
        a.SetLeveller(true);
        trainer.settings.frame.analogThrottle = -1.0f;
        Frames(1);  // the lever forgets where it was
        Stick(c.roll, 0.0f, 0.0f, c.lever);
        Frames(1);
        EXPECT_EQ(a.IsAutopilot(), c.aidsStay) << c.roll << " " << c.lever;
        EXPECT_EQ(a.IsLeveller(), c.aidsStay);
    }
    // A stick that is not there steers nothing, whatever its values say.
    a.SetRollControl(0.0f);
    Stick(1.0f, 1.0f, 1.0f, 1.0f);
    trainer.settings.frame.analogActive = 0;
    a.SetAutopilot(true);
    Frames(3);
    EXPECT_TRUE(a.IsAutopilot());
}

}  // namespace
