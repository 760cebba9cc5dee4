// The controls of CFSAircraft: actuators, stick, touch-pad, look-around and the command
// dispatch.
#include <gtest/gtest.h>

#include <cmath>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

using flight_test::kTrainer;
using flight_test::PlaceLevel;
using flight_test::TextBlock;

namespace {

// The control gains of the default settings.
constexpr float kKeyGain = 0.125f;
constexpr float kStylusGain = 0.05f;

// The trainer with its held-control flags in view.
class Trainer : public CFSAircraft {
public:
    using CFSAircraft::CFSAircraft;
    bool Flag(int i) const {
        const bool flags[] = {aileronLeft,      aileronRight, aileronCentring, elevatorUp,    elevatorDown,
                              elevatorCentring, rudderLeft,   rudderRight,     rudderCentring};
        return flags[i];
    }
};
enum Flag {
    kAileronLeft,
    kAileronRight,
    kAileronCentring,
    kElevatorUp,
    kElevatorDown,
    kElevatorCentring,
    kRudderLeft,
    kRudderRight,
    kRudderCentring
};

// The touch-pad of flight orientation 2: origin (160, 120), 160 × 120, dead zone 40 × 30.
constexpr FSTouchpadRect kPad{160, 120, 160, 120, 40, 30};

class AircraftControls : public ::testing::Test {
protected:
    void SetUp() override {
        PlaceLevel(node, 1.0f);
        aircraft = std::make_unique<Trainer>(node, FSVector(), sine);
        aircraft->SetControlSettings(settings.game, settings.frame);
        aircraft->LoadDescription(TextBlock(kTrainer));
        aircraft->SetTouchpadLookup([](int alignment, FSTouchpadRect& rect) {
            if (alignment != 2) return false;
            rect = kPad;
            return true;
        });
    }
    void Stylus(int scheme, int x, int y) {
        settings.game.touchscreenScheme = scheme;
        settings.frame.stylusX = x;
        settings.frame.stylusY = y;
    }

    SineTable sine;
    flight_test::ControlSettings settings;  // the factory gains, kKeyGain and kStylusGain
    flight_test::BareNode node;
    std::unique_ptr<Trainer> aircraft;
};

TEST_F(AircraftControls, KeyStepsFollowRateGainAndTimeScaleAndStopAtTheLimits) {
    Trainer& a = *aircraft;
    const float rollStep = a.RollRate() * kKeyGain;
    a.AileronRight();
    EXPECT_FLOAT_EQ(a.GetRollControl(), rollStep);
    EXPECT_FLOAT_EQ(a.Surface(kRightAileron).incidence, rollStep);
    EXPECT_FLOAT_EQ(a.Surface(kLeftAileron).incidence, -rollStep);
    EXPECT_TRUE(a.Flag(kAileronRight));
    EXPECT_FALSE(a.Flag(kAileronCentring));
    for (int i = 0; i < 20; ++i)
        a.AileronRight();
    EXPECT_EQ(a.GetRollControl(), a.RollMax());

    // The time scale stretches a step: a slow frame rate moves the controls further.
    settings.frame.timeScale = 1.5f;
    a.ElevatorUp();
    EXPECT_FLOAT_EQ(a.GetPitchControl(), 1.5f * a.PitchRate() * kKeyGain);
    EXPECT_FLOAT_EQ(a.Surface(kElevator).incidence, a.GetPitchControl());
    settings.frame.timeScale = 1.0f;
    for (int i = 0; i < 20; ++i)
        a.ElevatorDown();
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
    EXPECT_TRUE(a.Flag(kElevatorDown));

    // The rudder steps with the roll gain.
    settings.game.keyRollRate = 0.2f;
    a.RudderLeft();
    EXPECT_FLOAT_EQ(a.GetYawControl(), -a.YawRate() * 0.2f);
    EXPECT_FLOAT_EQ(a.Surface(kRudder).incidence, a.GetYawControl());
    EXPECT_TRUE(a.Flag(kRudderLeft));
    EXPECT_FALSE(a.Flag(kRudderCentring));
}

TEST_F(AircraftControls, CentringStepsBackToZeroAndStillWorksUnderTheAutopilot) {
    Trainer& a = *aircraft;
    const float step = a.RollRate() * kKeyGain;
    a.SetRollControl(2.5f * step);
    a.CentreAileron();
    EXPECT_FLOAT_EQ(a.GetRollControl(), 1.5f * step);
    EXPECT_TRUE(a.Flag(kAileronCentring));
    a.CentreAileron();
    a.CentreAileron();
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.Surface(kLeftAileron).incidence, 0.0f);

    // Moves are refused while the autopilot flies, centring is not (and leaves the
    // centring flag clear, so the force model does not repeat it).
    a.SetAutopilot(true);
    settings.game.keyRollRate = kKeyGain * 0.5f;
    a.SetYawControl(-1.5f * a.YawRate() * kKeyGain * 0.5f);
    a.RudderRight();
    a.ElevatorUp();
    a.AileronLeft();
    EXPECT_FLOAT_EQ(a.GetYawControl(), -1.5f * a.YawRate() * kKeyGain * 0.5f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    a.CentreRudder();
    EXPECT_FLOAT_EQ(a.GetYawControl(), -0.5f * a.YawRate() * kKeyGain * 0.5f);
    EXPECT_FALSE(a.Flag(kRudderCentring));
    EXPECT_FALSE(a.Flag(kRudderLeft));
}

TEST_F(AircraftControls, AReleasedElevatorHoldsWhileReleasedAileronsReturnToZero) {
    Trainer& a = *aircraft;
    // Small steps, so that a few fit between the limits.
    constexpr float kGain = 0.02f;
    settings.game.keyPitchRate = kGain;
    settings.game.keyRollRate = kGain;
    // A new aircraft's elevator stays where it is.
    a.ComputeForces();
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    const float pitchStep = a.PitchRate() * kGain;

    // Three presses up and a release (one step back toward 0), then the force model runs
    // a while: the elevator keeps the rest, like a trim.
    for (int press = 0; press < 3; ++press)
        EXPECT_TRUE(a.HandleCommand(kCommandElevatorUp, 0));
    EXPECT_TRUE(a.HandleCommand(kCommandElevatorUpReleased, 0));
    for (int i = 0; i < 10; ++i)
        a.ComputeForces();
    EXPECT_FLOAT_EQ(a.GetPitchControl(), 2.0f * pitchStep);
    EXPECT_FLOAT_EQ(a.Surface(kElevator).incidence, 2.0f * pitchStep);
    // Nose down works the same way round: four presses down and a release take it three
    // steps down from there (it used to creep up on every release, swallowing short
    // nose-down presses).
    for (int press = 0; press < 4; ++press)
        a.HandleCommand(kCommandElevatorDown, 0);
    a.HandleCommand(kCommandElevatorDownReleased, 0);
    for (int i = 0; i < 10; ++i)
        a.ComputeForces();
    EXPECT_NEAR(a.GetPitchControl(), -pitchStep, 1e-6f);
    // A short press and release gives nothing back beyond its own step.
    a.HandleCommand(kCommandElevatorDown, 0);
    a.HandleCommand(kCommandElevatorDownReleased, 0);
    a.ComputeForces();
    EXPECT_NEAR(a.GetPitchControl(), -pitchStep, 1e-6f);

    // The same with the ailerons: held, they keep moving every sub-step; released, back to 0.
    a.HandleCommand(kCommandAileronLeft, 0);
    a.ComputeForces();
    EXPECT_FLOAT_EQ(a.GetRollControl(), -2.0f * a.RollRate() * kGain);
    a.HandleCommand(kCommandAileronLeftReleased, 0);
    for (int i = 0; i < 10; ++i)
        a.ComputeForces();
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.Surface(kRightAileron).incidence, 0.0f);
}

TEST_F(AircraftControls, StickDeflectsInProportionAndANegativePitchInputRaisesTheNose) {
    Trainer& a = *aircraft;
    a.ApplyStick(-0.5f, -0.25f);
    EXPECT_FLOAT_EQ(a.GetRollControl(), -0.5f * a.RollRate() * kKeyGain);
    EXPECT_FLOAT_EQ(a.GetPitchControl(), 0.25f * a.PitchRate() * kKeyGain);
    EXPECT_TRUE(a.Flag(kAileronLeft));
    EXPECT_TRUE(a.Flag(kElevatorUp));
    EXPECT_FALSE(a.Flag(kElevatorCentring));
    a.ApplyStick(100.0f, 100.0f);
    EXPECT_EQ(a.GetRollControl(), a.RollMax());
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
    EXPECT_TRUE(a.Flag(kAileronRight));
    EXPECT_TRUE(a.Flag(kElevatorDown));
    a.SetAutopilot(true);
    a.ApplyStick(-1.0f, -1.0f);
    EXPECT_EQ(a.GetRollControl(), a.RollMax());
    EXPECT_EQ(a.GetPitchControl(), a.PitchMin());
}

TEST_F(AircraftControls, PlayerCommandsTakeOverFromThePilotAids) {
    Trainer& a = *aircraft;
    for (const int code :
         {kCommandElevatorDown, kCommandElevatorUp, kCommandAileronLeft, kCommandAileronRight,
          kCommandRudderLeft, kCommandRudderRight, kCommandThrottleLess, kCommandThrottleMore}) {
        a.SetAutopilot(true);
        a.SetLeveller(true);
        EXPECT_TRUE(a.HandleCommand(code, 0)) << code;
        EXPECT_FALSE(a.IsAutopilot()) << code;
        EXPECT_FALSE(a.IsLeveller()) << code;
    }
    // The commands then act: the throttle moves by its step.
    const float throttle = a.GetThrottle();
    a.HandleCommand(kCommandThrottleLess, 0);
    EXPECT_FLOAT_EQ(a.GetThrottle(), throttle - a.ThrottleStep());

    // The autopilot toggle: on keeps the controls, off centres all three.
    a.SetLeveller(true);
    a.SetRollControl(0.01f);
    a.SetPitchControl(0.01f);
    a.SetYawControl(0.01f);
    EXPECT_TRUE(a.HandleCommand(kCommandAutopilotToggle, 0));
    EXPECT_TRUE(a.IsAutopilot());
    EXPECT_FALSE(a.IsLeveller());
    EXPECT_EQ(a.GetRollControl(), 0.01f);
    EXPECT_TRUE(a.HandleCommand(kCommandAutopilotToggle, 0));
    EXPECT_FALSE(a.IsAutopilot());
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    EXPECT_EQ(a.GetYawControl(), 0.0f);
    EXPECT_TRUE(a.Flag(kAileronCentring) && a.Flag(kElevatorCentring) && a.Flag(kRudderCentring));

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
    Trainer& a = *aircraft;
    EXPECT_TRUE(a.HandleCommand(kCommandLookAroundToggle, 0));
    EXPECT_EQ(a.GetLookAround(), 1);
    a.SetAutopilot(true);
    a.HandleCommand(kCommandAileronLeft, 0);
    a.HandleCommand(kCommandAileronLeft, 0);
    // Two steps of 10 degrees to the left (toward the left wing, body −x).
    const FSVector look = a.GetLookVector();
    EXPECT_NEAR(look.x, -std::sin(0.3490658f), 1e-5f);
    EXPECT_NEAR(look.y, std::cos(0.3490658f), 1e-5f);
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_TRUE(a.IsAutopilot());
    // In the world: the trainer flies toward −z with its left wing toward −x.
    EXPECT_LT(a.LookDirection().x, -0.3f);
    a.HandleCommand(kCommandAileronRight, 0);
    EXPECT_NEAR(a.GetLookVector().x, -std::sin(0.1745329f), 1e-5f);
    // The stylus turns it left as well.
    Stylus(1, 0, 0);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_NEAR(a.GetLookVector().x, -std::sin(0.3490658f), 1e-5f);
    // Leaving look-around looks forward again.
    a.HandleCommand(kCommandLookAroundToggle, 0);
    EXPECT_EQ(a.GetLookAround(), 0);
    EXPECT_EQ(a.GetLookVector(), FSVector(0.0f, 1.0f, 0.0f));
}

TEST_F(AircraftControls, TouchpadSteersFromItsCentreOutsideTheDeadZone) {
    Trainer& a = *aircraft;
    // Pad centre (240, 180); dead zone ±20 × ±15; live half-width 60, half-height 45.
    Stylus(1, 240 + 20 + 30, 180);  // half-way to the right edge
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_FLOAT_EQ(a.GetRollControl(), 0.5f * kStylusGain);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    EXPECT_TRUE(a.Flag(kAileronRight));

    // Below the centre pulls the nose up (scheme 1); scheme 2 pushes it down.
    a.SetRollControl(0.0f);
    Stylus(1, 240, 180 + 15 + 45);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusMoved, 0));
    EXPECT_FLOAT_EQ(a.GetPitchControl(), kStylusGain);
    EXPECT_TRUE(a.Flag(kElevatorUp));
    a.SetPitchControl(0.0f);
    Stylus(2, 240, 180 + 15 + 45);
    a.HandleCommand(kCommandStylusMoved, 0);
    EXPECT_FLOAT_EQ(a.GetPitchControl(), -kStylusGain);
    EXPECT_TRUE(a.Flag(kElevatorDown));

    // The pad's corner still counts (full deflection both ways).
    a.SetPitchControl(0.0f);
    Stylus(1, 160, 120);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_FLOAT_EQ(a.GetRollControl(), -kStylusGain);
    EXPECT_FLOAT_EQ(a.GetPitchControl(), -kStylusGain);

    // The dead zone moves nothing but still takes over from the pilot aids.
    a.SetRollControl(0.0f);
    a.SetPitchControl(0.0f);
    a.SetAutopilot(true);
    Stylus(1, 240 + 20, 180 - 15);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_FALSE(a.IsAutopilot());
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
}

TEST_F(AircraftControls, TouchpadRefusesPointsOffThePadWithoutTouchingAnything) {
    Trainer& a = *aircraft;
    struct Case {
        int scheme, x, y;
    };
    for (const Case c : {Case{1, 159, 180}, Case{1, 321, 180}, Case{1, 240, 119}, Case{1, 240, 241},
                         Case{0, 240, 180}, Case{1, -2147483647, 2147483647}}) {
        a.SetAutopilot(true);
        a.SetLeveller(true);
        Stylus(c.scheme, c.x, c.y);
        EXPECT_FALSE(a.HandleCommand(kCommandStylusPressed, 0)) << c.x << " " << c.y;
        EXPECT_TRUE(a.IsAutopilot());
        EXPECT_TRUE(a.IsLeveller());
    }
    // No pad for the orientation, or no pad at all.
    Stylus(1, 240, 180);
    settings.game.screenAlign = 0;
    EXPECT_FALSE(a.HandleCommand(kCommandStylusPressed, 0));
    settings.game.screenAlign = 2;
    a.SetTouchpadLookup(nullptr);
    EXPECT_FALSE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_TRUE(a.IsAutopilot());
    // A pad that is all dead zone gives full deflection past it, never a division by 0.
    a.SetTouchpadLookup([](int, FSTouchpadRect& rect) {
        rect = FSTouchpadRect{0, 0, 10, 10, 9, 9};
        return true;
    });
    Stylus(1, 10, 0);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusPressed, 0));
    EXPECT_TRUE(std::isfinite(a.GetRollControl()));
    EXPECT_FLOAT_EQ(a.GetRollControl(), kStylusGain);
}

TEST_F(AircraftControls, LiftingTheStylusCentresAndUnderSchemeThreeEngagesTheLeveller) {
    Trainer& a = *aircraft;
    a.SetRollControl(0.01f);
    a.SetPitchControl(0.01f);
    Stylus(1, 0, 0);
    EXPECT_TRUE(a.HandleCommand(kCommandStylusLifted, 0));
    EXPECT_EQ(a.GetRollControl(), 0.0f);
    EXPECT_EQ(a.GetPitchControl(), 0.0f);
    EXPECT_FALSE(a.IsLeveller());
    Stylus(3, 0, 0);
    a.HandleCommand(kCommandStylusLifted, 0);
    EXPECT_TRUE(a.IsLeveller());
}

}  // namespace
