// The controls of CFSAircraft: actuators, stick, touch-pad, look-around and the command
// dispatch.
#include <gtest/gtest.h>

#include <cmath>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

using flight_test::LoadedAircraft;

namespace {

// The control gains of the default settings.
constexpr float kKeyGain = 0.125f;
constexpr float kStylusGain = 0.05f;
// The touch-pad of flight orientation 2: origin (160, 120), 160 × 120, dead zone 40 × 30.
constexpr FSTouchpadRect kPad{160, 120, 160, 120, 40, 30};

class AircraftControls : public ::testing::Test {
protected:
    void SetUp() override {
        trainer->SetTouchpadLookup([](int alignment, FSTouchpadRect& rect) {
            rect = kPad;
            return alignment == 2;
        });
    }
    void Stylus(int scheme, int x, int y) {
        trainer.settings.game.touchscreenScheme = scheme;
        trainer.settings.frame.stylusX = x;
        trainer.settings.frame.stylusY = y;
    }
    void Centre() {
        for (const int plate : {kRightAileron, kElevator, kRudder})
            SetControl(plate, 0.0f);
    }
    void SetControl(int plate, float radians) {
        plate == kElevator ? a.SetPitchControl(radians)
        : plate == kRudder ? a.SetYawControl(radians)
                           : a.SetRollControl(radians);
    }

    LoadedAircraft trainer{flight_test::kTrainer, 1.0f};  // the factory gains
    CFSAircraft& a = *trainer;
};

TEST_F(AircraftControls, KeyStepsFollowRateGainAndTimeScaleStopAtTheLimitsAndCentreAStepAtATime) {
    // A slow frame rate stretches the step; the rudder steps with the roll gain.
    trainer.settings.frame.timeScale = 1.5f;
    trainer.settings.game.keyRollRate = 0.05f;
    struct Key {
        int code, release, plate;
        float step, limit;  // the step at time scale 1 and gain 1
    };
    for (const Key k :
         {Key{kCommandAileronLeft, kCommandAileronLeftReleased, kRightAileron, -a.RollRate(), a.RollMin()},
          Key{kCommandAileronRight, kCommandAileronRightReleased, kRightAileron, a.RollRate(), a.RollMax()},
          Key{kCommandElevatorDown, kCommandElevatorDownReleased, kElevator, -a.PitchRate(), a.PitchMin()},
          Key{kCommandElevatorUp, kCommandElevatorUpReleased, kElevator, a.PitchRate(), a.PitchMax()},
          Key{kCommandRudderLeft, kCommandRudderLeftReleased, kRudder, -a.YawRate(), a.YawMin()},
          Key{kCommandRudderRight, kCommandRudderRightReleased, kRudder, a.YawRate(), a.YawMax()}}) {
        Centre();
        const float step = 1.5f * k.step * (k.plate == kElevator ? kKeyGain : 0.05f);
        EXPECT_TRUE(a.HandleCommand(k.code, 0));
        EXPECT_FLOAT_EQ(a.Surface(k.plate).incidence, step) << k.code;
        for (int i = 0; i < 20; ++i)
            a.HandleCommand(k.code, 0);
        EXPECT_EQ(a.Surface(k.plate).incidence, k.limit) << k.code;
        // Letting go steps the ailerons and the rudder back toward 0 (nearer than a step,
        // to 0); the elevator stays.
        const bool stays = k.plate == kElevator;
        EXPECT_TRUE(a.HandleCommand(k.release, 0));
        EXPECT_FLOAT_EQ(a.Surface(k.plate).incidence, stays ? k.limit : k.limit - step) << k.code;
        SetControl(k.plate, 0.5f * step);
        a.HandleCommand(k.release, 0);
        EXPECT_EQ(a.Surface(k.plate).incidence, stays ? 0.5f * step : 0.0f) << k.code;
    }
    // The left aileron takes the opposite deflection of the right (the throttle's steps:
    // tests/game/KeyboardFlightTest.cpp).
    a.SetRollControl(0.1f);
    EXPECT_EQ(a.Surface(kLeftAileron).incidence, -0.1f);
}

TEST_F(AircraftControls, AReleasedElevatorHoldsWhileReleasedAileronsAndRudderReturnToZero) {
    // Small steps, so that a few fit between the limits.
    constexpr float kGain = 0.02f;
    trainer.settings.game.keyPitchRate = trainer.settings.game.keyRollRate = kGain;
    // A new aircraft's elevator stays where it is.
    a.ComputeForces();
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    // Three presses up and a release, then the force model runs a while: the elevator
    // keeps its three steps, like a trim. Nose down works the same way round (it used to
    // creep up on every release, swallowing short nose-down presses).
    struct Presses {
        int code, release, presses;
        float steps;  // where it ends
    };
    for (const Presses p : {Presses{kCommandElevatorUp, kCommandElevatorUpReleased, 3, 3.0f},
                            Presses{kCommandElevatorDown, kCommandElevatorDownReleased, 4, -1.0f},
                            Presses{kCommandElevatorDown, kCommandElevatorDownReleased, 1, -2.0f}}) {
        for (int press = 0; press < p.presses; ++press)
            a.HandleCommand(p.code, 0);
        a.HandleCommand(p.release, 0);
        for (int i = 0; i < 10; ++i)
            a.ComputeForces();
        EXPECT_NEAR(a.Surface(kElevator).incidence, p.steps * a.PitchRate() * kGain, 1e-6f) << p.code;
    }
    // Ailerons and rudder: held, they keep moving every sub-step, but not twice in the
    // sub-step that follows a command, so that a one-pass tap moves them one step;
    // released, back to 0.
    for (const int plate : {kRightAileron, kRudder}) {
        const bool aileron = plate == kRightAileron;
        const float step = (aileron ? a.RollRate() : a.YawRate()) * kGain;
        a.HandleCommand(aileron ? kCommandAileronLeft : kCommandRudderRight, 0);
        a.ComputeForces();
        EXPECT_FLOAT_EQ(std::fabs(a.Surface(plate).incidence), step);
        a.ComputeForces();
        EXPECT_FLOAT_EQ(std::fabs(a.Surface(plate).incidence), 2.0f * step);
        a.HandleCommand(aileron ? kCommandAileronLeftReleased : kCommandRudderRightReleased, 0);
        for (int i = 0; i < 10; ++i)
            a.ComputeForces();
        EXPECT_EQ(a.Surface(plate).incidence, 0.0f) << plate;
    }
}

TEST_F(AircraftControls, StickDeflectsInProportionAndTheAutopilotRefusesEveryMove) {
    // A negative pitch input raises the nose.
    a.ApplyStick(-0.5f, -0.25f);
    EXPECT_FLOAT_EQ(a.GetRollControl(), -0.5f * a.RollRate() * kKeyGain);
    EXPECT_FLOAT_EQ(a.GetPitchControl(), 0.25f * a.PitchRate() * kKeyGain);
    a.ApplyStick(100.0f, 100.0f);
    EXPECT_EQ(a.GetRollControl(), a.RollMax());
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
    // The autopilot refuses the stick and every move and throttle step; centring still moves.
    a.SetAutopilot(true);
    const float throttle = a.GetThrottle();
    a.ApplyStick(-1.0f, -1.0f);
    for (auto move : {&CFSAircraft::AileronLeft, &CFSAircraft::AileronRight, &CFSAircraft::ElevatorUp,
                      &CFSAircraft::ElevatorDown, &CFSAircraft::RudderLeft, &CFSAircraft::RudderRight,
                      &CFSAircraft::ThrottleUp, &CFSAircraft::ThrottleDown})
        (a.*move)();
    EXPECT_EQ(a.GetRollControl(), a.RollMax());
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
    EXPECT_EQ(a.GetYawControl(), 0.0f);
    EXPECT_EQ(a.GetThrottle(), throttle);
    a.CentreAileron();
    EXPECT_LT(a.GetRollControl(), a.RollMax());
}

TEST_F(AircraftControls, PlayerCommandsTakeOverFromThePilotAids) {
    for (const int code :
         {kCommandElevatorDown, kCommandElevatorUp, kCommandAileronLeft, kCommandAileronRight,
          kCommandRudderLeft, kCommandRudderRight, kCommandThrottleLess, kCommandThrottleMore}) {
        a.SetAutopilot(true);
        a.SetLeveller(true);
        EXPECT_TRUE(a.HandleCommand(code, 0)) << code;
        EXPECT_FALSE(a.IsAutopilot() || a.IsLeveller()) << code;
    }
    // The autopilot toggle: on keeps the controls and ends the leveller, off centres all
    // three.
    a.SetLeveller(true);
    a.SetRollControl(0.01f);
    a.SetPitchControl(0.01f);
    a.SetYawControl(0.01f);
    EXPECT_TRUE(a.HandleCommand(kCommandAutopilotToggle, 0));
    EXPECT_TRUE(a.IsAutopilot() && !a.IsLeveller());
    EXPECT_EQ(a.GetRollControl(), 0.01f);
    EXPECT_TRUE(a.HandleCommand(kCommandAutopilotToggle, 0));
    EXPECT_FALSE(a.IsAutopilot());
    EXPECT_EQ(a.GetRollControl() + a.GetPitchControl() + a.GetYawControl(), 0.0f);
    // Releasing the right aileron key also ends the leveller; the left one does not.
    a.SetLeveller(true);
    a.HandleCommand(kCommandAileronLeftReleased, 0);
    EXPECT_TRUE(a.IsLeveller());
    a.HandleCommand(kCommandAileronRightReleased, 0);
    EXPECT_FALSE(a.IsLeveller());
    // Codes that are not flight commands are not handled.
    for (const int code : {-1, 0, 11, 18, 25, 26, 27, 29, 30, 31, 38, 1000})
        EXPECT_FALSE(a.HandleCommand(code, 0)) << code;
}

TEST_F(AircraftControls, LookAroundTurnsTheViewInsteadOfTheAilerons) {
    EXPECT_TRUE(a.HandleCommand(kCommandLookAroundToggle, 0));
    EXPECT_EQ(a.GetLookAround(), 1);
    a.SetAutopilot(true);
    // Two steps of 10 degrees to the left (toward the left wing, body −x), one back, and
    // one more by the stylus.
    a.HandleCommand(kCommandAileronLeft, 0);
    a.HandleCommand(kCommandAileronLeft, 0);
    a.HandleCommand(kCommandAileronRight, 0);
    Stylus(1, 0, 0);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    const FSVector look(-std::sin(0.3490658f), std::cos(0.3490658f), 0.0f);
    EXPECT_TRUE(flight_test::Near(a.GetLookVector(), look, 1e-5f));
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_TRUE(a.IsAutopilot());
    // In the world: the trainer flies toward −z with its left wing toward −x.
    EXPECT_LT(a.LookDirection().x, -0.3f);
    // Leaving look-around looks forward again.
    a.HandleCommand(kCommandLookAroundToggle, 0);
    EXPECT_EQ(a.GetLookAround(), 0);
    EXPECT_EQ(a.GetLookVector(), FSVector(0.0f, 1.0f, 0.0f));
}

TEST_F(AircraftControls, TouchpadSteersFromItsCentreOutsideTheDeadZoneAndRefusesPointsOffIt) {
    struct Case {
        int scheme, x, y;
        bool accepted;
        float roll, pitch;  // in stylus gains
    };
    // Pad centre (240, 180); dead zone ±20 × ±15; live half-width 60, half-height 45. Below
    // the centre pulls the nose up (scheme 1), scheme 2 pushes it down; the pad's corner
    // still counts; the dead zone moves nothing but still takes over from the pilot aids.
    // Off each edge, or without touch steering (scheme 0), nothing changes.
    for (const Case c : {Case{1, 290, 180, true, 0.5f, 0.0f}, Case{1, 240, 240, true, 0.0f, 1.0f},
                         Case{2, 240, 240, true, 0.0f, -1.0f}, Case{1, 160, 120, true, -1.0f, -1.0f},
                         Case{1, 260, 165, true, 0.0f, 0.0f}, Case{1, 159, 180, false, 0.0f, 0.0f},
                         Case{1, 321, 180, false, 0.0f, 0.0f}, Case{1, 240, 119, false, 0.0f, 0.0f},
                         Case{1, 240, 241, false, 0.0f, 0.0f}, Case{0, 240, 180, false, 0.0f, 0.0f},
                         Case{1, -2147483647, 2147483647, false, 0.0f, 0.0f}}) {
        Centre();
        a.SetAutopilot(true);
        a.SetLeveller(true);
        Stylus(c.scheme, c.x, c.y);
        EXPECT_EQ(a.HandleCommand(kCommandStylusMoved, 0), c.accepted) << c.x << " " << c.y;
        EXPECT_EQ(a.IsAutopilot() || a.IsLeveller(), !c.accepted) << c.x << " " << c.y;
        EXPECT_FLOAT_EQ(a.GetRollControl(), c.roll * kStylusGain) << c.x << " " << c.y;
        EXPECT_FLOAT_EQ(a.GetPitchControl(), c.pitch * kStylusGain) << c.x << " " << c.y;
    }
    // No pad for the orientation, or none at all.
    Stylus(1, 240, 180);
    trainer.settings.game.screenAlign = 0;
    EXPECT_FALSE(a.HandleCommand(kCommandStylusPressed, 0));
    trainer.settings.game.screenAlign = 2;
    a.SetTouchpadLookup(nullptr);
    EXPECT_FALSE(a.HandleCommand(kCommandStylusPressed, 0));
    // A pad that is all dead zone gives full deflection past it, never a division by 0.
    a.SetTouchpadLookup([](int, FSTouchpadRect& rect) {
        rect = FSTouchpadRect{0, 0, 10, 10, 9, 9};
        return true;
    });
    Stylus(1, 10, 0);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_FLOAT_EQ(a.GetRollControl(), kStylusGain);
    // Lifted, the ailerons centre, the elevator too, and under scheme 3 the wing leveller
    // takes over.
    for (const int scheme : {1, 3}) {
        a.SetPitchControl(0.01f);
        Stylus(scheme, 0, 0);
        EXPECT_TRUE(a.HandleCommand(kCommandStylusLifted, 0));
        EXPECT_EQ(a.GetRollControl() + a.GetPitchControl(), 0.0f);
        EXPECT_EQ(a.IsLeveller(), scheme == 3);
    }
}

}  // namespace
