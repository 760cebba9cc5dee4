// The attitude and the pilot aids of CFSAircraft: the autopilot and the wing leveller,
// taking the controls and handing them back. (A minute on autopilot is one of the golden
// flights of tests/game.)
#include <gtest/gtest.h>

#include <cmath>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

using flight_test::kFrameStep;
using flight_test::kTrainer;
using flight_test::LoadedAircraft;
using flight_test::Tilt;

namespace {

TEST(PilotAids, AttitudeIsPitchUpPositiveAndBankRightNegative) {
    struct Case {
        float pitch, roll;  // the tilt, rad
        float expectPitch, expectBank;
    };
    // Level; nose up with the right wing down; upside down (a bank of a half turn);
    // straight up, where there is no bank to measure (any finite value).
    for (const Case c : {Case{0.0f, 0.0f, 0.0f, 0.0f}, Case{0.2f, 0.4f, 0.2f, -0.4f},
                         Case{0.0f, -3.0f, 0.0f, 3.0f}, Case{1.5707964f, 0.0f, 1.5707964f, NAN}}) {
        LoadedAircraft trainer(kTrainer, 1.0f);
        Tilt(*trainer.node, c.pitch, c.roll);
        float pitch = 1.0f, bank = 1.0f;
        trainer->Attitude(pitch, bank);
        EXPECT_NEAR(pitch, c.expectPitch, 1e-3f) << c.pitch << " " << c.roll;
        EXPECT_TRUE(std::isnan(c.expectBank) ? std::isfinite(bank) : std::fabs(bank - c.expectBank) < 1e-5f)
            << bank;
    }
}

TEST(PilotAids, AutopilotCommandsInProportionToTheAttitude) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    // Trimmed level flight with wings level: no aileron, no rudder, no elevator, and the
    // throttle for the drag is the trimmed one.
    const float trimmed = trainer->GetThrottle();
    trainer->SetRollControl(0.1f);
    trainer->SetYawControl(0.1f);
    trainer->ComputeForces();
    trainer->AutopilotStep();
    EXPECT_EQ(trainer->GetRollControl() + trainer->GetYawControl() + trainer->GetPitchControl(), 0.0f);
    EXPECT_NEAR(trainer->GetThrottle(), trimmed, 0.02f * trimmed);

    // Nose up, banked right: down elevator, left aileron, and the nose's correction shared
    // with the rudder by the bank; a half turn of bank would be full aileron, a quarter
    // turn of pitch full elevator.
    Tilt(*trainer.node, 0.2f, 0.4f);
    trainer->AutopilotStep();
    EXPECT_NEAR(trainer->GetPitchControl(), trainer->PitchMin() * 0.2f / 1.5707964f * std::cos(0.4f), 1e-4f);
    EXPECT_NEAR(trainer->GetRollControl(), trainer->RollMin() * 0.4f / 3.1415927f, 1e-5f);
    EXPECT_NEAR(trainer->GetYawControl(), -trainer->YawMin() * 0.2f / 1.5707964f * std::sin(0.4f), 1e-4f);
    EXPECT_EQ(trainer->Surface(kElevator).incidence, trainer->GetPitchControl());
    EXPECT_EQ(trainer->Surface(kRightAileron).incidence, trainer->GetRollControl());
    EXPECT_EQ(trainer->Surface(kRudder).incidence, trainer->GetYawControl());

    // Throttle: full power without speed, or without lift yet (never trimmed).
    trainer->SetVelocity(FSVector());
    trainer->AutopilotStep();
    EXPECT_EQ(trainer->GetThrottle(), trainer->ThrottleMax());
    LoadedAircraft still(kTrainer, 0.0f);
    still->SetVelocity(FSVector(0.0f, 0.0f, -0.05f));
    still->AutopilotStep();
    EXPECT_EQ(still->GetThrottle(), still->ThrottleMax());
}

TEST(PilotAids, WingLevellerLevelsABankWithTheAileronsAloneAndLeavesThePitchToThePlayer) {
    // Fine key steps, so that the elevator's first step (a released elevator ends a step
    // above 0) does not pitch the trainer about.
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer.settings.game.keyPitchRate = 0.005f;
    Tilt(*trainer.node, 0.1f, 0.5f);
    trainer->SetPitchControl(0.01f);
    trainer->SetLeveller(true);
    trainer->LevellerStep();
    // Banked right: left aileron. The elevator and its control stay as the player set them:
    // holding the nose's own attitude there would raise the nose further the higher it is,
    // and the next elevator key would start from that angle.
    EXPECT_NEAR(trainer->GetRollControl(), trainer->RollMin() * 0.5f / 3.1415927f, 1e-5f);
    EXPECT_EQ(trainer->GetPitchControl(), 0.01f);
    EXPECT_EQ(trainer->Surface(kElevator).incidence, 0.01f);

    trainer->SetPitchControl(0.0f);
    for (int frame = 0; frame < 100; ++frame)  // 20 s, the leveller still on
        trainer->Integrate(kFrameStep);
    float pitch = 0.0f, bank = 0.0f;
    trainer->Attitude(pitch, bank);
    EXPECT_NEAR(bank, 0.0f, 0.03f);
    EXPECT_TRUE(trainer->IsLeveller());
    EXPECT_GT(trainer.Altitude(), 0.8f);
}

TEST(PilotAids, AileronsAndRudderCentreOnceAnAidLetsGo) {
    // The commands that switch the aids off without moving the ailerons themselves, and a
    // stylus press in the touch-pad's dead zone; the aid's last deflection must not stay.
    for (const bool autopilot : {false, true}) {
        for (const int code :
             {kCommandElevatorDown, kCommandElevatorUp, kCommandRudderLeft, kCommandRudderRight,
              kCommandThrottleLess, kCommandThrottleMore, kCommandStylusPressed}) {
            SCOPED_TRACE(testing::Message() << code << (autopilot ? " autopilot" : " leveller"));
            LoadedAircraft trainer(kTrainer, 1.0f);
            trainer->SetTouchpadLookup([](int, FSTouchpadRect& pad) {
                pad = FSTouchpadRect{0, 0, 100, 100, 20, 20};
                return true;
            });
            trainer.settings.game.touchscreenScheme = 1;
            trainer.settings.frame.stylusX = trainer.settings.frame.stylusY = 50;
            Tilt(*trainer.node, 0.1f, 0.5f);
            autopilot ? (void)trainer->HandleCommand(kCommandAutopilotToggle, 0) : trainer->SetLeveller(true);
            // The aid holds its deflections (the autopilot's rudder too) against centring.
            trainer->ComputeForces();
            trainer->ComputeForces();
            ASSERT_LT(trainer->GetRollControl(), 0.0f);
            ASSERT_EQ(trainer->GetYawControl() != 0.0f, autopilot);
            EXPECT_TRUE(trainer->HandleCommand(code, 0));
            ASSERT_FALSE(trainer->IsLeveller() || trainer->IsAutopilot());
            for (int i = 0; i < 4; ++i)
                trainer->ComputeForces();
            EXPECT_EQ(trainer->GetRollControl(), 0.0f);
            EXPECT_EQ(trainer->Surface(kLeftAileron).incidence, 0.0f);
            if (code != kCommandRudderLeft && code != kCommandRudderRight) {
                EXPECT_EQ(trainer->GetYawControl(), 0.0f);
            }
        }
    }
}

}  // namespace
